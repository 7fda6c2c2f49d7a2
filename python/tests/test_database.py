"""Whole databases on a real dask.distributed cluster (a scheduler and two workers as separate
processes on 127.0.0.1): every stored number equals a direct call bit for bit, a bad record is
marked failed with its error, runs resume and repeat exactly, a worker killed mid-run loses
nothing, and the outputs of `spectra --shard` runs merge into the same store."""

import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

import numpy as np
import pytest

distributed = pytest.importorskip("distributed")
zarr = pytest.importorskip("zarr")
xr = pytest.importorskip("xarray")

import sdofspectra as sp  # noqa: E402
from sdofspectra.db import (DONE, FAILED, PENDING, StoreMismatch, merge_shards,  # noqa: E402
                            run_database)
from sdofspectra.db.cli import main as db_main  # noqa: E402
from sdofspectra.db.merge import MISSING_OUTPUT  # noqa: E402
from sdofspectra.db.progress import Progress  # noqa: E402
from test_records import motion, write_at2  # noqa: E402
from tools import spectra_program  # noqa: E402

LRB = {"periods": (0.5, 4.0, 12), "Qd": [0.2, 0.5], "alpha": 0.1}
QUIET = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}


# A cluster of separate processes ---------------------------------------------------------------
def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class ProcessCluster:
    """A scheduler and ``workers`` single-thread workers (no nanny: a killed worker stays dead),
    each its own process; all of them ended at exit."""

    def __init__(self, workers=2):
        self.folder = tempfile.mkdtemp(prefix="sdofspectra-workers-")  # the workers' scratch
        self.address = f"tcp://127.0.0.1:{free_port()}"
        self.scheduler = subprocess.Popen(
            [sys.executable, "-m", "distributed.cli.dask_scheduler", "--host", "127.0.0.1",
             "--port", self.address.rsplit(":", 1)[1], "--no-dashboard"], **QUIET)
        self.workers = {}
        for n in range(workers):
            self.start_worker(f"w{n}")
        self.client = distributed.Client(self.address, timeout=30)
        self.client.wait_for_workers(workers, timeout=30)

    def start_worker(self, name, python=(sys.executable,)):
        self.workers[name] = subprocess.Popen(
            [*python, "-m", "distributed.cli.dask_worker", self.address, "--nthreads", "1",
             "--no-nanny", "--host", "127.0.0.1", "--no-dashboard", "--name", name,
             "--local-directory", self.folder], **QUIET)

    def address_of(self, name):
        return next(a for a, info in self.client.scheduler_info()["workers"].items()
                    if info["name"] == name)

    def kill_worker(self, name):
        """SIGKILL, then waits until the scheduler has let the worker go."""
        self.workers.pop(name).send_signal(signal.SIGKILL)
        for _ in range(300):
            if all(info["name"] != name
                   for info in self.client.scheduler_info()["workers"].values()):
                return
            time.sleep(0.1)
        raise AssertionError(f"the scheduler kept the killed worker {name}")

    def close(self):
        self.client.close()
        for process in [*self.workers.values(), self.scheduler]:
            if process.poll() is None:
                process.kill()
            process.wait(timeout=10)
        shutil.rmtree(self.folder, ignore_errors=True)


@pytest.fixture(scope="module")
def cluster():
    started = ProcessCluster(2)
    yield started
    started.close()


# Records and direct calls ----------------------------------------------------------------------
@pytest.fixture(scope="module")
def records(tmp_path_factory):
    """Five short AT2 records and one file no reader takes, listed out of order."""
    folder = tmp_path_factory.mktemp("records")
    files = [str(write_at2(folder / f"rec{i}.AT2", motion(300 + 40 * i, i))) for i in range(5)]
    bad = folder / "rec9.AT2"
    bad.write_text("not a record\n")
    return files[::-1] + [str(bad)]


def stored_fields(group):
    fixed = {"record", "file", "status", "error", "warnings", "component"}
    return [n for n, a in group.arrays()
            if n not in fixed and a.attrs["_ARRAY_DIMENSIONS"][:1] == ["record"]]


