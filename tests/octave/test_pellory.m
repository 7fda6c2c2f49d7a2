function test_pellory()
% Pellory from Octave: calling forms, shapes, error texts and isolator physics.
dt = 0.01;
t = (0:299)' * dt;
ag = 3 * sin(2*pi*1.3*t) .* exp(-0.5*t);
fields = {'pga', 'mass', 'Qd', 'T', 'f', 'dsp', 'vel', 'acc', 'totAcc', 'psdVel', 'psdAcc', ...
          'resDsp', 'iFrc', 'dFrc', 'rFrc', 'yieldDsp', 'psdYieldVel', 'psdYieldAcc', ...
          'yieldFrc', 'muFact', 'RFact', 'gammaFact', 'effT', 'effZeta', 'effRFact', ...
          'effGammaFact'};
alpha = 0.1;

s6 = Pellory(ag, dt, 1, [0.05 0.2], [1 2 3], alpha);
check(isequal(fieldnames(s6)', fields), 'field names and order');
check(isequal(size(s6.T), [1 3]) && isequal(size(s6.f), [3 1]), 'T keeps its shape, f is a column');
check(isequal(size(s6.Qd), [1 2]) && s6.mass == 1, 'echoes of m and Qd');
for i = 6:numel(fields)
  check(isequal(size(s6.(fields{i})), [3 2]), [fields{i} ' is nT x nQd']);
end
check(s6.pga == max(abs(ag)), 'pga is the peak of |ag|');
check(all(s6.dFrc(:) == 0), 'no viscous damping force');

s8 = Pellory(ag', dt, 1, [0.05 0.2], 1, 3, 3, alpha);
check(isequal(size(s8.T), [3 1]) && isequal(s8.T', [1 2 3]), 'generated periods form a column');
check(isequal(s8.dsp, s6.dsp) && isequal(s8.effT, s6.effT), 'both forms and orientations agree');

% Physics: the yield quantities follow the bearing, a strong bearing stays linear.
w = 2*pi ./ s6.T(:);
ku = w.^2 / alpha;
check(all(abs(s6.yieldDsp(:, 1) - 0.05 / (1 - alpha) ./ ku) <= 1e-15), 'yield displacement');
check(all(s6.muFact(:, 1) > 1) && all(s6.effZeta(:, 1) > 0), 'a weak bearing yields and dissipates');
strong = Pellory(ag, dt, 1, 1e6, [1 2 3], alpha);
check(all(strong.muFact < 1) && all(strong.effZeta == 0), 'a strong bearing stays elastic');
check(all(abs(strong.gammaFact - 1) < 0.03), 'its peaks agree with the exact linear analysis');
check(all(abs(strong.effT - s6.T(:) * sqrt(alpha)) < 1e-9), 'its effective period is the elastic one');

e = Pellory(ag, dt, 1, [], [1 2 3], alpha);
check(isequal(size(e.dsp), [3 0]) && isequal(size(e.effGammaFact), [3 0]), 'no strengths: empty columns');
check(e.pga == s6.pga && isequal(e.f, s6.f), 'no strengths: pga and f still filled');

usage = 'Pellory::mexFunction - wrong number of arguments received\nexpecting: spectra = Pellory(ag,dt,m,Qd,T,alpha);';
expect_error(@() Pellory(ag, dt, 1, 0.1, 1), usage);
expect_error(@() Pellory(ag, dt, 1, 0.1, 1, 2, 3), usage);
expect_error(@() Pellory(ag, dt, 1, 0.1, 1, 2, 3, alpha, 9), usage);
expect_error(@() Pellory(ag, dt, 1, zeros(1, 0), 1, alpha), 'Pellory::mexFunction - Qd must have at least one element');
expect_error(@() Pellory([], dt, 1, 0.1, 1, alpha), 'Pellory::mexFunction - ag must have at least one element');
expect_error(@() Pellory(single(ag), dt, 1, 0.1, 1, alpha), 'Pellory::mexFunction - ag must be a real double vector');
expect_error(@() Pellory(ag, dt, 1, 0.1, 1, 3, 0, alpha), 'Pellory::mexFunction - nT must be at least 1');
expect_error(@() Pellory(ag, dt, 1, 0.1, 1, 1.5), 'Pellory::mexFunction - alpha must lie between 0 and 1');
try
  Pellory(ag, dt, 1, 0.1, 1, alpha);   % no output requested
  error('test_pellory: a call without outputs must fail');
catch err
  check(~isempty(strfind(err.message, 'wrong number of arguments')), 'nlhs = 0 is refused');
end
disp('test_pellory: all checks passed');
end

function check(condition, what)
if ~condition
  error('test_pellory: %s', what);
end
end

function expect_error(f, text)
try
  s = f(); %#ok<NASGU>
catch err
  msg = regexprep(err.message, '^Pellory: ', '');
  msg = regexprep(msg, '\n$', '');
  want = sprintf(text);
  if ~strcmp(msg, want)
    error('test_pellory: error text\n  got:  %s\n  want: %s', msg, want);
  end
  return;
end
error('test_pellory: expected the error "%s"', sprintf(text));
end
