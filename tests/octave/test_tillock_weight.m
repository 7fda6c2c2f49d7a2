% Tillock, weight variant (gravity 386.1): fields and shapes in both calling forms, exact error
% texts, and physical sanity. Loads the plug-in from SPECTRA_MEX_WEIGHT_DIR (default
% build/mex-weight) unless that folder has none, as when the weight variant is the default.
function test_tillock_weight()
  folder = getenv('SPECTRA_MEX_WEIGHT_DIR');
  if isempty(folder)
    folder = fullfile(fileparts(mfilename('fullpath')), '..', '..', 'build', 'mex-weight');
  end
  if exist(fullfile(folder, 'Tillock.mex'), 'file')
    addpath(folder, '-begin');
  end
  names = {'pga', 'W', 'frn', 'T', 'f', 'dsp', 'vel', 'acc', 'totAcc', 'psdVel', 'psdAcc', ...
           'resDsp', 'iFrc', 'dFrc', 'rFrc', 'yieldDsp', 'psdYieldVel', 'psdYieldAcc', ...
           'yieldFrc', 'RFact', 'muFact', 'gammaFact'};
  dt = 0.01;
  t = (0:599)' * dt;
  ag = 386.1 * 0.3 * sin(2 * pi * 0.8 * t) .* exp(-0.5 * t);   % in/s²
  W = 772.2;  uy = 0.02;  m = W / 386.1;

  % Six inputs: T keeps its orientation, f is a column, results are nT x nFrn.
  s = Tillock(ag, dt, W, [0.04; 0.08], [1.5 2.5 3.5], uy);
  check(isequal(fieldnames(s)', names), 'field names or order');
  check(isequal(size(s.T), [1 3]) && isequal(size(s.f), [3 1]), 'T and f shapes');
  check(isequal(s.W, W) && isequal(s.frn, [0.04; 0.08]), 'echoed inputs');
  for k = 6:numel(names)
    check(isequal(size(s.(names{k})), [3 2]), ['shape of ' names{k}]);
  end

  % Eight inputs: generated periods as a column; same spectra as the same periods given.
  r = Tillock(ag, dt, W, [0.04; 0.08], 1.5, 3.5, 3, uy);
  check(isequal(fieldnames(r)', names), 'field names (eight inputs)');
  check(isequal(size(r.T), [3 1]) && isequal(r.T', [1.5 2.5 3.5]), 'generated periods');
  check(isequal(r.dsp, s.dsp) && isequal(r.gammaFact, s.gammaFact), 'both forms agree');

  % Physics: the bearing slides; its peak force is friction plus pendulum force (the hardening
  % material reproduces the bilinear law); iFrc is the mass W/386.1 times totAcc.
  kp = (2 * pi ./ s.T').^2 * m;
  check(all(s.muFact(:) > 1), 'the bearing slides');
  check(all(abs(s.rFrc - ([0.04 0.08] * W + kp .* s.dsp)) <= 1e-9 * s.rFrc)(:), 'peak force');
  check(all(abs(s.iFrc - m * s.totAcc) <= 1e-12 * s.iFrc)(:), 'iFrc');
  check(all(abs(s.yieldFrc - ([0.04 0.08] * W + kp * uy)) <= 1e-12 * s.yieldFrc)(:), 'yieldFrc');

  % Without friction the hardening ratio is infinite: results past yield are not numbers.
  z = Tillock(ag, dt, W, 0, [2 3], uy);
  check(all(isnan(z.resDsp)), 'frictionless weight variant is NaN past yield');

  e = Tillock(ag, dt, W, [], [1 2], uy);
  check(isequal(size(e.dsp), [2 0]) && isequal(size(e.f), [2 1]), 'empty frn');

  usage = sprintf(['Tillock::mexFunction - wrong number of arguments received\n' ...
                   'expecting: spectra = Tillock(ag,dt,W,frn,T,uy);']);
  expectError(@() Tillock(ag, dt, W, 0.05, 2), usage);
  expectError(@() Tillock(ag, dt, W, 386.1, 0.05, 2, uy), usage);
  expectError(@() Tillock(ag, dt, W, 0.05, 1, 2, 3, 4, uy), usage);
  expectError(@() Tillock([], dt, W, 0.05, 2, uy), ...
              'Tillock::mexFunction - ag must have at least one element');
  expectError(@() Tillock(ag, dt, W, zeros(1, 0), 2, uy), ...
              'Tillock::mexFunction - frn must have at least one element');
  expectError(@() Tillock(ag, dt, W, 0.05, 1, 2, 0.5, uy), ...
              'Tillock::mexFunction - nT must be at least 1');
end

function check(ok, what)
  if ~ok
    error('test_tillock_weight: %s', what);
  end
end

function expectError(f, text)
  try
    s = f();
  catch err
    check(strcmp(err.message, ['Tillock: ' text]), ['error text: ' err.message]);
    return;
  end
  error('test_tillock_weight: no error, expected "%s"', text);
end
