function test_granwick()
% Granwick from Octave: calling forms, shapes, error texts and two-component physics.
dt = 0.01;
t = (0:299)' * dt;
ag1 = 3 * sin(2*pi*1.3*t) .* exp(-0.5*t);
ag2 = 2 * cos(2*pi*0.9*t) .* exp(-0.4*t);
fields = {'pga', 'mass', 'frn', 'T', 'f', 'dsp', 'vel', 'acc', 'totAcc', 'psdVel', 'psdAcc', ...
          'resDsp', 'iFrc', 'dFrc', 'rFrc', 'yieldDsp', 'psdYieldVel', 'psdYieldAcc', ...
          'yieldFrc', 'muFact', 'RFact', 'gammaFact', 'effT', 'effZeta', 'effRFact', ...
          'effGammaFact'};
g = 9.81;
uy = 0.002;
frn = [0.03 0.08];

s8 = Granwick(ag1, ag2, dt, 1, g, frn, [1 2 3], uy);
check(isequal(fieldnames(s8)', fields), 'field names and order');
check(isequal(size(s8.T), [1 3]) && isequal(size(s8.f), [3 1]), 'T keeps its shape, f is a column');
for i = 6:numel(fields)
  check(isequal(size(s8.(fields{i})), [3 2]), [fields{i} ' is nT x nFrn']);
end
check(s8.pga == max(sqrt(ag1.^2 + ag2.^2)), 'pga is the peak resultant');
check(all(s8.dsp(:) > uy) && all(s8.effZeta(:) > 0), 'the isolator slides');
check(all(s8.dFrc(:) == 0) && all(s8.yieldDsp(:) == uy), 'no damping force; yieldDsp is uy');

s10 = Granwick(ag1', ag2, dt, 1, g, frn, 1, 3, 3, uy);
check(isequal(size(s10.T), [3 1]), 'generated periods form a column');
check(isequal(s10.dsp, s8.dsp) && isequal(s10.effZeta, s8.effZeta), 'both forms agree');

% The resultant isolator force is the pendulum force plus a friction force within frn*m*g.
kp = (2*pi ./ s8.T(:)).^2;
check(all(all(s8.rFrc <= kp .* s8.dsp + frn * g + 1e-12)), 'resultant force within kp*dsp + frn*W');
% One component only: the one-component isolator, up to the Newton tolerance.
if exist('Tillock') == 3
  one = Granwick(ag1, zeros(size(ag1)), dt, 1, g, frn, [1 2 3], uy);
  try
    ref = Tillock(ag1, dt, 1, g, frn, [1 2 3], uy);
  catch
    ref = [];  % the weight variant of Tillock is on the path
  end
  if isstruct(ref)
    check(all(abs(one.dsp(:) - ref.dsp(:)) <= 1e-8 * ref.dsp(:)), 'ag2 = 0 gives the Tillock spectra');
  end
end
% Records of different lengths are cut to the shorter.
cut = Granwick(ag1(1:200), ag2, dt, 1, g, frn, [1 2 3], uy);
cut2 = Granwick(ag1(1:200), ag2(1:200), dt, 1, g, frn, [1 2 3], uy);
check(isequal(cut, cut2), 'the longer record is cut');

e = Granwick(ag1, ag2, dt, 1, g, [], [1 2 3], uy);
check(isequal(size(e.dsp), [3 0]) && isequal(size(e.f), [3 1]), 'no friction coefficients: empty columns');

usage = 'Granwick::mexFunction - wrong number of arguments received\nexpecting: spectra = Granwick(ag1,ag2,dt,m,g,frn,T,uy);';
expect_error(@() Granwick(ag1, ag2, dt, 1, g, frn, 1), usage);
expect_error(@() Granwick(ag1, ag2, dt, 1, g, frn, 1, 2, uy), usage);
expect_error(@() Granwick(ag1, ag2, dt, 1, g, frn, 1, 2, 3, uy, 0), usage);
expect_error(@() Granwick(ag1, zeros(1, 0), dt, 1, g, frn, 1, uy), 'Granwick::mexFunction - ag2 must have at least one element');
expect_error(@() Granwick(ag1, ag2, dt, 1, g, zeros(1, 0), 1, uy), 'Granwick::mexFunction - frn must have at least one element');
expect_error(@() Granwick(ag1, ag2, dt, 1, [], frn, 1, uy), 'Granwick::mexFunction - g must be a real double scalar');
expect_error(@() Granwick(ag1, ag2, dt, 1, g, frn, 1, 3, 0.5, uy), 'Granwick::mexFunction - nT must be at least 1');
expect_error(@() Granwick(ag1, ag2, dt, 1, g, frn, 1, 'x'), 'Granwick::mexFunction - uy must be a real double scalar');
disp('test_granwick: all checks passed');
end

function check(condition, what)
if ~condition
  error('test_granwick: %s', what);
end
end

function expect_error(f, text)
try
  s = f(); %#ok<NASGU>
catch err
  msg = regexprep(err.message, '^Granwick: ', '');
  msg = regexprep(msg, '\n$', '');
  want = sprintf(text);
  if ~strcmp(msg, want)
    error('test_granwick: error text\n  got:  %s\n  want: %s', msg, want);
  end
  return;
end
error('test_granwick: expected the error "%s"', sprintf(text));
end
