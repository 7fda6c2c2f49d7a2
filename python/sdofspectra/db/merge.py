"""merge_shards: the JSON outputs of ``spectra MODULE --shard I/N --out-dir DIR --out-format
json`` runs (a job array) gathered into one Zarr store of run_database's layout."""

import json
import os

import numpy as np

from .. import _units, modules
from ..records import demo_record
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
        document["source"]
        document["fields" if "fields" in document else "columns"]
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
    the order of their record paths. A module's spectra go in as they are; constant-ductility
    spectra (``spectra inelastic --mu``), one run per target ductility, go in over a ``mu``
    dimension, with the fields the program writes (yield_strength, reduction_factor,
    ductility, peak_displacement, yield_displacement). ``records``: the batch's record files as
    given to the shard runs (in their order, pairs consecutive); records without an output (for
    every μ) are then stored failed. ValueError when the outputs come from different modules,
    units, periods or swept values, or when two outputs hold the same record. Returns a
    RunSummary."""
    from .run import RunSummary

    paths = _output_files(outputs)
    first = _load(paths[0])
    kind = _DuctilityOutputs if "targetDuctility" in first else _ModuleOutputs
    if kind is _ModuleOutputs and "fields" not in first:
        raise ValueError(f"{paths[0]}: {first.get('measure', 'a measure')}, not a module's "
                         "spectra: merge takes a module's spectra or constant-ductility spectra "
                         "(inelastic --mu)")
    sources = {}  # record files → {μ (None for a module): output path}
    for path in paths:
        document = first if path == paths[0] else _load(path)
        _check_same_run(first, document, path)
        files = tuple(document["source"].split(" + "))
        target = document.get("targetDuctility")
        if target in sources.get(files, {}):
            raise ValueError(f"{sources[files][target]} and {path} both hold record "
                             f"'{item_name(files)}': give each shard's output once")
        sources.setdefault(files, {})[target] = path
    outputs_kind = kind(first, sorted({t for s in sources.values() for t in s}))
    items = _items(outputs_kind.command, sources, records)
    group = zstore.create_store(os.fspath(store), items, outputs_kind.layout,
                                {**outputs_kind.attrs, "origin": f"merged from {len(paths)} "
                                 "JSON outputs of spectra --shard runs"})
    writer = zstore.RecordWriter(group, range(len(items)))
    done = 0
    for index, item in enumerate(items):
        found = sources.get(item.files, {})
        missing = [t for t in outputs_kind.targets if t not in found]
        if missing:
            writer.add(index, {"error": outputs_kind.missing(missing)})
            continue
        writer.add(index, {"fields": outputs_kind.fields(found), "console": ""})
        done += 1
    writer.flush()
    return RunSummary(done, len(items) - done, 0, os.fspath(store))


def _run_attrs(command, spectra, units):
    return {**{k: v for k, v in spectra.attrs.items() if k not in ("dt", "samples", "mu")},
            "units": units, "command": command,
            "title": f"{zstore.TITLE}: {command} (merged from spectra --shard)",
            "parameters": "", "record_reading": "", "library_version": ""}


class _ModuleOutputs:
    """Outputs of a module's spectra: one per record, the module's own fields."""

    def __init__(self, first, targets):
        self.targets = targets  # [None]
        self.command = first["command"]
        spectra = _spectra(first)
        self.layout = _layout(first, spectra)
        self.attrs = _run_attrs(self.command, spectra, first["units"]["acceleration"])

    @staticmethod
    def missing(_):
        return MISSING_OUTPUT

    def fields(self, found):
        path = found[None]
        spectra = _spectra(_load(path))
        _check_coords(self.layout, spectra, path)
        return spectra


# The program's columns of a constant-ductility spectrum and the fields they are; Cy and Ay are
# the yield strength over m·g and m.
_DUCTILITY_COLUMNS = {"yield strength fy": "yield_strength", "R": "reduction_factor",
                      "μ reached": "ductility", "u_max": "peak_displacement",
                      "u_y": "yield_displacement"}


def _ductility_table(document, path):
    """(periods, damping ratios, {field: (nT, nζ) array}, {field: unit}) of an output."""
    columns = document.get("columns") or []
    if not columns or columns[0].get("name") != "period T":
        raise ValueError(f"{path}: not a constant-ductility spectrum of the spectra program")
    periods = np.array([_number(v) for v in columns[0]["data"]], dtype=np.float64)
    values, units, zetas = {}, {}, []
    for column in columns[1:]:
        label, _, tag = column["name"].rpartition(" ζ=")
        field = _DUCTILITY_COLUMNS.get(label)
        if field is None:
            continue
        zeta = float(tag)
        if zeta not in zetas:
            zetas.append(zeta)
        values.setdefault(field, []).append([_number(v) for v in column["data"]])
        units[field] = column.get("unit", "")
    arrays = {f: np.array(v, dtype=np.float64).T for f, v in values.items()}
    return periods, np.array(zetas), arrays, units


class _DuctilityOutputs:
    """Outputs of constant-ductility spectra (largest-strength rule), one per record and target
    ductility, stored over period × zeta × mu as run_database's "ductility" stores them."""

    command = "ductility"

    def __init__(self, first, targets):
        from .ductility import ductility_spectra

        self.targets = targets
        self.periods, self.zetas, _, units = _ductility_table(first, "the first output")
        acc_unit = first["units"]["acceleration"]
        probe = ductility_spectra(demo_record(duration=2.0).to(acc_unit), mu=targets,
                                  periods=self.periods, zeta=self.zetas, units=acc_unit)
        layout = zstore.layout_of(probe)
        layout["fields"] = {name: entry for name, entry in layout["fields"].items()
                            if name in units}
        for name, (_, attrs, _) in layout["fields"].items():
            if units[name] not in ("", "-"):
                attrs["units"] = units[name]
        self.layout = layout
        self.attrs = {**_run_attrs(self.command, probe, acc_unit), "kin": first.get("kin"),
                      "iso": first.get("iso"), "mass": first.get("mass")}

    @staticmethod
    def missing(targets):
        return (f"no output for μ = {', '.join(f'{t:g}' for t in targets)} from its shards: "
                "the shard run failed on this record (see that run's log)")

    def fields(self, found):
        tables = {}
        for target in self.targets:
            periods, zetas, arrays, _ = _ductility_table(_load(found[target]), found[target])
            if not (np.array_equal(periods, self.periods) and np.array_equal(zetas, self.zetas)):
                raise ValueError(f"{found[target]}: its periods or damping ratios differ from "
                                 "the other outputs': merge the outputs of one run only")
            tables[target] = arrays
        return {name: np.stack([tables[t][name] for t in self.targets], axis=-1)
                for name in self.layout["fields"]}


def _check_same_run(first, document, path):
    for key in ("module", "command", "units", "measure", "kin", "iso", "mass"):
        if document.get(key) != first.get(key):
            raise ValueError(f"{path}: {key} {document.get(key)!r} differs from the other "
                             f"outputs' {first.get(key)!r}: merge the outputs of one run only")
    if set(document.get("fields", ())) != set(first.get("fields", ())):
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
        path = next(iter(sources[unknown[0].files].values()))
        raise ValueError(f"{path} holds record {unknown[0].files}, which "
                         "is not among the records given: give the batch's record files as "
                         "the shard runs got them")
    return planned
