"""The README's Python sessions run as written, the example script draws its plots from a
record file, and the plot helpers label their axes in the words and units of the quantities."""

import os
import re
import subprocess
import sys

import matplotlib
import numpy as np
import pytest

import sdofspectra as sp

matplotlib.use("Agg")
HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))


def readme_python_blocks():
    with open(os.path.join(TOP, "README.md"), encoding="utf-8") as stream:
        text = stream.read()
    section = text[text.index("## From Python"):text.index("## Module reference")]
    return re.findall(r"```python\n(.*?)```", section, flags=re.S)


def test_the_readmes_python_sessions_run_as_written(tmp_path, monkeypatch):
    blocks = readme_python_blocks()
    assert len(blocks) >= 3
    monkeypatch.chdir(tmp_path)
    namespace = {}
    for block in blocks:                      # one session: later blocks use earlier names
        exec(compile(block, "README.md", "exec"), namespace)
    assert namespace["s"].psdAcc.shape == (3, 1)
    assert namespace["rec"].units == "g"


def test_the_example_reads_record_files_and_draws_its_plots(tmp_path):
    script = os.path.join(TOP, "python", "examples", "record_spectra.py")
    done = subprocess.run([sys.executable, script, "--out", str(tmp_path)], capture_output=True,
                          text=True, timeout=600, cwd=tmp_path)
    assert done.returncode == 0, done.stderr
    for name in ("history.png", "elastic.png", "rotd50.png", "lrb.png"):
        with open(tmp_path / name, "rb") as image:
            assert image.read(8) == b"\x89PNG\r\n\x1a\n", name
    assert "RotD50 at T = 1 s" in done.stdout
    # the files it wrote are read again by the readers: the same record as the synthetic one
    written = sp.read_record(tmp_path / "synthetic-000.AT2")
    assert np.allclose(written.acc, sp.demo_record().acc, rtol=1e-7, atol=1e-12)


def test_plots_are_labelled_in_words_and_units():
    s = sp.elastic(sp.demo_record(duration=5.0), zeta=[0.02, 0.05], periods=[0.2, 0.5, 1.0])
    ax = sp.plot_spectrum(s)
    assert ax.get_xlabel() == "Period T [s]"
    assert ax.get_ylabel() == "Pseudo-spectral acceleration Sa [m/s2]"
    assert [t.get_text() for t in ax.get_legend().get_texts()] == ["ζ = 2 %", "ζ = 5 %"]
    r = sp.rotd(sp.demo_record(duration=5.0), sp.demo_record(duration=5.0, component=1),
                periods=[0.2, 0.5])
    ax = sp.plot_spectrum(r, "psa", select={"percentile": 50})
    assert ax.get_ylabel().startswith("RotD50 of pseudo-spectral acceleration")
    ax = sp.plot_history(sp.demo_record(duration=5.0))
    assert ax.get_ylabel() == "Ground acceleration [g]" and ax.get_xlabel() == "Time t [s]"
    with pytest.raises(KeyError):
        sp.plot_spectrum(s, "nonsense")
