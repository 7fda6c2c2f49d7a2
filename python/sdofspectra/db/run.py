"""run_database: one module with one set of parameters over many records on a dask.distributed
cluster, every record's spectra written into one Zarr store as its task finishes."""

import os
from dataclasses import dataclass

import numpy as np

from .. import _core
from ..modules import ModuleError
from ..records import demo_record, read_record
from . import store as zstore
from .items import components_of, plan_items
from .progress import Progress
from .task import MODULE_FUNCTIONS, analyse_item, run_module

#: Options of read_record a run may set for its record files.
READ_OPTIONS = ("format", "units", "column", "dt", "channel")
# Inputs of the test analysis that gives the store's layout: a short synthetic record, or the
# first records when the module fails on it.
_PROBE_SECONDS = 2.0
_PROBE_RECORDS = 3
# How long local worker processes may take to start.
_LOCAL_START_SECONDS = 120


@dataclass
class RunSummary:
    """What a run did: records analysed now (done, failed), records the store already held
    (skipped), and the store's path."""

    done: int
    failed: int
    skipped: int
    store: str

    @property
    def total(self):
        return self.done + self.failed + self.skipped


def run_database(records, module, store, *, client=None, scheduler=None, workers=None,
                 read=None, retries=2, resume=True, quiet=False, on_record=None,
                 records_per_chunk=zstore.RECORDS_PER_CHUNK, **params):
    """Runs ``module`` ("elastic", "elastic2d", "inelastic", "fps", "fps2d", "lrb", "lrb2d")
    with the keyword arguments ``params`` of its function (periods, zeta, Qd, units, ...) on
    every record, on a dask.distributed cluster, into the Zarr store ``store``. "ductility" runs
    :func:`constant_ductility` (the largest-strength rule) for every target ductility of
    ``mu`` (a number or a list), stored over period × zeta × mu.

    records: record files and folders (a folder's files sorted by name); a two-component module
    takes them in consecutive pairs (A_x, A_y, B_x, B_y, ...) or as pairs of paths. Records are
    stored in the order of their paths, as ``spectra --shard`` sorts them, named by their file
    stems ("A_x+A_y" for a pair). read: options of :func:`read_record` for every file (format,
    units, column, dt, channel).

    Cluster: ``client`` (a distributed.Client), else ``scheduler`` (address of a running
    scheduler), else a local cluster of ``workers`` processes (default: every core) with one
    thread each. One task per record; a task the cluster loses with its worker is run again
    elsewhere; ``retries`` reruns a task whose worker raised something other than a fault of
    the record itself.

    A record that cannot be read or that the module fails on is marked failed with its error,
    and the run goes on. With ``resume`` (the default) an existing store of the same run is
    continued: records already done are skipped; a store of another run is a ValueError. Without
    it, the store is replaced. on_record(name, ok) is called as each record finishes.
    records_per_chunk: records per chunk of the field arrays of a new store; a chunk is written
    once its records have finished (and at the end, or when the run is interrupted).

    Returns a RunSummary. Open the store with ``xarray.open_zarr(store)``.
    """
    if module not in MODULE_FUNCTIONS:
        raise ValueError(f"module: '{module}' is not one of {', '.join(MODULE_FUNCTIONS)}")
    read = _read_options(read)
    items = plan_items(records, module)
    layout, probe_attrs = _layout(module, params, items, read)
    attrs = _store_attrs(module, params, read, probe_attrs)
    path = os.fspath(store)
    group = _open_store(path, items, layout, attrs, resume, records_per_chunk)
    pending = np.flatnonzero(zstore.status_of(group) != zstore.DONE)
    skipped = len(items) - pending.size
    if not pending.size:
        return RunSummary(0, 0, skipped, path)
    with _cluster(client, scheduler, workers) as active:
        _check_workers(active)
        progress = Progress(pending.size, quiet)
        try:
            _run(active, group, items, pending, module, params, read, retries, progress,
                 on_record)
        finally:
            progress.close()
    return RunSummary(progress.done, progress.failed, skipped, path)


def _read_options(read):
    read = dict(read or {})
    unknown = sorted(set(read) - set(READ_OPTIONS))
    if unknown:
        raise ValueError(f"read: unknown option {', '.join(unknown)}; the options are "
                         f"{', '.join(READ_OPTIONS)}")
    return {k: v for k, v in read.items() if v is not None}


def _layout(module, params, items, read):
    """The store's layout from the module run with ``params`` on a short synthetic record (or,
    should the module fail on it, as a search may, on the first records); a ValueError before
    any work when the parameters are refused."""
    probes = [[demo_record(duration=_PROBE_SECONDS, component=c)
               for c in range(components_of(module))]]
    first_error = None
    for attempt, item in enumerate([None] + list(items[:_PROBE_RECORDS])):
        try:
            records = probes[0] if item is None else [read_record(f, **read) for f in item.files]
            spectra = run_module(module, records, params)
        except (TypeError, ValueError, OSError) as error:
            # The package's own checks refuse parameters whatever the record; the module may
            # fail on one record and not on another.
            refused = isinstance(error, TypeError) or (attempt == 0 and
                                                       not isinstance(error, ModuleError))
            if refused:
                raise ValueError(f"{module}: {error}") from None
            first_error = first_error or error
            continue
        attrs = {k: v for k, v in spectra.attrs.items() if k not in ("dt", "samples")}
        return zstore.layout_of(spectra), attrs
    raise ValueError(f"{module}: the parameters work neither on a test record nor on the first "
                     f"records: {first_error}")


