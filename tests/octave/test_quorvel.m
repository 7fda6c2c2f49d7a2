function test_quorvel()
% Quorvel from Octave: calling forms, shapes, error texts and elastic physics.
dt = 0.01;
t = (0:399)' * dt;
ag = sin(2*pi*1.7*t) .* exp(-0.4*t);
fields = {'pga', 'mass', 'zeta', 'T', 'f', 'dsp', 'vel', 'acc', 'totAcc', 'psdVel', ...
          'psdAcc', 'resDsp', 'iFrc', 'dFrc', 'rFrc'};

s5 = Quorvel(ag, dt, 1, [0.02 0.05], [0.1 0.5 1]);
check(isequal(fieldnames(s5)', fields), 'field names and order');
check(isequal(size(s5.T), [1 3]) && isequal(size(s5.f), [3 1]), 'T keeps its shape, f is a column');
check(isequal(size(s5.dsp), [3 2]), 'matrix fields are nT x nZeta');
check(s5.pga == max(abs(ag)), 'pga is the peak of |ag|');

s6 = Quorvel(ag', dt, 1, [0.02 0.05], [0.1 0.5 1], 'recform');
check(isequal(s5, s6), 'default method is recform; a row record equals a column one');
s7 = Quorvel(ag, dt, 1, 0.05, 0.1, 1.0, 10);
check(isequal(size(s7.T), [10 1]) && s7.T(1) == 0.1, 'generated periods form a column from Tstart');
s8 = Quorvel(ag, dt, 1, 0.05, 0.1, 1.0, 10, 'newmark');
rel = abs(s8.dsp - s7.dsp) ./ s7.dsp;
check(all(rel < 0.05) && any(rel > 0), 'newmark is close to recform but not identical');

% Pseudo-acceleration equals the restoring force over the mass for a linear oscillator.
w = 2*pi ./ s5.T(:);
check(all(abs(s5.psdAcc(:) - s5.rFrc(:)) <= 1e-12 * max(s5.rFrc(:))), 'psdAcc = rFrc/m');
check(all(all(abs(s5.psdVel - s5.dsp .* w) == 0)), 'psdVel = omega*dsp');

expect_error(@() Quorvel(ag, dt, 1, 0.05), ...
  'Quorvel::mexFunction - wrong number of arguments received\nexpecting: spectra = Quorvel(ag,dt,m,zeta,T);');
expect_error(@() Quorvel(ag, dt, 1, 0.05, 1, 'Recform'), ...
  'Quorvel::mexFunction - invalid time domain analysis method received');
expect_error(@() Quorvel(ag, dt, 1, zeros(1, 0), 1), 'Quorvel::mexFunction - zeta must have at least one element');
expect_error(@() Quorvel(single(ag), dt, 1, 0.05, 1), 'Quorvel::mexFunction - ag must be a real double vector');
expect_error(@() Quorvel(ag, dt, 1, 0.05, 1, 7), 'Quorvel::mexFunction - method must be text');
expect_error(@() Quorvel(ag, dt, 1, 0.05, 0.1, 1, 0), 'Quorvel::mexFunction - nT must be at least 1');
expect_error(@() Quorvel(ag*1i, dt, 1, 0.05, 1), 'Quorvel::mexFunction - ag must be a real double vector');
try
  Quorvel(ag, dt, 1, 0.05, 1);   % no output requested
  error('test_quorvel: a call without outputs must fail');
catch err
  check(~isempty(strfind(err.message, 'wrong number of arguments')), 'nlhs = 0 is refused');
end
disp('test_quorvel: all checks passed');
end

function check(condition, what)
if ~condition
  error('test_quorvel: %s', what);
end
end

function expect_error(f, text)
try
  s = f(); %#ok<NASGU>
catch err
  msg = regexprep(err.message, '^Quorvel: ', '');
  msg = regexprep(msg, '\n$', '');
  want = sprintf(text);
  if ~strcmp(msg, want)
    error('test_quorvel: error text\n  got:  %s\n  want: %s', msg, want);
  end
  return;
end
error('test_quorvel: expected the error "%s"', sprintf(text));
end
