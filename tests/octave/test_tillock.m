% Tillock (mass and gravity): fields and shapes in both calling forms, exact error texts, and
% physical sanity of the isolator spectra. Run with the build's mex folder on the path.
function test_tillock()
  % Where the weight variant is the default plug-in, the mass one sits in mex-mass beside it.
  mass = fullfile(fileparts(which('Tillock')), '..', 'mex-mass');
  if exist(fullfile(mass, 'Tillock.mex'), 'file')
    addpath(mass, '-begin');
  end
  names = {'pga', 'mass', 'frn', 'T', 'f', 'dsp', 'vel', 'acc', 'totAcc', 'psdVel', 'psdAcc', ...
           'resDsp', 'iFrc', 'dFrc', 'rFrc', 'yieldDsp', 'psdYieldVel', 'psdYieldAcc', ...
           'yieldFrc', 'muFact', 'RFact', 'gammaFact', 'effT', 'effZeta', 'effRFact', ...
           'effGammaFact'};
  dt = 0.01;
  t = (0:599)' * dt;
  ag = 386.1 * 0.3 * sin(2 * pi * 0.8 * t) .* exp(-0.5 * t);   % in/s²
  m = 2;  g = 386.1;  uy = 0.02;

  % Seven inputs: T keeps its orientation, f is a column, results are nT x nFrn.
  s = Tillock(ag, dt, m, g, [0.04 0.08], [1.5 2.5 3.5], uy);
  check(isequal(fieldnames(s)', names), 'field names or order');
  check(isequal(size(s.T), [1 3]) && isequal(size(s.f), [3 1]), 'T and f shapes');
  check(isequal(s.mass, m) && isequal(s.frn, [0.04 0.08]), 'echoed inputs');
  for k = 6:numel(names)
    check(isequal(size(s.(names{k})), [3 2]), ['shape of ' names{k}]);
  end
  check(s.pga == max(abs(ag)), 'pga');

  % Nine inputs: generated periods as a column; same spectra as the same periods given.
  r = Tillock(ag, dt, m, g, [0.04 0.08], 1.5, 3.5, 3, uy);
  check(isequal(fieldnames(r)', names), 'field names (nine inputs)');
  check(isequal(size(r.T), [3 1]) && isequal(r.T', [1.5 2.5 3.5]), 'generated periods');
  check(isequal(r.dsp, s.dsp) && isequal(r.effZeta, s.effZeta), 'both forms agree');

  % Physics: the bearing slides here, its peak force is friction plus pendulum force, the
  % ductility is dsp/uy, and the equivalent damping lies between 0 and 2/pi.
  W = m * g;
  kp = (2 * pi ./ s.T').^2 * m;
  check(all(s.muFact(:) > 1), 'the bearing slides');
  check(all(abs(s.rFrc - ([0.04 0.08] * W + kp .* s.dsp)) <= 1e-9 * s.rFrc)(:), 'peak force');
  check(all(abs(s.muFact - s.dsp / uy) <= 1e-12 * s.muFact)(:), 'muFact');
  check(all(s.effZeta(:) > 0 & s.effZeta(:) < 2 / pi), 'equivalent damping');
  check(all(s.effT(:) < repmat(s.T', 1, 2)(:)), 'the effective period is below the pendulum''s');
  check(all(s.dFrc(:) == 0) && all(s.yieldDsp(:) == uy), 'dFrc and yieldDsp');

  % Without friction the bearing is a linear pendulum: force kp*dsp, no equivalent damping.
  z = Tillock(ag, dt, m, g, 0, [2 3], uy);
  check(all(abs(z.rFrc - (2 * pi ./ [2; 3]).^2 * m .* z.dsp) <= 1e-9 * z.rFrc), ...
        'frictionless pendulum');
  check(all(z.effZeta == 0), 'frictionless damping');

  % An empty (0 x 0) friction list gives empty result fields.
  e = Tillock(ag, dt, m, g, [], [1 2], uy);
  check(isequal(size(e.dsp), [2 0]) && isequal(size(e.f), [2 1]), 'empty frn');

  usage = sprintf(['Tillock::mexFunction - wrong number of arguments received\n' ...
                   'expecting: spectra = Tillock(ag,dt,m,g,frn,T,uy);']);
  expectError(@() Tillock(ag, dt, m, g, 0.05, 2), usage);
  expectError(@() Tillock(ag, dt, m, g, 0.05, 1, 2, 3, 4, uy), usage);
  expectError(@() Tillock(ag, dt, m, g, 0.05, 1, 2, uy), usage);
  expectNoOutputError(@() Tillock(ag, dt, m, g, 0.05, 2, uy), usage);
  expectError(@() Tillock([], dt, m, g, 0.05, 2, uy), ...
              'Tillock::mexFunction - ag must have at least one element');
  expectError(@() Tillock(ag, dt, m, g, zeros(1, 0), 2, uy), ...
              'Tillock::mexFunction - frn must have at least one element');
  expectError(@() Tillock(ag, dt, m, g, 0.05, 1, 2, 0, uy), ...
              'Tillock::mexFunction - nT must be at least 1');
  expectError(@() Tillock(single(ag), dt, m, g, 0.05, 2, uy), ...
              'Tillock::mexFunction - ag must be a real double vector');
  expectError(@() Tillock(ag, dt, m, 1i, 0.05, 2, uy), ...
              'Tillock::mexFunction - g must be a real double scalar');
end

function check(ok, what)
  if ~ok
    error('test_tillock: %s', what);
  end
end

function expectError(f, text)
  try
    s = f();
  catch err
    check(strcmp(err.message, ['Tillock: ' text]), ['error text: ' err.message]);
    return;
  end
  error('test_tillock: no error, expected "%s"', text);
end

function expectNoOutputError(f, text)
  try
    f();
  catch err
    check(strcmp(err.message, ['Tillock: ' text]), ['error text: ' err.message]);
    return;
  end
  error('test_tillock: no error without output, expected "%s"', text);
end
