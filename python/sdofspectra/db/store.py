"""The Zarr store of a database: one variable per field over record × period × swept value (the
swept dimension named zeta, frn or Qd; × mu for constant-ductility spectra), per-period fields
over record × period, scalars over record, the record files, and each record's status (pending,
done, failed) with its error text and the module's warnings. Readable with xarray.open_zarr.

Only the process running the database writes: a record's fields first, then its status, so a
record whose status is not "done" was not fully written and is redone when the run resumes.
Field arrays are chunked by a few records (RECORDS_PER_CHUNK): a chunk is written once all of its
records have finished, so that a database of many thousands of records makes tens of files per
chunk rather than per record.
"""

import json
import os

import numpy as np
import numcodecs
import zarr

from .items import Item

PENDING, DONE, FAILED = 0, 1, 2
#: Records per chunk of the status, error and warning arrays (small, rewritten per record).
STATUS_CHUNK = 1024
#: Records per chunk of the field arrays, by default.
RECORDS_PER_CHUNK = 16
#: How the title of every store this package writes begins.
TITLE = "Response spectra database"
_TEXT = {"dtype": object, "object_codec": numcodecs.VLenUTF8()}
# The store's own variables beside the fields.
_OWN = ("record", "component", "file", "status", "error", "warnings")
# Store attributes that must match for a run to resume a store.
_RUN_IDENTITY = ("command", "parameters", "record_reading", "library_version")


class StoreMismatch(ValueError):
    """The store holds another run (other module, parameters, records or library version)."""


def _array(group, name, dims, shape, chunks, attrs, dtype=np.float64, values=None):
    """A new array of the store. Fields (float64) start NaN, xarray's missing value; other arrays
    are written whole with ``values`` at once and have no fill value, so that xarray leaves
    their values (status 0, the text "") as they are."""
    if dtype is object:  # a text field starts "", which xarray shows as missing (NaN)
        fill = "" if values is None else None
        array = group.create_dataset(name, shape=shape, chunks=chunks, fill_value=fill, **_TEXT)
    else:
        fill = np.nan if dtype == np.float64 and values is None else None
        array = group.create_dataset(name, shape=shape, chunks=chunks, dtype=dtype,
                                     fill_value=fill)
    if values is not None:
        array[...] = values
    array.attrs["_ARRAY_DIMENSIONS"] = list(dims)
    array.attrs.update(attrs)
    return array


def layout_of(spectra):
    """What every record shares, from one result (Spectra) of the run's module and parameters:
    the coordinates (name → (values, attrs)) and the fields (name → (dims, attrs, dtype)), the
    fields' dimensions without the record. Fields of text (the outcome of a search) are stored
    as text."""
    dataset = spectra.to_xarray()
    coords = {name: (np.asarray(c.values), dict(c.attrs)) for name, c in dataset.coords.items()}
    fields = {name: (tuple(v.dims), dict(v.attrs), v.dtype) for name, v in
              dataset.data_vars.items()}
    clash = sorted(set(fields) & set(_OWN))
    if clash:
        raise ValueError(f"the field {clash[0]} has the name of the store's own variable")
    return {"coords": coords, "fields": fields}


def is_database(path):
    """Whether ``path`` holds a store this package made (a Zarr group with a database title)."""
    if not os.path.isfile(os.path.join(path, ".zgroup")):
        return False
    try:
        title = zarr.open_group(path, mode="r").attrs.get("title", "")
    except (ValueError, KeyError, OSError):
        return False
    return str(title).startswith(TITLE)


def create_store(path, items, layout, attrs, records_per_chunk=RECORDS_PER_CHUNK):
    """A new store at ``path`` for ``items`` (a list of Item): every field NaN and every record
    pending. Returns the open zarr group. ``path`` must be new, an empty folder or a store of
    this package (which is replaced): Zarr empties the folder first, and a mistyped --store
    must not delete what a folder holds."""
    path = os.fspath(path)
    if os.path.exists(path) and not (os.path.isdir(path) and not os.listdir(path)) \
            and not is_database(path):
        raise ValueError(f"{path} exists and is not a database store: give a new path for the "
                         "store (nothing was changed)")
    group = zarr.open_group(path, mode="w")
    group.attrs.update(attrs)
    count, per = len(items), len(items[0].files)
    record_chunk = min(STATUS_CHUNK, count)
    _array(group, "record", ("record",), (count,), (record_chunk,),
           {"long_name": "record (file stems)"}, object, _texts([i.name for i in items]))
    _array(group, "component", ("component",), (per,), (per,),
           {"long_name": "ground-motion component"}, np.int64, np.arange(1, per + 1))
    for name, (values, coord_attrs) in layout["coords"].items():
        _array(group, name, (name,), values.shape, values.shape, coord_attrs, np.float64,
               values)
    sizes = {name: values.size for name, (values, _) in layout["coords"].items()}
    for name, (dims, field_attrs, dtype) in layout["fields"].items():
        shape = (count,) + tuple(sizes[d] for d in dims)
        _array(group, name, ("record",) + dims, shape, (records_per_chunk,) + shape[1:],
               field_attrs, object if dtype == object else np.float64)
    files = np.empty((count, per), dtype=object)
    files[:] = [list(i.files) for i in items]
    _array(group, "file", ("record", "component"), (count, per), (record_chunk, per),
           {"long_name": "record file"}, object, files)
    _array(group, "status", ("record",), (count,), (record_chunk,),
           {"long_name": "analysis status", "flag_values": [PENDING, DONE, FAILED],
            "flag_meanings": "pending done failed"}, np.int8, np.full(count, PENDING, np.int8))
    for name, words in (("error", "why the record failed"), ("warnings", "the module's warnings")):
        _array(group, name, ("record",), (count,), (record_chunk,), {"long_name": words}, object,
               _texts([""] * count))
    zarr.consolidate_metadata(group.store)
    return group