def assert_equals_direct(store, files_by_record, call):
    """Every stored field of every done record equals the direct call on its files bit for
    bit, and the coordinates are the call's periods and swept values."""
    group = zarr.open_group(str(store), mode="r")
    names = list(group["record"][:])
    for name, files in files_by_record.items():
        index = names.index(name)
        assert group["status"][index] == DONE, (name, group["error"][index])
        direct = call(*[sp.read_record(f) for f in files])
        assert np.array_equal(group["period"][:], direct.T)
        assert np.array_equal(group[direct.swept][:], direct[direct.swept])
        for field in stored_fields(group):
            assert np.array_equal(group[field][index], direct[field], equal_nan=True), field


def stem(path):
    return os.path.splitext(os.path.basename(path))[0]


def same_store(first, second):
    """Two stores hold the same arrays (values, shapes, attributes) and attributes."""
    a, b = zarr.open_group(str(first), mode="r"), zarr.open_group(str(second), mode="r")
    assert dict(a.attrs) == dict(b.attrs)
    assert sorted(a.array_keys()) == sorted(b.array_keys())
    for name in a.array_keys():
        assert dict(a[name].attrs) == dict(b[name].attrs), name
        assert same_values(a[name][...], b[name][...]), name


def same_values(x, y):
    if x.dtype == object or y.dtype == object:
        return x.shape == y.shape and x.tolist() == y.tolist()
    return np.array_equal(x, y, equal_nan=True)


# Runs --------------------------------------------------------------------------------------------
@pytest.fixture(scope="module")
def lrb_store(cluster, records, tmp_path_factory):
    store = tmp_path_factory.mktemp("stores") / "lrb.zarr"
    summary = run_database(records, "lrb", store, client=cluster.client, quiet=True, **LRB)
    return store, summary


def test_a_run_stores_each_records_spectra_as_a_direct_call_and_marks_the_bad_one(
        lrb_store, records, cluster, tmp_path):
    store, summary = lrb_store
    assert (summary.done, summary.failed, summary.skipped) == (5, 1, 0)
    good = sorted(records)[:-1]
    assert_equals_direct(store, {stem(f): [f] for f in good}, lambda r: sp.lrb(r, **LRB))

    dataset = xr.open_zarr(str(store))
    assert list(dataset.record.values) == [stem(f) for f in sorted(records)]  # path order
    assert dataset.status.values.tolist() == [DONE] * 5 + [FAILED]
    error = str(dataset.error.values[-1])
    assert "rec9.AT2" in error and "header" in error
    assert np.isnan(dataset.psdAcc.values[-1]).all()
    assert dataset.psdAcc.dims == ("record", "period", "Qd")
    assert dataset.psdAcc.attrs["units"] == "m/s2" and dataset.dsp.attrs["units"] == "m"
    assert dataset.Qd.attrs["units"] == "N" and dataset.period.attrs["units"] == "s"
    assert dataset.attrs["command"] == "lrb" and '"Qd": [0.2, 0.5]' in dataset.attrs["parameters"]

    again = tmp_path / "again.zarr"  # the same inputs, given in another order
    run_database(records[::-1], "lrb", again, client=cluster.client, quiet=True, **LRB)
    same_store(store, again)


def test_a_resumed_run_skips_done_records_and_redoes_the_others(lrb_store, records, cluster,
                                                                 tmp_path):
    copy = tmp_path / "resumed.zarr"
    zarr.copy_store(zarr.DirectoryStore(str(lrb_store[0])), zarr.DirectoryStore(str(copy)))
    group = zarr.open_group(str(copy), mode="r+")
    group["psdAcc"][0] = -1.0          # a done record a redo would overwrite
    group["status"][1] = PENDING       # a record interrupted between its fields and its status
    group["psdAcc"][1] = 7.0
    group["status"][5] = PENDING       # and one that then fails: no stale numbers stay
    group["psdAcc"][5] = 7.0
    seen = []
    summary = run_database(records, "lrb", copy, client=cluster.client, quiet=True,
                           on_record=lambda name, ok: seen.append((name, ok)), **LRB)
    assert (summary.done, summary.failed, summary.skipped) == (1, 1, 4)
    assert sorted(seen) == [("rec1", True), ("rec9", False)]  # a failed record is tried again
    assert (group["psdAcc"][0] == -1.0).all()
    group["psdAcc"][0] = zarr.open_group(str(lrb_store[0]), mode="r")["psdAcc"][0]
    same_store(lrb_store[0], copy)

    with pytest.raises(StoreMismatch, match="other parameters"):
        run_database(records, "lrb", copy, client=cluster.client, quiet=True,
                     **{**LRB, "alpha": 0.2})
    with pytest.raises(StoreMismatch, match="another set of records"):
        run_database(records[:3], "lrb", copy, client=cluster.client, quiet=True, **LRB)


