function test_morbane()
% Morbane from Octave: calling forms, shapes, keyword pairs, error texts and inelastic physics.
dt = 0.01;
t = (0:599)' * dt;
ag = 4 * sin(2*pi*1.3*t) .* exp(-0.3*t);
fields = {'pga', 'mass', 'zeta', 'T', 'f', 'dsp', 'vel', 'acc', 'totAcc', 'psdVel', ...
          'psdAcc', 'resDsp', 'iFrc', 'dFrc', 'rFrc', 'yieldDsp', 'psdYieldVel', ...
          'psdYieldAcc', 'yieldFrc', 'RFact', 'muFact', 'gammaFact'};
T = [0.8 1.2 2.0];
pairs = {'yieldStrength', 'fy', 0.5; 'yieldDisplacement', 'uy', 0.01; ...
         'strengthReductionFactor', 'R', 3; 'ductilityFactor', 'mu', 4};

for p = 1:rows(pairs)
  s9 = Morbane(ag, dt, 1, [0.02 0.05], T, 0.02, 0.01, pairs{p, 1}, pairs{p, 3});
  check(isequal(fieldnames(s9)', fields), ['field names and order, ' pairs{p, 1}]);
  check(isequal(size(s9.T), [1 3]) && isequal(size(s9.f), [3 1]), 'T keeps its shape, f is a column');
  for k = 6:numel(fields)
    check(isequal(size(s9.(fields{k})), [3 2]), [fields{k} ' is nT x nZeta']);
  end
  short = Morbane(ag, dt, 1, [0.02 0.05], T, 0.02, 0.01, pairs{p, 2}, pairs{p, 3});
  check(isequaln(s9, short), [pairs{p, 1} ' and ' pairs{p, 2} ' give identical structures']);
  s11 = Morbane(ag, dt, 1, 0.05, 0.8, 2.0, 3, 0.02, 0.01, pairs{p, 2}, pairs{p, 3});
  check(isequal(fieldnames(s11)', fields), 'eleven-input form has the same fields');
  check(isequal(size(s11.T), [3 1]) && s11.T(1) == 0.8, 'generated periods form a column');
  check(isequal(size(s11.gammaFact), [3 1]), 'eleven-input matrices are nT x 1');
end

s1 = Morbane(ag, dt, 1, 0.05, 0.5, 1.0, 1, 0, 0, 'fy', 1);
check(isequal(s1.T, 0.5), 'nT = 1 gives Tstart alone');

% Physics: R = 1 reproduces the elastic force; R = 3 yields; a strong oscillator stays elastic.
r1 = Morbane(ag, dt, 1, 0.05, T, 0, 0, 'R', 1);
check(all(r1.RFact == 1), 'R = 1 gives RFact = 1');
r3 = Morbane(ag, dt, 1, 0.05, T, 0, 0, 'R', 3);
check(all(abs(r3.RFact - 3) < 1e-12) && all(r3.muFact > 1), 'R = 3 is reproduced and yields');
check(all(r3.rFrc <= r3.yieldFrc * (1 + 1e-12)), 'perfectly plastic force stays within fy');
strong = Morbane(ag, dt, 1, 0.05, T, 0, 0, 'fy', 1e6);
check(all(strong.muFact < 1) && all(abs(strong.gammaFact - 1) < 0.05), 'strong oscillator is elastic');
mu = Morbane(ag, dt, 1, 0.05, T, 0.02, 0, 'mu', 4);
check(all(abs(mu.muFact - 4) < 0.04), 'the ductility search reaches mu = 4');
z = Morbane(zeros(50, 1), dt, 1, 0.05, T, 0, 0, 'mu', 4);
check(all(isnan(z.RFact)) && all(isnan(z.muFact)) && all(z.yieldFrc == 0), 'a record at rest gives NaN factors');

usage = 'Morbane::mexFunction - wrong number of arguments received\nexpecting: spectra = Morbane(ag,dt,m,zeta,T,kin,iso,method,para);';
expect_error(@() Morbane(ag, dt, 1, 0.05, T, 0, 0, 'fy'), usage);
expect_error(@() Morbane(ag, dt, 1, 0.05, 0.1, 1, 3, 0, 0, 'fy'), usage);
invalid = 'Morbane::mexFunction - invalid time domain analysis method received';
expect_error(@() Morbane(ag, dt, 1, 0.05, T, 0, 0, 'Fy', 1), invalid);
expect_error(@() Morbane(ag, dt, 1, 0.05, T, 0, 0, repmat('R', 1, 300), 1), invalid);
expect_error(@() Morbane(ag, dt, 1, 0.05, T, 0, 0, 'recform', 1), invalid);
expect_error(@() Morbane(ag, dt, 1, 0.05, T, 0, 0, 4, 1), 'Morbane::mexFunction - method must be text');
expect_error(@() Morbane([], dt, 1, 0.05, T, 0, 0, 'fy', 1), 'Morbane::mexFunction - ag must have at least one element');
expect_error(@() Morbane(ag, dt, 1, zeros(1, 0), T, 0, 0, 'fy', 1), 'Morbane::mexFunction - zeta must have at least one element');
expect_error(@() Morbane(ag, dt, 1, 0.05, [], 0, 0, 'fy', 1), 'Morbane::mexFunction - T must have at least one element');
expect_error(@() Morbane(ag, dt, 1, 0.05, 0.1, 1, 0.5, 0, 0, 'fy', 1), 'Morbane::mexFunction - nT must be at least 1');
expect_error(@() Morbane(single(ag), dt, 1, 0.05, T, 0, 0, 'fy', 1), 'Morbane::mexFunction - ag must be a real double vector');
expect_error(@() Morbane(ag, dt, 1, 0.05, T, 0, 0, 'fy', 1i), 'Morbane::mexFunction - para must be a real double scalar');
expect_error(@() Morbane(ag, dt, 1, 0.05, 0.1, 0.02, 0, 'mu', 4), ...
  'Morbane::mexFunction - errors encountered during spectra generation');
try
  Morbane(ag, dt, 1, 0.05, T, 0, 0, 'fy', 1);   % no output requested
  error('test_morbane: a call without outputs must fail');
catch err
  check(~isempty(strfind(err.message, 'wrong number of arguments')), 'nlhs = 0 is refused');
end
disp('test_morbane: all checks passed');
end

function check(condition, what)
if ~condition
  error('test_morbane: %s', what);
end
end

function expect_error(f, text)
try
  s = f(); %#ok<NASGU>
catch err
  msg = regexprep(err.message, '^Morbane: ', '');
  msg = regexprep(msg, '\n$', '');
  want = sprintf(text);
  if ~strcmp(msg, want)
    error('test_morbane: error text\n  got:  %s\n  want: %s', msg, want);
  end
  return;
end
error('test_morbane: expected the error "%s"', sprintf(text));
end