def _texts(values):
    array = np.empty(len(values), dtype=object)
    array[:] = list(values)
    return array


def open_for_resume(path, items, attrs):
    """The existing store at ``path`` opened for writing, after checking that it holds this run:
    the same command, parameters, record reading, library version and records. StoreMismatch
    (a ValueError) naming what differs otherwise."""
    group = zarr.open_group(str(path), mode="r+")
    for key in _RUN_IDENTITY:
        if group.attrs.get(key) != attrs.get(key):
            raise StoreMismatch(f"{path} holds a run with other {key.replace('_', ' ')} "
                                f"({group.attrs.get(key)!r}, now {attrs.get(key)!r}); give "
                                "another --store, or --fresh to replace it")
    stored = [Item(str(n), tuple(f)) for n, f in zip(group["record"][:], group["file"][:])]
    if stored != list(items):
        raise StoreMismatch(f"{path} holds another set of records ({len(stored)}, now "
                            f"{len(items)}); give another --store, or --fresh to replace it")
    return group


def status_of(group):
    return np.asarray(group["status"][:])


def fields_of(group):
    """Names of the stored field variables (over record × ...)."""
    return [name for name, array in group.arrays()
            if name not in _OWN and array.attrs["_ARRAY_DIMENSIONS"][:1] == ["record"]]


class RecordWriter:
    """Writes the records of a run into an open store a chunk of records at a time: a chunk's
    outcomes are kept until every record of it this run analyses has finished (or until
    ``flush``), then its fields are written, then its records' status. A record is so written
    once and fully before it is marked done; a failed one gets NaN fields ("" for text), so no
    partial data of an interrupted earlier attempt stays."""

    def __init__(self, group, pending):
        self._fields = {name: group[name] for name in fields_of(group)}
        self._error, self._warnings = group["error"], group["warnings"]
        self._status = group["status"]
        self._count = self._status.shape[0]
        self._per_chunk = next(iter(self._fields.values())).chunks[0] if self._fields else 1
        self._waiting = {}     # chunk → records of it still being analysed
        self._finished = {}    # chunk → {record: outcome}
        for index in pending:
            self._waiting.setdefault(int(index) // self._per_chunk, set()).add(int(index))

    def add(self, index, outcome):
        """The outcome of record ``index``: {"fields": mapping of arrays, "console": text} or
        {"error": text}. Writes its chunk when it was the chunk's last."""
        chunk = index // self._per_chunk
        self._finished.setdefault(chunk, {})[index] = outcome
        self._waiting[chunk].discard(index)
        if not self._waiting[chunk]:
            self._write(chunk)

    def flush(self):
        """Writes every outcome received, complete chunks or not (at the end of a run, or when it
        is interrupted)."""
        for chunk in list(self._finished):
            self._write(chunk)

    def _write(self, chunk):
        outcomes = self._finished.pop(chunk, {})
        if not outcomes:
            return
        start = chunk * self._per_chunk
        rows = slice(start, min(start + self._per_chunk, self._count))
        whole = len(outcomes) == rows.stop - rows.start
        for name, array in self._fields.items():
            blank = "" if array.dtype == object else np.nan
            # Records of the chunk analysed before keep their values.
            values = np.full((rows.stop - rows.start,) + array.shape[1:], blank, array.dtype) \
                if whole else array[rows]
            for index, outcome in outcomes.items():
                values[index - start] = outcome["fields"][name] if "fields" in outcome else blank
            array[rows] = values
        status, error, warnings = self._status[rows], self._error[rows], self._warnings[rows]
        for index, outcome in outcomes.items():
            row = index - start
            status[row] = FAILED if "error" in outcome else DONE
            error[row] = outcome.get("error", "")
            warnings[row] = outcome.get("console", "")
        self._error[rows] = error
        self._warnings[rows] = warnings
        self._status[rows] = status


def attrs_text(value):
    """A value as deterministic JSON text (sorted keys), arrays as lists."""
    return json.dumps(_plain(value), sort_keys=True, allow_nan=True)


def _plain(value):
    if isinstance(value, dict):
        return {str(k): _plain(v) for k, v in value.items()}
    if isinstance(value, (list, tuple)):
        return [_plain(v) for v in value]
    if isinstance(value, np.ndarray):
        return _plain(value.tolist())
    if isinstance(value, np.generic):
        return value.item()
    return value