def test_an_interrupted_run_keeps_what_finished_and_resumes_to_the_same_store(
        lrb_store, records, cluster, tmp_path):
    store = tmp_path / "interrupted.zarr"

    def interrupt(name, ok):
        raise KeyboardInterrupt

    with pytest.raises(KeyboardInterrupt):
        run_database(records, "lrb", store, client=cluster.client, quiet=True,
                     on_record=interrupt, **LRB)
    status = zarr.open_group(str(store), mode="r")["status"][:]
    assert (status != PENDING).sum() == 1 and (status == PENDING).sum() == 5
    summary = run_database(records, "lrb", store, client=cluster.client, quiet=True, **LRB)
    assert summary.skipped == 1 and summary.done + summary.failed == 5
    same_store(lrb_store[0], store)


def test_two_component_modules_take_files_in_consecutive_pairs(cluster, records, tmp_path):
    a, b, c, d = records[:4]  # rec4, rec3, rec2, rec1
    summary = run_database([a, b, c, d], "elastic2d", tmp_path / "pairs.zarr",
                           client=cluster.client, quiet=True, periods=(0.1, 2.0, 10),
                           zeta=[0.02, 0.05])
    assert summary.done == 2
    assert_equals_direct(tmp_path / "pairs.zarr", {"rec2+rec1": [c, d], "rec4+rec3": [a, b]},
                         lambda r1, r2: sp.elastic2d(r1, r2, periods=(0.1, 2.0, 10),
                                                     zeta=[0.02, 0.05]))
    dataset = xr.open_zarr(str(tmp_path / "pairs.zarr"))
    assert dataset.file.dims == ("record", "component")
    assert dataset.file.values.tolist() == [[c, d], [a, b]]
    with pytest.raises(ValueError, match="two record files per analysis"):
        run_database(records[:3], "lrb2d", tmp_path / "odd.zarr", client=cluster.client)
    # parameters the module refuses stop the run before any store or task
    with pytest.raises(ValueError, match="alpha must lie between 0 and 1"):
        run_database(records, "lrb", tmp_path / "refused.zarr", client=cluster.client, alpha=5)
    with pytest.raises(ValueError, match="frn"):
        run_database(records, "lrb", tmp_path / "refused.zarr", client=cluster.client, frn=0.1)
    assert not (tmp_path / "refused.zarr").exists()
    # a store path that is some other folder is left as it is, even to replace a store
    precious = tmp_path / "results"
    precious.mkdir()
    (precious / "notes.txt").write_text("keep")
    for resume in (True, False):
        with pytest.raises(ValueError, match="not a database store"):
            run_database(records, "lrb", precious, client=cluster.client, resume=resume, **LRB)
    assert os.listdir(precious) == ["notes.txt"]


def test_constant_ductility_spectra_are_stored_over_the_target_ductilities(cluster, records,
                                                                           tmp_path):
    store = tmp_path / "ductility.zarr"
    options = {"periods": [0.2, 0.6, 1.5], "zeta": [0.02, 0.05]}
    summary = run_database(records[:2], "ductility", store, client=cluster.client, quiet=True,
                           mu=[2, 4], **options)
    assert summary.done == 2
    dataset = xr.open_zarr(str(store))
    assert dataset.yield_strength.dims == ("record", "period", "zeta", "mu")
    for name in ("rec3", "rec4"):
        record = sp.read_record(records[0 if name == "rec4" else 1])
        for mu in (2, 4):
            direct = sp.constant_ductility(record, mu=mu, **options)
            stored = dataset.sel(record=name, mu=mu)
            for field in direct:
                ours = stored["outcome" if field == "status" else field].values
                assert same_values(np.asarray(ours), np.asarray(direct[field])), field