def _store_attrs(module, params, read, probe_attrs):
    return {
        **probe_attrs,
        "title": f"{zstore.TITLE}: {module} "
                 f"({probe_attrs.get('model') or probe_attrs.get('measure', '')})",
        "command": module,
        "parameters": zstore.attrs_text(params),
        "record_reading": zstore.attrs_text(read),
        "library_version": getattr(_core, "__version__", ""),
    }


def _open_store(path, items, layout, attrs, resume, records_per_chunk):
    if resume and zstore.is_database(path):
        return zstore.open_for_resume(path, items, attrs)
    return zstore.create_store(path, items, layout, attrs, records_per_chunk)


class _cluster:
    """The client to run on: the one given, one of a running scheduler, or a local cluster of
    processes with one thread each; closes what it opened."""

    def __init__(self, client, scheduler, workers):
        self._given, self._scheduler, self._workers = client, scheduler, workers
        self._opened = []

    def __enter__(self):
        if self._given is not None:
            return self._given
        from distributed import Client, LocalCluster

        if self._scheduler:
            client = Client(self._scheduler)
            self._opened.insert(0, client)
            return client
        count = self._workers or os.cpu_count() or 1
        cluster = LocalCluster(n_workers=count, threads_per_worker=1, processes=True,
                               dashboard_address=":0")
        self._opened.append(cluster)
        client = Client(cluster)
        self._opened.insert(0, client)
        try:  # workers that cannot start leave a cluster without workers, waiting for ever
            client.wait_for_workers(count, timeout=_LOCAL_START_SECONDS)
        except TimeoutError:
            self.__exit__()
            raise RuntimeError(
                "the local worker processes did not start; from a script, call run_database "
                "under if __name__ == \"__main__\": (they import the script again)") from None
        return client

    def __exit__(self, *exc):
        for opened in self._opened:
            opened.close()


def _library_version():
    from sdofspectra import _core as core  # on the worker

    return getattr(core, "__version__", "")


def _check_workers(client):
    """A RuntimeError, before any task, when a worker cannot run this library or runs another
    version of it: every record would fail, or the store would mix versions."""
    try:
        versions = client.run(_library_version)
    except Exception as error:  # the worker could not even load the function
        raise RuntimeError(f"a worker cannot import sdofspectra ({type(error).__name__}: "
                           f"{error}); install the package where the workers run") from None
    mine = getattr(_core, "__version__", "")
    other = {address: v for address, v in versions.items() if v != mine}
    if other:
        address, version = next(iter(other.items()))
        raise RuntimeError(f"the worker at {address} runs sdofspectra {version}, this process "
                           f"{mine}: install the same version everywhere")


def _run(client, group, items, pending, module, params, read, retries, progress, on_record):
    """Submits one task per pending record at once and writes each outcome as its result comes
    in (the results are fetched in the background, not one round trip after another)."""
    from dask.base import tokenize
    from distributed import as_completed

    chosen = [items[i] for i in pending]
    keys = [f"sdofspectra-{item.name}-{tokenize(module, item.files, params, read)}"
            for item in chosen]
    index_of = {key: int(i) for key, i in zip(keys, pending)}
    count = len(chosen)
    futures = client.map(analyse_item, [module] * count, [item.files for item in chosen],
                         [params] * count, [read] * count, key=keys, retries=retries,
                         pure=False)
    finished = as_completed(futures, with_results=True, raise_errors=False)
    del futures  # a result is released as soon as it is written
    writer = zstore.RecordWriter(group, pending)
    try:
        for future, result in finished:
            index = index_of[future.key]
            outcome = _outcome(future, result, items[index])
            future.release()
            writer.add(index, outcome)
            progress.record("error" not in outcome)
            if on_record is not None:
                on_record(items[index].name, "error" not in outcome)
    finally:  # also when interrupted: what finished is kept
        writer.flush()


def _outcome(future, result, item):
    """The outcome of a record from what as_completed gave. A result fetched is kept even when
    its worker died just after (the future then says "lost"): the task is pure."""
    if isinstance(result, dict):
        return result
    if isinstance(result, tuple) and len(result) == 3 and isinstance(result[1], BaseException):
        error = result[1]  # raised after the retries, or its workers kept dying
        return {"error": f"{type(error).__name__}: {error}"}
    raise RuntimeError(f"the cluster dropped the task of record '{item.name}' "
                       f"({future.status}); the store keeps every record written so far: run "
                       "again to resume")
