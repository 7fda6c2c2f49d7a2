"""merge_shards: the JSON outputs of ``spectra MODULE --shard I/N --out-dir DIR --out-format
json`` runs (a job array) gathered into one Zarr store of run_database's layout."""

import json
import os

import numpy as np

from .. import _units, modules
from . import store as zstore
from .items import expand_paths, item_name, plan_items, sorted_items

# The program writes NaN and infinities as text, JSON having no numbers for them.
_SPECIAL = {"NaN": np.nan, "Infinity": np.inf, "-Infinity": -np.inf}
MISSING_OUTPUT = ("no output from its shard: the shard run failed on this record (see that "
                  "run's log)")


def _number(value):
    return _SPECIAL[value] if isinstance(value, str) else value


def _load(path):
    try:
        with open(path, encoding="utf-8") as stream:
            document = json.load(stream)
        document["fields"]
        document["source"]
    except (OSError, ValueError, KeyError, TypeError) as error:
        raise ValueError(f"{path}: not a JSON output of the spectra program ({error}); give "
                         "the files written by --out-format json") from None
    return document


def _raw_fields(document):
    """The fields as the module's gateway gives them: 2-D float64 arrays."""
    return {name: np.array([[_number(v) for v in row] for row in field["data"]],
                           dtype=np.float64).reshape(field["shape"])
            for name, field in document["fields"].items()}


def _gateway_key(document):
    if document["module"] == "Tillock" and "W" in document["fields"]:
        return "Tillock/weight"
    return document["module"]


def _spectra(document):
    """A Spectra of the document's fields, in the document's units."""
    units = document["units"]
    return modules._spectra(_gateway_key(document), _raw_fields(document), "",
                            _units.unit(units["acceleration"]),
                            {"units": units["acceleration"]}, units["force"])


def _layout(document, spectra):
    layout = zstore.layout_of(spectra)
    stated = {name: field.get("unit", "") for name, field in document["fields"].items()}
    attrs_of = {name: entry[1] for part in ("fields", "coords")
                for name, entry in layout[part].items()}
    for name, attrs in attrs_of.items():
        if stated.get(name):  # the program's unit of the field, which --vel-units etc. set
            attrs["units"] = stated[name]
    return layout


def _output_files(outputs):
    files = [f for f in expand_paths(outputs) if f.endswith(".json")]
    if not files:
        raise ValueError("no JSON outputs among the paths given: run the shards with "
                         "--out-format json")
    return files


def merge_shards(outputs, store, *, records=None):
    """Gathers the per-record JSON outputs of ``spectra ... --shard I/N`` runs (files, or the
    folders holding them) into a new Zarr store ``store`` of run_database's layout: records in
    the order of their record paths, each done. ``records``: the batch's record files as given
    to the shard runs (in their order, pairs consecutive); records without an output are then
    stored failed. ValueError when the outputs come from different modules, units, periods or
    swept values, or when two outputs hold the same record. Returns a RunSummary."""
    from .run import RunSummary

    paths = _output_files(outputs)
    first = _load(paths[0])
    command = first["command"]
    layout = _layout(first, _spectra(first))
    sources = {}
    for path in paths:
        document = first if path == paths[0] else _load(path)
        _check_same_run(first, document, path)
        files = tuple(document["source"].split(" + "))
        if files in sources:
            raise ValueError(f"{sources[files]} and {path} both hold record "
                             f"'{item_name(files)}': give each shard's output once")
        sources[files] = path
    items = _items(command, sources, records)
    spectra = _spectra(first)
    attrs = {"module": spectra.attrs["module"], "model": _model(spectra), "units":
             first["units"]["acceleration"], "command": command,
             "title": f"Response spectra database: {command} (merged from spectra --shard)",
             "parameters": "", "record_reading": "", "library_version": "",
             "origin": f"merged from {len(paths)} JSON outputs of spectra --shard runs"}
    group = zstore.create_store(os.fspath(store), items, layout, attrs)
    writer = zstore.RecordWriter(group, range(len(items)))
    for index, item in enumerate(items):
        path = sources.get(item.files)
        if path is None:
            writer.add(index, {"error": MISSING_OUTPUT})
            continue
        fields = _spectra(_load(path))
        _check_coords(layout, fields, path)
        writer.add(index, {"fields": fields, "console": ""})
    writer.flush()
    failed = len(items) - len(sources)
    return RunSummary(len(sources), failed, 0, os.fspath(store))


def _model(spectra):
    return spectra.attrs.get("model", "")


def _check_same_run(first, document, path):
    for key in ("module", "command", "units"):
        if document.get(key) != first.get(key):
            raise ValueError(f"{path}: {key} {document.get(key)!r} differs from the other "
                             f"outputs' {first.get(key)!r}: merge the outputs of one run only")
    if set(document["fields"]) != set(first["fields"]):
        raise ValueError(f"{path}: other fields than the other outputs: merge the outputs of "
                         "one run only")


def _check_coords(layout, spectra, path):
    for name, (values, _) in layout["coords"].items():
        if not np.array_equal(np.asarray(spectra.coords[name]), values, equal_nan=True):
            raise ValueError(f"{path}: its {name} values differ from the other outputs': "
                             "merge the outputs of one run only")


def _items(command, sources, records):
    found = sorted_items(sources)
    if records is None:
        return found
    planned = plan_items(records, command)
    known = set(planned)
    unknown = [i for i in found if i not in known]
    if unknown:
        raise ValueError(f"{sources[unknown[0].files]} holds record {unknown[0].files}, which "
                         "is not among the records given: give the batch's record files as "
                         "the shard runs got them")
    return planned