def test_a_worker_killed_mid_run_loses_nothing(cluster, tmp_path):
    """A third worker joins and is killed while it analyses a record (tasks of about a tenth
    of a second each); its records are done by the other two."""
    heavy = {"periods": (0.5, 4.0, 150), "Qd": list(np.linspace(0.05, 0.8, 8))}
    files = [str(write_at2(tmp_path / f"long{i}.AT2", motion(4000, 10 + i))) for i in range(9)]
    cluster.start_worker("victim")
    cluster.client.wait_for_workers(3, timeout=30)
    victim, killed = cluster.address_of("victim"), []

    def kill_victim_while_busy(name, ok):
        if not killed and cluster.client.processing().get(victim):
            cluster.kill_worker("victim")
            killed.append(name)

    summary = run_database(files, "lrb", tmp_path / "killed.zarr", client=cluster.client,
                           quiet=True, on_record=kill_victim_while_busy, **heavy)
    assert killed and summary.done == len(files) and summary.failed == 0
    assert_equals_direct(tmp_path / "killed.zarr", {stem(f): [f] for f in files},
                         lambda r: sp.lrb(r, **heavy))


# Job arrays --------------------------------------------------------------------------------------
def test_shard_outputs_merge_into_the_runs_store(lrb_store, records, tmp_path):
    program = spectra_program()
    for shard in ("1/2", "2/2"):
        subprocess.run([program, "lrb", *records, "--shard", shard, "--out-dir",
                        str(tmp_path / "out"), "--out-format", "json", "--periods", "0.5:4:12",
                        "--qd", "0.2,0.5", "--alpha", "0.1", "--quiet"],
                       capture_output=True, timeout=120)
    merged = tmp_path / "merged.zarr"
    summary = merge_shards([tmp_path / "out"], merged, records=records)
    assert (summary.done, summary.failed) == (5, 1)
    ours, theirs = zarr.open_group(str(lrb_store[0])), zarr.open_group(str(merged))
    for name in ["record", "file", "status", "period", "Qd"] + stored_fields(ours):
        assert same_values(ours[name][...], theirs[name][...]), name
        assert ours[name].attrs["_ARRAY_DIMENSIONS"] == theirs[name].attrs["_ARRAY_DIMENSIONS"]
    assert theirs["error"][-1] == MISSING_OUTPUT
    outputs = sorted(os.listdir(tmp_path / "out"))
    with pytest.raises(ValueError, match="not a database store"):  # the outputs' own folder
        merge_shards([tmp_path / "out"], tmp_path / "out")
    assert sorted(os.listdir(tmp_path / "out")) == outputs

    with pytest.raises(ValueError, match="not among the records given"):
        merge_shards([tmp_path / "out"], tmp_path / "m2.zarr", records=records[1:])
    (tmp_path / "rotd").mkdir()
    (tmp_path / "rotd" / "r.json").write_text('{"measure": "RotD", "source": "r.AT2", '
                                              '"columns": []}')
    with pytest.raises(ValueError, match="RotD, not a module's spectra"):
        merge_shards([tmp_path / "rotd"], tmp_path / "m4.zarr")
    (tmp_path / "out" / "stray.json").write_text("{}")
    with pytest.raises(ValueError, match="stray.json: not a JSON output"):
        merge_shards([tmp_path / "out"], tmp_path / "m3.zarr")


def test_constant_ductility_outputs_of_shards_merge_over_mu(cluster, records, tmp_path):
    program, chosen = spectra_program(), records[:2] + records[-1:]  # rec4, rec3 and the bad one
    for mu in ("2", "4"):
        for shard in ("1/2", "2/2"):
            subprocess.run([program, "inelastic", *chosen, "--mu", mu, "--shard", shard,
                            "--periods", "0.2,0.6,1.5", "--zeta", "0.02,0.05", "--out-dir",
                            str(tmp_path / f"mu{mu}"), "--out-format", "json", "--quiet"],
                           capture_output=True, timeout=120)
    merged = merge_shards([tmp_path / "mu2", tmp_path / "mu4"], tmp_path / "merged.zarr",
                          records=chosen)
    assert (merged.done, merged.failed) == (2, 1)
    run_database(chosen, "ductility", tmp_path / "run.zarr", client=cluster.client, quiet=True,
                 mu=[2, 4], periods=[0.2, 0.6, 1.5], zeta=[0.02, 0.05])
    ours = zarr.open_group(str(tmp_path / "run.zarr"))
    theirs = zarr.open_group(str(tmp_path / "merged.zarr"))
    fields = stored_fields(theirs)
    assert sorted(fields) == ["ductility", "peak_displacement", "reduction_factor",
                              "yield_displacement", "yield_strength"]
    for name in ["record", "status", "period", "zeta", "mu"] + fields:
        assert same_values(ours[name][...], theirs[name][...]), name
        assert dict(ours[name].attrs) == dict(theirs[name].attrs), name
    assert "no output for μ = 2, 4" in theirs["error"][-1]


