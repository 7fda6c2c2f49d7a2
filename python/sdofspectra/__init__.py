"""sdofspectra: response spectra of earthquake records from NumPy, on the C++ code of the
library's MEX modules and bit for bit their results.

Modules: elastic (Quorvel), elastic2d (Daskent), inelastic (Morbane), fps (Tillock), fps2d
(Granwick), lrb (Pellory), lrb2d (Vintarrow). Measures: rotd, constant_ductility, resample,
target spectra, suite statistics and scaling. Records: read_record, demo_record.
"""

from . import _core
from ._inputs import PeriodRange, log_periods
from .measures import (ASCE7_SUITE_RULE, EUROCODE8_SUITE_RULE, Asce7Spectrum,
                       Eurocode8DesignSpectrum, Eurocode8Spectrum, SuiteRule, TableSpectrum,
                       arithmetic_mean, asce7_scaling_range, constant_ductility,
                       eurocode8_scaling_range, pair_components, resample, resample_factor, rotd,
                       scale_record, scale_suite, suite_statistics)
from .modules import (ISOLATOR_PERIODS, SHORT_PERIODS, ModuleError, ModuleWarning, Spectra,
                      call_module,
                      elastic, elastic2d, fps, fps2d, inelastic, lrb, lrb2d)
from .plot import plot_history, plot_spectrum
from .records import Record, demo_record, read_record, record_formats
from .result import Result

__version__ = getattr(_core, "__version__", "0")


def thread_count():
    """Threads a call uses when it does not choose: SPECTRA_THREADS, or every core."""
    return _core.thread_count()


__all__ = [
    "elastic", "elastic2d", "inelastic", "fps", "fps2d", "lrb", "lrb2d", "call_module",
    "Spectra", "Result", "ModuleWarning", "ModuleError", "PeriodRange", "log_periods", "SHORT_PERIODS",
    "ISOLATOR_PERIODS", "rotd", "constant_ductility", "resample", "resample_factor",
    "pair_components", "Asce7Spectrum", "Eurocode8Spectrum", "Eurocode8DesignSpectrum",
    "TableSpectrum", "suite_statistics", "arithmetic_mean", "scale_record", "scale_suite",
    "eurocode8_scaling_range", "asce7_scaling_range", "SuiteRule", "ASCE7_SUITE_RULE",
    "EUROCODE8_SUITE_RULE", "Record", "read_record", "demo_record", "record_formats",
    "plot_spectrum", "plot_history", "thread_count",
]
