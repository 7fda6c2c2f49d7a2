% Runs a batch of MEX calls written by the Python tests (mex_octave.py) and writes every output
% structure, or the error text, back bit for bit.
%   mex_runner(infile, outfile, mexdir)
% infile: int32 count, then per call: int32 name length, name, int32 argument count, and per
% argument int32 type (0 double, 1 char), int32 rows, int32 cols, the data (doubles or bytes).
% outfile: per call: int32 status (0 ok, 1 error), the error text or int32 field count and per
% field: its name, int32 rows, int32 cols, the doubles. Texts are int32 length then bytes.
function mex_runner(infile, outfile, mexdir)
  addpath(mexdir);
  fin = fopen(infile, 'r', 'ieee-le');
  fout = fopen(outfile, 'w', 'ieee-le');
  ncalls = fread(fin, 1, 'int32');
  for c = 1:ncalls
    name = read_text(fin);
    nargs = fread(fin, 1, 'int32');
    args = cell(1, nargs);
    for a = 1:nargs
      type = fread(fin, 1, 'int32');
      rows = fread(fin, 1, 'int32');
      cols = fread(fin, 1, 'int32');
      if type == 0
        args{a} = reshape(fread(fin, rows * cols, 'double'), rows, cols);
      else
        args{a} = reshape(char(fread(fin, rows * cols, 'uint8')), rows, cols);
      end
    end
    try
      s = feval(name, args{:});
      fwrite(fout, 0, 'int32');
      names = fieldnames(s);
      fwrite(fout, numel(names), 'int32');
      for k = 1:numel(names)
        value = s.(names{k});
        write_text(fout, names{k});
        fwrite(fout, size(value), 'int32');
        fwrite(fout, value(:), 'double');
      end
    catch failure
      fwrite(fout, 1, 'int32');
      write_text(fout, failure.message);
    end
  end
  fclose(fin);
  fclose(fout);
end

function text = read_text(fid)
  n = fread(fid, 1, 'int32');
  text = char(fread(fid, [1, n], 'uint8'));
end

function write_text(fid, text)
  bytes = uint8(text);
  fwrite(fid, numel(bytes), 'int32');
  fwrite(fid, bytes, 'uint8');
end
