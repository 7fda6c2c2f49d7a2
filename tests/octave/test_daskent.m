function test_daskent()
% Daskent from Octave: calling forms, shapes, error texts and two-component physics.
dt = 0.01;
t = (0:299)' * dt;
ag1 = 3 * sin(2*pi*1.3*t) .* exp(-0.5*t);
ag2 = 2 * cos(2*pi*0.9*t) .* exp(-0.4*t);
fields = {'pga', 'mass', 'zeta', 'T', 'f', 'dsp', 'vel', 'acc', 'totAcc', 'psdVel', 'psdAcc', ...
          'resDsp', 'iFrc', 'dFrc', 'rFrc'};
zeta = [0.02 0.05];

s6 = Daskent(ag1, ag2, dt, 1, zeta, [0.2 1 3]);
s7 = Daskent(ag1, ag2, dt, 1, zeta, [0.2 1 3], 'newmark');
s8 = Daskent(ag1, ag2, dt, 1, zeta, 0.2, 3, 3);
s9 = Daskent(ag1, ag2, dt, 1, zeta, 0.2, 3, 3, 'newmark');
for s = {s6, s7, s8, s9}
  s = s{1};
  check(isequal(fieldnames(s)', fields), 'field names and order');
  check(isequal(size(s.f), [3 1]), 'f is a column');
  for i = 6:numel(fields)
    check(isequal(size(s.(fields{i})), [3 2]), [fields{i} ' is nT x nZeta']);
  end
end
check(isequal(size(s6.T), [1 3]) && isequal(size(s8.T), [3 1]), 'T keeps its shape or is a column');
check(isequal(s6.T(:), [0.2; 1; 3]) && s8.T(2) == (3 - 0.2)/2 + 0.2, 'periods');
check(isequal(s6.dsp(1, :) > 0, [true true]), 'the oscillator moves');
check(~isequal(s6.dsp, s7.dsp) && all(abs(s6.dsp(:) - s7.dsp(:)) < 0.05 * s6.dsp(:)), ...
      'newmark is close to recform');
check(s6.pga == max(sqrt(ag1.^2 + ag2.^2)), 'pga is the peak resultant');

% One component at rest: the one-component spectra, bit for bit.
check(isequal(Daskent(ag1, zeros(size(ag1)), dt, 1, zeta, [0.2 1 3]), ...
              Quorvel(ag1, dt, 1, zeta, [0.2 1 3])), 'ag2 = 0 gives the Quorvel spectra');
% Equal components: every resultant is sqrt(2) times the one-component value.
both = Daskent(ag1, ag1, dt, 1, zeta, [0.2 1 3]);
one = Quorvel(ag1, dt, 1, zeta, [0.2 1 3]);
check(all(abs(both.dsp(:) - sqrt(2) * one.dsp(:)) <= 4 * eps * both.dsp(:)), 'ag1 = ag2 scales by sqrt(2)');
% Records of different lengths are cut to the shorter; orientation does not matter.
check(isequal(Daskent(ag1(1:200), ag2, dt, 1, zeta, [0.2 1 3]), ...
              Daskent(ag1(1:200), ag2(1:200), dt, 1, zeta, [0.2 1 3])), 'the longer record is cut');
check(isequal(Daskent(ag1', ag2, dt, 1, zeta, [0.2 1 3]), s6), 'a row ag1 with a column ag2');

usage = 'Daskent::mexFunction - wrong number of arguments received\nexpecting: spectra = Daskent(ag1,ag2,dt,m,zeta,T);';
expect_error(@() Daskent(ag1, ag2, dt, 1, zeta), usage);
expect_error(@() Daskent(ag1, ag2, dt, 1, zeta, 0.2, 3, 3, 'newmark', 1), usage);
expect_error(@() Daskent(ag1, ag2, dt, 1, zeta, 1, 'Recform'), ...
             'Daskent::mexFunction - invalid time domain analysis method received');
expect_error(@() Daskent(ag1, zeros(1, 0), dt, 1, zeta, 1), 'Daskent::mexFunction - ag2 must have at least one element');
expect_error(@() Daskent(ag1, ag2, dt, 1, [], 1), 'Daskent::mexFunction - zeta must have at least one element');
expect_error(@() Daskent(single(ag1), ag2, dt, 1, zeta, 1), 'Daskent::mexFunction - ag1 must be a real double vector');
expect_error(@() Daskent(ag1, ag2, dt, 1, zeta, 1, 2), 'Daskent::mexFunction - method must be text');
expect_error(@() Daskent(ag1, ag2, dt, 1, zeta, 0.2, 3, 0), 'Daskent::mexFunction - nT must be at least 1');
disp('test_daskent: all checks passed');
end

function check(condition, what)
if ~condition
  error('test_daskent: %s', what);
end
end

function expect_error(f, text)
try
  s = f(); %#ok<NASGU>
catch err
  msg = regexprep(err.message, '^Daskent: ', '');
  msg = regexprep(msg, '\n$', '');
  want = sprintf(text);
  if ~strcmp(msg, want)
    error('test_daskent: error text\n  got:  %s\n  want: %s', msg, want);
  end
  return;
end
error('test_daskent: expected the error "%s"', sprintf(text));
end