# The command ------------------------------------------------------------------------------------
def test_the_command_runs_on_a_local_or_given_cluster_and_reports_failures(
        records, cluster, tmp_path, capsys):
    store = str(tmp_path / "cli.zarr")
    command = [sys.executable, "-m", "sdofspectra.db.cli", "run", "--quiet"]
    done = subprocess.run(command + ["--workers", "2", *records, "--module", "elastic",
                                     "--periods", "0.1,0.5,1", "--zeta", "0.02,0.05", "--store",
                                     store],
                          capture_output=True, text=True, timeout=120)
    assert done.returncode == 1 and "rec9: " in done.stderr and "5 done, 1 failed" in done.stderr
    assert_equals_direct(store, {stem(f): [f] for f in records[:5]},
                         lambda r: sp.elastic(r, periods=[0.1, 0.5, 1], zeta=[0.02, 0.05]))
    # inelastic --mu is the largest-strength rule, as in the spectra program
    done = subprocess.run(command + ["--scheduler", cluster.address, records[0], "--module",
                                     "inelastic", "--mu", "2,4", "--periods", "0.5",
                                     "--store", str(tmp_path / "mu.zarr")],
                          capture_output=True, text=True, timeout=120)
    assert done.returncode == 0, done.stderr
    assert xr.open_zarr(str(tmp_path / "mu.zarr")).attrs["command"] == "ductility"

    assert db_main(["run", *records, "--module", "elastic", "--frn", "0.1", "--store",
                    store]) == 2
    assert "--frn does not apply to elastic" in capsys.readouterr().err
    assert db_main(["run", *records, "--module", "inelastic", "--mu", "2,4", "--search",
                    "module", "--store", store]) == 2
    assert "takes one --mu" in capsys.readouterr().err


def test_workers_without_the_package_are_refused_before_any_task(cluster, records, tmp_path):
    """A worker of Debian's python3 in isolated mode: distributed, but not this package."""
    bare_python = subprocess.run(["/usr/bin/python3", "-I", "-c",
                                  "import distributed, sdofspectra"],
                                 capture_output=True, text=True)
    if "No module named 'sdofspectra'" not in bare_python.stderr:
        pytest.skip("needs a Python with distributed and without sdofspectra")
    cluster.start_worker("bare", python=("/usr/bin/python3", "-I"))
    try:
        cluster.client.wait_for_workers(3, timeout=30)
        with pytest.raises(RuntimeError, match="cannot import sdofspectra"):
            run_database(records, "elastic", tmp_path / "none.zarr", client=cluster.client)
    finally:
        cluster.kill_worker("bare")
    assert (zarr.open_group(str(tmp_path / "none.zarr"))["status"][:] == PENDING).all()


def test_the_progress_line_counts_and_estimates_on_a_terminal_only():
    class Terminal:
        def __init__(self, tty):
            self.text, self.tty = "", tty

        def isatty(self):
            return self.tty

        def write(self, text):
            self.text += text

        def flush(self):
            pass

    shown, hidden = Terminal(True), Terminal(False)
    for stream in (shown, hidden):
        progress = Progress(4, stream=stream, interval=0.0)
        progress._start -= 2.0  # two seconds in
        progress.record(True)
        progress.record(False)
        progress.close()
    assert "1 done, 1 failed, 2 remaining, 1 records/s, about 2 s left" in shown.text
    assert hidden.text == ""
    quiet = Terminal(True)
    Progress(1, quiet=True, stream=quiet, interval=0.0).record(True)
    assert quiet.text == ""
