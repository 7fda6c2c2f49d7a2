function build_mex(outdir)
%BUILD_MEX Build the response-spectrum MEX files with the mex command of MATLAB or Octave.
%   BUILD_MEX compiles every module into the folder of this script; BUILD_MEX(OUTDIR) into OUTDIR.
%   Octave's mex calls mkoctfile. The help files (*.m) stay beside the MEX files, so that
%   `help Quorvel` works once the folder is on the path.
%
%   Checklist for adding a module:
%     1. its folder under src/ with driver.cpp, gateway.cpp, plugin.cpp (and newmark_var.cpp);
%     2. a row in the table below: the MEX name, its folder, its sources, sources it shares;
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
core = {'core/numerics/recform.cpp', 'core/numerics/newmark.cpp', ...
        'core/numerics/history_length.cpp', 'core/numerics/peaks.cpp', ...
        'core/numerics/magnitude.cpp', 'core/runtime/scratch.cpp', 'core/runtime/execution.cpp', ...
        'core/runtime/parallel.cpp', 'core/runtime/console.cpp', 'core/lanes/elastic_batch.cpp', ...
        'core/lanes/elastic_spectra.cpp', 'core/gateway/arguments.cpp'};
hardening = {'morbane/hardening.cpp', 'morbane/newmark_var.cpp', 'morbane/lanes.cpp'};

% name, output subfolder, module sources, extra sources from another module, extra defines
modules = {
  'Quorvel',   '',       {'quorvel/driver.cpp', 'quorvel/gateway.cpp', 'quorvel/plugin.cpp'}, {}, {}
  'Daskent',   '',       {'daskent/driver.cpp', 'daskent/gateway.cpp', 'daskent/plugin.cpp'}, {}, {}
  'Morbane',   '',       {'morbane/driver.cpp', 'morbane/driver_lanes.cpp', ...
                          'morbane/ductility_search.cpp', 'morbane/gateway.cpp', ...
                          'morbane/plugin.cpp'}, hardening, {}
  'Tillock',   '',       {'tillock/newmark_var.cpp', 'tillock/lanes.cpp', 'tillock/driver.cpp', ...
                          'tillock/gateway.cpp', 'tillock/plugin.cpp'}, {}, {}
  'Tillock',   'weight', {'tillock/driver_weight.cpp', 'tillock/gateway_weight.cpp', ...
                          'tillock/plugin_weight.cpp'}, hardening, {}
  'Granwick',  '',       {'granwick/newmark_var.cpp', 'granwick/lanes.cpp', 'granwick/driver.cpp', ...
                          'granwick/gateway.cpp', 'granwick/plugin.cpp'}, {}, {}
  'Pellory',   '',       {'pellory/newmark_var.cpp', 'pellory/lanes.cpp', 'pellory/driver.cpp', ...
                          'pellory/gateway.cpp', 'pellory/plugin.cpp'}, {}, {}
  'Vintarrow', '',       {'vintarrow/newmark_var.cpp', 'vintarrow/lanes.cpp', 'vintarrow/driver.cpp', ...
                          'vintarrow/gateway.cpp', 'vintarrow/plugin.cpp'}, {}, {}
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
