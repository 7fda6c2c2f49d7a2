"""The work of one item on a worker: read its record file(s) and run the module, returning plain
arrays. Pure: the same item and parameters give the same arrays, so a task the cluster redoes
(after a worker died) changes nothing."""

import warnings

import numpy as np

from .. import modules
from ..records import read_record
from .ductility import ductility_spectra

#: What a run can compute: the seven modules, and "ductility", constant-ductility spectra by the
#: largest-strength rule for one or several target ductilities.
MODULE_FUNCTIONS = {
    "elastic": modules.elastic, "elastic2d": modules.elastic2d, "inelastic": modules.inelastic,
    "fps": modules.fps, "fps2d": modules.fps2d, "lrb": modules.lrb, "lrb2d": modules.lrb2d,
    "ductility": ductility_spectra,
}

# Faults of the record or of its analysis: the item is marked failed at once. Anything else (a
# worker without the package, a passing fault of a network file system) is left to the
# cluster's retries.
RECORD_FAULTS = (ValueError, OSError, MemoryError, ArithmeticError)


def run_module(module, records, params, threads=1):
    """The module's Spectra (or the ductility spectra's Result) for Record objects, its
    warnings kept in ``.console``."""
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", modules.ModuleWarning)
        return MODULE_FUNCTIONS[module](*records, threads=threads, **params)


def analyse_item(module, files, params, read, threads=1):
    """{"fields": {name: array}, "console": text} for an item's files, or {"error": text} when
    a file cannot be read or the module fails on it."""
    try:
        records = [read_record(f, **read) for f in files]
        result = run_module(module, records, params, threads)
    except RECORD_FAULTS as error:
        return {"error": str(error) or type(error).__name__}
    return {"fields": {name: np.asarray(result[name]) for name in result},
            "console": result.console}
