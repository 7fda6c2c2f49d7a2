"""The project's built programs the tests compare with: the spectra command-line program and the
MEX files (see mex_octave.py). Missing tools skip their tests, unless SPECTRA_REQUIRE_BUILD=1 (as
the project's test script sets), when they fail."""

import json
import os
import subprocess

import numpy as np
import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))


def missing(message):
    if os.environ.get("SPECTRA_REQUIRE_BUILD") == "1":
        pytest.fail(message)
    pytest.skip(message)


def spectra_program():
    path = os.environ.get("SPECTRA_CLI", os.path.join(TOP, "build", "cli", "spectra"))
    if not os.access(path, os.X_OK):
        missing(f"the spectra program is needed: {path} is missing")
    return path


def run_program(*args, folder):
    """Runs the spectra program with args and --out to a JSON file; returns its fields as 2-D
    arrays (rows of the matrix as the file gives them)."""
    out = os.path.join(str(folder), "out.json")
    subprocess.run([spectra_program(), *map(str, args), "--out", out, "--quiet"], check=True,
                   capture_output=True, timeout=300)
    with open(out) as stream:
        document = json.load(stream)
    return {name: np.array([[float(v) for v in row] for row in field["data"]],
                           dtype=np.float64).reshape(field["shape"])
            for name, field in document["fields"].items()}
