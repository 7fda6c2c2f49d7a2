"""Calls the real MEX files in GNU Octave from the tests: a batch of calls goes to Octave in one
binary file and every output comes back bit for bit.

The folders come from SPECTRA_MEX_DIR and SPECTRA_MEX_WEIGHT_DIR (default: build/mex and
build/mex-weight of this clone). Without Octave or the MEX files the tests that need them are
skipped, unless SPECTRA_REQUIRE_BUILD=1 (as the project's test script sets), when they fail."""

import os
import shutil
import struct
import subprocess
import tempfile

import numpy as np
import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))


def mex_dirs():
    main = os.environ.get("SPECTRA_MEX_DIR", os.path.join(TOP, "build", "mex"))
    weight = os.environ.get("SPECTRA_MEX_WEIGHT_DIR", os.path.join(TOP, "build", "mex-weight"))
    return main, weight


def require_octave():
    """The octave-cli command and the MEX folders, or a skip (a failure when they are required)."""
    main, weight = mex_dirs()
    octave = shutil.which("octave-cli")
    missing = [what for what, ok in (("octave-cli", octave),
                                     (main + "/Quorvel.mex", os.path.exists(main + "/Quorvel.mex")),
                                     (weight + "/Tillock.mex",
                                      os.path.exists(weight + "/Tillock.mex"))) if not ok]
    if missing:
        message = "the MEX files in Octave are needed: missing " + ", ".join(missing)
        if os.environ.get("SPECTRA_REQUIRE_BUILD") == "1":
            pytest.fail(message)
        pytest.skip(message)
    return octave, main, weight


def _text(value):
    data = value.encode()
    return struct.pack("<i", len(data)) + data


def _argument(value):
    if isinstance(value, str):
        data = value.encode()
        return struct.pack("<iii", 1, 1 if data else 0, len(data)) + data
    array = np.asarray(value, dtype=np.float64)
    matrix = array.reshape(array.shape + (1,) * (2 - array.ndim)) if array.ndim < 2 else array
    rows, cols = matrix.shape
    return struct.pack("<iii", 0, rows, cols) + matrix.tobytes(order="F")


def _read(stream, fmt):
    size = struct.calcsize(fmt)
    return struct.unpack(fmt, stream.read(size))


def _read_text(stream):
    (n,) = _read(stream, "<i")
    return stream.read(n).decode()


def run(calls, weight=False):
    """Runs calls = [(module, args), ...] in Octave against the MEX files (the weight variant of
    Tillock when weight). Returns per call a dict of the output fields (2-D arrays) or the error
    text (str)."""
    octave, main, weight_dir = require_octave()
    with tempfile.TemporaryDirectory() as folder:
        infile, outfile = os.path.join(folder, "in.bin"), os.path.join(folder, "out.bin")
        with open(infile, "wb") as stream:
            stream.write(struct.pack("<i", len(calls)))
            for module, args in calls:
                stream.write(_text(module) + struct.pack("<i", len(args)))
                for arg in args:
                    stream.write(_argument(arg))
        mexdir = weight_dir if weight else main
        subprocess.run([octave, "--no-gui", "--norc", "--quiet", "--eval",
                        f"addpath('{HERE}'); mex_runner('{infile}', '{outfile}', '{mexdir}')"],
                       check=True, capture_output=True, timeout=600)
        results = []
        with open(outfile, "rb") as stream:
            for _ in calls:
                (status,) = _read(stream, "<i")
                if status == 1:
                    results.append(_read_text(stream))
                    continue
                (count,) = _read(stream, "<i")
                fields = {}
                for _ in range(count):
                    name = _read_text(stream)
                    rows, cols = _read(stream, "<ii")
                    data = np.frombuffer(stream.read(8 * rows * cols), dtype="<f8")
                    fields[name] = data.reshape((rows, cols), order="F")
                results.append(fields)
        return results
