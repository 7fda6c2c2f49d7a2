function test_vintarrow()
% Vintarrow from Octave: calling forms, shapes, error texts and two-component physics.
dt = 0.01;
t = (0:299)' * dt;
ag1 = 3 * sin(2*pi*1.3*t) .* exp(-0.5*t);
ag2 = 2 * cos(2*pi*0.9*t) .* exp(-0.4*t);
fields = {'pga', 'mass', 'Qd', 'T', 'f', 'dsp', 'vel', 'acc', 'totAcc', 'psdVel', 'psdAcc', ...
          'resDsp', 'iFrc', 'dFrc', 'rFrc', 'yieldDsp', 'psdYieldVel', 'psdYieldAcc', ...
          'yieldFrc', 'muFact', 'RFact', 'gammaFact', 'effT', 'effZeta', 'effRFact', ...
          'effGammaFact'};
alpha = 0.1;

s7 = Vintarrow(ag1, ag2, dt, 1, [0.05 0.2], [1 2 3], alpha);
check(isequal(fieldnames(s7)', fields), 'field names and order');
check(isequal(size(s7.T), [1 3]) && isequal(size(s7.f), [3 1]), 'T keeps its shape, f is a column');
for i = 6:numel(fields)
  check(isequal(size(s7.(fields{i})), [3 2]), [fields{i} ' is nT x nQd']);
end
check(abs(s7.pga - max(sqrt(ag1.^2 + ag2.^2))) <= 1e-15 * s7.pga, 'pga is the peak resultant');

s9 = Vintarrow(ag1', ag2, dt, 1, [0.05 0.2], 1, 3, 3, alpha);
check(isequal(size(s9.T), [3 1]), 'generated periods form a column');
check(isequal(s9.dsp, s7.dsp) && isequal(s9.effZeta, s7.effZeta), 'both forms agree');

% One component only: the one-component bearing, up to the Newton tolerance.
one = Vintarrow(ag1, zeros(size(ag1)), dt, 1, [0.05 0.2], [1 2 3], alpha);
ref = Pellory(ag1, dt, 1, [0.05 0.2], [1 2 3], alpha);
check(all(abs(one.dsp(:) - ref.dsp(:)) <= 1e-6 * ref.dsp(:)), 'ag2 = 0 gives the Pellory spectra');
% The resultant hysteretic force is bounded by Qd in every direction.
kd = (2*pi ./ s7.T(:)).^2;
check(all(all(s7.rFrc <= kd .* s7.dsp + [0.05 0.2] + 1e-12)), 'resultant force within kd*dsp + Qd');
% Records of different lengths are cut to the shorter.
cut = Vintarrow(ag1(1:200), ag2, dt, 1, [0.05 0.2], [1 2 3], alpha);
cut2 = Vintarrow(ag1(1:200), ag2(1:200), dt, 1, [0.05 0.2], [1 2 3], alpha);
check(isequal(cut, cut2), 'the longer record is cut');

e = Vintarrow(ag1, ag2, dt, 1, [], [1 2 3], alpha);
check(isequal(size(e.dsp), [3 0]), 'no strengths: empty columns');

usage = 'Vintarrow::mexFunction - wrong number of arguments received\nexpecting: spectra = Vintarrow(ag1,ag2,dt,m,Qd,T,alpha);';
expect_error(@() Vintarrow(ag1, ag2, dt, 1, 0.1, 1), usage);
expect_error(@() Vintarrow(ag1, ag2, dt, 1, 0.1, 1, 2, 3), usage);
expect_error(@() Vintarrow(ag1, ag2, dt, 1, 0.1, 1, 2, 3, alpha, 0), usage);
expect_error(@() Vintarrow(ag1, zeros(1, 0), dt, 1, 0.1, 1, alpha), 'Vintarrow::mexFunction - ag2 must have at least one element');
expect_error(@() Vintarrow(ag1, ag2, dt, 1, 0.1, 1, -0.1), 'Vintarrow::mexFunction - alpha must lie between 0 and 1');
expect_error(@() Vintarrow(ag1, ag2, dt, 1, 0.1, 1, 3, 0.5, alpha), 'Vintarrow::mexFunction - nT must be at least 1');
disp('test_vintarrow: all checks passed');
end

function check(condition, what)
if ~condition
  error('test_vintarrow: %s', what);
end
end

function expect_error(f, text)
try
  s = f(); %#ok<NASGU>
catch err
  msg = regexprep(err.message, '^Vintarrow: ', '');
  msg = regexprep(msg, '\n$', '');
  want = sprintf(text);
  if ~strcmp(msg, want)
    error('test_vintarrow: error text\n  got:  %s\n  want: %s', msg, want);
  end
  return;
end
error('test_vintarrow: expected the error "%s"', sprintf(text));
end
