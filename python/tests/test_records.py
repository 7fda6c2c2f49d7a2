"""Record files read through the program's own readers: the samples, step, unit and metadata the
file gives, the program's unit rule, and spectra equal to the program's for the same file."""

import os

import numpy as np
import pytest

import sdofspectra as sp
from tools import run_program

G = 9.80665


def write_at2(path, samples, dt=0.01, component="ELC180"):
    lines = ["PEER NGA STRONG MOTION DATABASE RECORD",
             f"Synthetic test motion, 1 Jan 2000, Test Station, {component}",
             "ACCELERATION TIME SERIES IN UNITS OF G",
             f"NPTS=  {len(samples)}, DT=   {dt:.4f} SEC"]
    rows = [" ".join(f"{v: .7E}" for v in samples[i:i + 5]) for i in range(0, len(samples), 5)]
    path.write_text("\n".join(lines + rows) + "\n")
    return path


def motion(n, seed):
    rng = np.random.default_rng(seed)
    t = np.arange(n) * 0.01
    values = np.convolve(rng.standard_normal(n), np.ones(4) / 4, mode="same")
    values *= np.minimum(1.0, t) * np.exp(-0.2 * t)
    return 0.3 * values / np.abs(values).max()


@pytest.fixture(scope="module")
def pair(tmp_path_factory):
    folder = tmp_path_factory.mktemp("records")
    return (write_at2(folder / "rec-000.AT2", motion(900, 1), component="000"),
            write_at2(folder / "rec-090.AT2", motion(880, 2), component="090"))


def test_an_at2_file_gives_its_samples_step_unit_and_header(pair):
    record = sp.read_record(pair[0])
    tokens = [float(t) for line in pair[0].read_text().splitlines()[4:] for t in line.split()]
    assert np.array_equal(record.acc, tokens)
    assert record.dt == 0.01 and record.units == "g"
    assert record.metadata["path"] == str(pair[0])
    assert "AT2" in record.metadata["format"]
    assert "900 samples" in repr(record)


def test_tables_state_their_unit_and_step_in_the_header(tmp_path):
    table = tmp_path / "motion.csv"
    table.write_text("time,acc (cm/s2)\n0,1.5\n0.02,-2.25\n0.04,3\n")
    record = sp.read_record(table)
    assert (record.units, record.dt, list(record.acc)) == ("cm/s2", 0.02, [1.5, -2.25, 3.0])


def test_a_column_without_a_stated_unit_takes_the_given_one(tmp_path):
    column = tmp_path / "column.txt"
    column.write_text("# accelerations\n0.1\n-0.2\n0.05\n")
    with pytest.raises(ValueError, match="column.txt"):
        sp.read_record(column)                              # no step
    assert sp.read_record(column, dt=0.005).units == "g"
    assert sp.read_record(column, dt=0.005, units="gal").units == "cm/s2"


def test_a_unit_that_contradicts_the_file_is_an_error(pair):
    with pytest.raises(ValueError, match="states its samples are in"):
        sp.read_record(pair[0], units="m/s2")


def test_what_is_not_a_record_says_so(tmp_path):
    with pytest.raises(FileNotFoundError):
        sp.read_record(tmp_path / "absent.AT2")
    with pytest.raises(ValueError, match="folder"):
        sp.read_record(tmp_path)
    bad = tmp_path / "bad.AT2"
    bad.write_text("PEER\nx\ny\nNPTS= 3\n0.1 0.2 0.3\n")
    with pytest.raises(ValueError, match=r"bad.AT2:4:"):
        sp.read_record(bad)


def test_a_unit_conversion_is_one_multiplication_per_sample(pair):
    record = sp.read_record(pair[0])
    assert np.array_equal(record.to("m/s2").acc, record.acc * G)
    assert np.array_equal(record.to("g", scale=2.0).acc, record.acc * 2.0)
    assert record.to("cm/s2").units == "cm/s2"
    assert set(sp.record_formats()) >= {"auto", "at2", "cosmos", "smc", "knet", "esm", "csv"}


PROGRAM_CASES = [
    ("elastic", [], lambda r, s: sp.elastic(r)),
    ("elastic", ["--zeta", "0.02,0.1", "--method", "newmark", "--periods", "0.1,0.5,2"],
     lambda r, s: sp.elastic(r, zeta=[0.02, 0.1], method="newmark", periods=[0.1, 0.5, 2])),
    ("elastic", ["--log-periods", "0.05:4:9"],
     lambda r, s: sp.elastic(r, periods=sp.log_periods(0.05, 4, 9))),
    ("elastic2d", [], lambda r, s: sp.elastic2d(r, s)),
    ("inelastic", ["--R", "4", "--kin", "0.02"], lambda r, s: sp.inelastic(r, R=4, kin=0.02)),
    ("inelastic", ["--uy", "0.01", "--periods", "0.2:3:6"],
     lambda r, s: sp.inelastic(r, uy=0.01, periods=(0.2, 3, 6))),
    ("fps", [], lambda r, s: sp.fps(r)),
    ("fps", ["--weight", "1000", "--frn", "0.03,0.06"],
     lambda r, s: sp.fps(r, weight=1000, frn=[0.03, 0.06])),
    ("fps2d", ["--g", "9.81"], lambda r, s: sp.fps2d(r, s, g=9.81)),
    ("lrb", [], lambda r, s: sp.lrb(r)),
    ("lrb", ["--mass", "100", "--qd", "20,50", "--alpha", "0.08"],
     lambda r, s: sp.lrb(r, mass=100, Qd=[20, 50], alpha=0.08)),
    ("lrb2d", [], lambda r, s: sp.lrb2d(r, s)),
]


@pytest.mark.parametrize("command,options,python", PROGRAM_CASES,
                         ids=[f"{c[0]} {' '.join(c[1])}".strip() for c in PROGRAM_CASES])
def test_a_file_gives_the_programs_spectra_bit_for_bit(pair, tmp_path, command, options, python):
    files = [pair[0], pair[1]] if command.endswith("2d") else [pair[0]]
    expected = run_program(command, *files, *options, folder=tmp_path)
    result = python(sp.read_record(pair[0]), sp.read_record(pair[1]))
    assert list(result) == list(expected)
    for name, values in expected.items():
        got = np.asarray(result[name]).reshape(values.shape, order="F")
        assert np.array_equal(got.view(np.uint64), values.view(np.uint64)), name


def test_the_demo_record_is_the_programs(tmp_path):
    expected = run_program("demo", folder=tmp_path)
    result = sp.elastic(sp.demo_record(), zeta=[0.02, 0.05, 0.1])
    for name, values in expected.items():
        got = np.asarray(result[name]).reshape(values.shape, order="F")
        assert np.array_equal(got, values), name
