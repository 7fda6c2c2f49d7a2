function build_mex(outdir)
%BUILD_MEX Build the response-spectrum MEX files with the mex command of MATLAB or Octave.
%   BUILD_MEX compiles every module into the folder of this script; BUILD_MEX(OUTDIR) into OUTDIR.
%   Octave's mex calls mkoctfile. The help files (*.m) stay beside the MEX files, so that
%   `help Quorvel` works once the folder is on the path.
%
%   Checklist for adding a module:
%     1. its folder under src/ with driver.cpp, gateway.cpp, plugin.cpp (and newmark_var.cpp);
%     2. a row in the table below: the MEX name, its folder, its sources, extra core sources;
%     3. its help file <Name>.m in this folder.
%
%   The sources are compiled without contraction of multiplications and additions into fused
%   operations, which would change results in the last bits.
%
%   See also QUORVEL, DASKENT, MORBANE, TILLOCK, GRANWICK, PELLORY, VINTARROW.

here = fileparts(mfilename('fullpath'));
if nargin < 1
  outdir = here;
end
src = fullfile(here, '..', 'src');
core = {'core/recform.cpp', 'core/newmark.cpp', 'core/history_length.cpp', 'core/peaks.cpp', ...
        'core/magnitude.cpp', 'core/scratch.cpp', 'core/execution.cpp', 'core/parallel.cpp', ...
        'core/elastic_batch.cpp', ...
        'core/elastic_spectra.cpp', 'core/gateway_args.cpp', 'core/console.cpp'};
inelastic = {'core/hardening.cpp', 'core/newmark_var.cpp'};

% name, output subfolder, module sources, extra core sources, extra defines
modules = {
  'Quorvel',   '',            {'elastic/driver.cpp', 'elastic/gateway.cpp', 'elastic/plugin.cpp'}, {}, {}
  'Daskent',   '',            {'elastic2d/driver.cpp', 'elastic2d/gateway.cpp', 'elastic2d/plugin.cpp'}, {}, {}
  'Morbane',   '',            {'inelastic/driver.cpp', 'inelastic/gateway.cpp', 'inelastic/plugin.cpp'}, inelastic, {}
  'Tillock',   '',            {'friction_pendulum/newmark_var.cpp', 'friction_pendulum/driver.cpp', ...
                               'friction_pendulum/gateway.cpp', 'friction_pendulum/plugin.cpp'}, {}, {}
  'Tillock',   'weight',      {'friction_pendulum/driver_weight.cpp', 'friction_pendulum/gateway_weight.cpp', ...
                               'friction_pendulum/plugin_weight.cpp'}, inelastic, {}
  'Granwick',  '',            {'friction_pendulum2d/newmark_var.cpp', 'friction_pendulum2d/driver.cpp', ...
                               'friction_pendulum2d/gateway.cpp', 'friction_pendulum2d/plugin.cpp'}, {}, {}
  'Pellory',   '',            {'lead_rubber/newmark_var.cpp', 'lead_rubber/driver.cpp', ...
                               'lead_rubber/gateway.cpp', 'lead_rubber/plugin.cpp'}, {}, {}
  'Vintarrow', '',            {'lead_rubber2d/newmark_var.cpp', 'lead_rubber2d/driver.cpp', ...
                               'lead_rubber2d/gateway.cpp', 'lead_rubber2d/plugin.cpp'}, {}, {}
};

flags = {'-DSPECTRA_PLUGIN', ['-I' src]};
if exist('OCTAVE_VERSION', 'builtin')
  setenv('CXXFLAGS', [getenv('CXXFLAGS') ' -std=c++17 -O2 -ffp-contract=off -Wno-psabi']);
else
  flags = [flags, {'CXXFLAGS=$CXXFLAGS -std=c++17 -ffp-contract=off -Wno-psabi'}];
end

for i = 1:size(modules, 1)
  [name, sub, sources, extra] = modules{i, 1:4};
  files = cellfun(@(f) fullfile(src, f), [sources, core, extra], 'UniformOutput', false);
  if ~all(cellfun(@(f) exist(f, 'file') == 2, files))
    fprintf('build_mex: skipping %s%s (sources not present)\n', name, suffix(sub));
    continue;
  end
  target = fullfile(outdir, sub);
  if ~exist(target, 'dir')
    mkdir(target);
  end
  fprintf('build_mex: %s%s\n', name, suffix(sub));
  mex(flags{:}, '-output', fullfile(target, name), files{:});
  help_file = fullfile(here, [name '.m']);
  if ~strcmp(target, here) && exist(help_file, 'file') == 2
    copyfile(help_file, target);
  end
end
end

function s = suffix(sub)
if isempty(sub)
  s = '';
else
  s = [' (' sub ' variant)'];
end
end
