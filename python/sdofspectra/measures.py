"""The measures beside the modules: RotD spectra, constant-ductility spectra by the
largest-strength rule, band-limited resampling, design and tabulated target spectra, suite
statistics and amplitude scaling, all computed by the library's C++ code."""

import numpy as np

from . import _core, _inputs, _units
from .modules import SHORT_PERIODS, _pair, _record
from .result import Result

__all__ = ["rotd", "constant_ductility", "resample", "resample_factor", "pair_components",
           "Asce7Spectrum", "Eurocode8Spectrum", "Eurocode8DesignSpectrum", "TableSpectrum",
           "suite_statistics", "arithmetic_mean", "scale_record", "scale_suite",
           "eurocode8_scaling_range", "asce7_scaling_range", "SuiteRule", "ASCE7_SUITE_RULE",
           "EUROCODE8_SUITE_RULE"]

Asce7Spectrum = _core.Asce7Spectrum
Eurocode8Spectrum = _core.Eurocode8Spectrum
Eurocode8DesignSpectrum = _core.Eurocode8DesignSpectrum
TableSpectrum = _core.TableSpectrum


def _explicit_periods(periods):
    """Periods as an array: a range (start, stop, count) is generated as the modules generate it
    (a running sum of equal steps), so that measures and modules share their periods."""
    if isinstance(periods, tuple):
        start, stop, count = (float(_inputs.scalar(v, "periods")) for v in periods)
        if not count >= 1:
            raise ValueError(f"periods: the count must be at least 1, got {count:g}")
        values = np.empty(int(count))
        step = (stop - start) / (int(count) - 1) if int(count) > 1 else float("inf")
        values[0] = start
        for i in range(1, values.size):
            values[i] = step + values[i - 1]
        return values
    return _inputs.vector(periods, "periods")


def _coord(words, unit, symbol=""):
    attrs = {"long_name": words, "units": unit}
    if symbol:
        attrs["symbol"] = symbol
    return attrs


def rotd(acc1, acc2, dt=None, *, periods=SHORT_PERIODS, zeta=0.05, percentiles=(0, 50, 100),
         angle_step=1.0, units="m/s2", threads=None):
    """Orientation-independent elastic spectra of two horizontal components: RotDnn (Boore 2010),
    GMRotI50 (Boore et al. 2006) and the geometric mean of the as-recorded components.

    acc1, acc2: the components, shape (n1,), (n2,), in ``units`` (or two Records); dt [s];
    periods T [s] (array or range); zeta: damping ratios; percentiles: the nn of RotDnn (0 … 100);
    angle_step: step of the rotation angles [°] (0.001 … 90); threads: for this call.

    Returns a Result with ``sd``, ``psv``, ``psa`` of shape (npercentile, nT, nζ) (RotDnn of
    displacement, pseudo-velocity, pseudo-acceleration), ``sd_at_angle`` (nangle, nT, nζ),
    ``angle_rotd00``, ``angle_rotd100`` [°], ``geomean_*``, ``gmroti50_*``, ``gmrotd50_sd`` of
    shape (nT, nζ) and ``gmroti50_angle`` (nζ,). ``r.psa.sel``-style selection via
    ``r.to_xarray()``, e.g. ``ds.psa.sel(percentile=50)`` is RotD50.
    """
    a1, a2, step, unit = _pair(acc1, acc2, dt, units)
    T = _explicit_periods(periods)
    out = _core.rotd(a1, a2, float(step), T, _inputs.vector(zeta, "zeta"),
                     _inputs.vector(percentiles, "percentiles"), float(angle_step),
                     _inputs.threads(threads))
    force = _units.force_unit(unit)
    sd_unit = _units.describe("dsp", unit, force)[0]
    psv_unit = _units.describe("psdVel", unit, force)[0]
    psa_unit = _units.describe("psdAcc", unit, force)[0]
    spec = {
        "sd": (("percentile", "period", "zeta"), sd_unit, "RotDnn of spectral displacement", "Sd"),
        "psv": (("percentile", "period", "zeta"), psv_unit,
                "RotDnn of pseudo-spectral velocity", "PSV"),
        "psa": (("percentile", "period", "zeta"), psa_unit,
                "RotDnn of pseudo-spectral acceleration", "PSA"),
        "angle_rotd00": (("period", "zeta"), "degree", "angle of RotD00", "θ00"),
        "angle_rotd100": (("period", "zeta"), "degree", "angle of RotD100", "θ100"),
        "sd_at_angle": (("angle", "period", "zeta"), sd_unit,
                        "peak displacement at the rotation angle", "Sd(θ)"),
        "geomean_sd": (("period", "zeta"), sd_unit,
                       "geometric mean of the components' spectral displacements", "GM Sd"),
        "geomean_psv": (("period", "zeta"), psv_unit,
                        "geometric mean of the components' pseudo-spectral velocities", "GM PSV"),
        "geomean_psa": (("period", "zeta"), psa_unit,
                        "geometric mean of the components' pseudo-spectral accelerations",
                        "GM PSA"),
        "gmroti50_sd": (("period", "zeta"), sd_unit, "GMRotI50 of spectral displacement", "Sd"),
        "gmroti50_psv": (("period", "zeta"), psv_unit, "GMRotI50 of pseudo-spectral velocity",
                         "PSV"),
        "gmroti50_psa": (("period", "zeta"), psa_unit,
                         "GMRotI50 of pseudo-spectral acceleration", "PSA"),
        "gmrotd50_sd": (("period", "zeta"), sd_unit, "GMRotD50 of spectral displacement", "Sd"),
        "gmroti50_angle": (("zeta",), "degree", "angle θI of GMRotI50", "θI"),
    }
    coords = {"percentile": out["percentiles"], "period": out["periods"], "zeta": out["zeta"],
              "angle": out["angles"]}
    coord_attrs = {"percentile": _coord("percentile nn of RotDnn", "1"),
                   "period": _coord("period", "s", "T"),
                   "zeta": _coord("damping ratio", "1", "ζ"),
                   "angle": _coord("rotation angle", "degree", "θ")}
    attrs = {"measure": "RotD", "dt": float(step), "units": unit["name"],
             "angle_step": float(angle_step), "samples": int(min(a1.size, a2.size)),
             "library_version": getattr(_core, "__version__", "")}
    title = "RotD spectra of two horizontal components (RotDnn, GMRotI50, geometric mean)"
    return Result(title, {n: out[n] for n in spec}, {n: s[0] for n, s in spec.items()}, coords,
                  {n: s[1] for n, s in spec.items()}, {n: s[3] for n, s in spec.items()},
                  {n: s[2] for n, s in spec.items()}, attrs, coord_attrs,
                  ("percentile", "period", "zeta"))


def constant_ductility(acc, dt=None, *, mu, periods=SHORT_PERIODS, zeta=0.05, kin=0.0, iso=0.0,
                       mass=1.0, search=None, units="m/s2", threads=None):
    """Constant-ductility spectrum by the largest-strength rule: for each period and damping
    ratio the largest yield strength whose ductility demand reaches the target ``mu`` (each trial
    exactly the inelastic module's analysis with that yield force).

    acc, dt, periods, zeta, mass, units, threads as for :func:`elastic`; kin, iso: hardening
    ratios; search: settings of the search of R, a dict with any of scan_factor (1.1),
    fine_scan_factor (1.02), near_fraction (0.8), r_max (100), tolerance (1e-3).

    Returns a Result of (nT, nζ) arrays: ``yield_strength`` fy [force], ``reduction_factor`` R,
    ``yield_displacement`` uy, ``ductility`` μ reached, ``peak_displacement``,
    ``elastic_force`` F_el, ``largest_ductility``, ``trials``, ``failed_trials``, and ``status``
    ("reached", "not reached", "trials failed"); ``warnings`` lists the oscillators without a
    solution (NaN values).
    """
    ag, step, unit = _record(acc, dt, units, "acc")
    out = _core.constant_ductility(ag, float(step), _explicit_periods(periods),
                                   _inputs.vector(zeta, "zeta"),
                                   float(_inputs.scalar(mass, "mass")),
                                   float(_inputs.scalar(kin, "kin")),
                                   float(_inputs.scalar(iso, "iso")),
                                   float(_inputs.scalar(mu, "mu")), dict(search or {}),
                                   _inputs.threads(threads))
    T = _explicit_periods(periods)
    zetas = _inputs.vector(zeta, "zeta")
    force = _units.force_unit(unit)
    named = {  # field: the library's quantity it is, its words
        "yield_strength": ("yieldFrc", "yield strength"),
        "reduction_factor": ("RFact", "strength reduction factor"),
        "yield_displacement": ("yieldDsp", "yield displacement"),
        "ductility": ("muFact", "ductility reached"),
        "peak_displacement": ("dsp", "peak displacement of the inelastic system"),
        "elastic_force": ("rFrc", "peak restoring force of the elastic system"),
        "largest_ductility": ("muFact", "largest ductility of any converged trial"),
        "trials": (None, "analyses run by the search"),
        "failed_trials": (None, "analyses that did not converge"),
    }
    arrays, units, symbols, words = {}, {}, {}, {}
    for name, (quantity, text) in named.items():
        arrays[name] = out[name]
        unit_text, symbol, _ = _units.describe(quantity, unit, force) if quantity else ("1", "", "")
        units[name], symbols[name], words[name] = unit_text, symbol, text
    arrays["status"] = np.array(out["status"], dtype=object).reshape(T.size, zetas.size,
                                                                     order="F")
    units["status"], symbols["status"], words["status"] = "", "", "outcome of the search"
    dims = {name: ("period", "zeta") for name in arrays}
    attrs = {"measure": "constant ductility (largest strength)", "mu": float(mu),
             "dt": float(step), "units": unit["name"], "mass": float(mass), "kin": float(kin),
             "iso": float(iso), "library_version": getattr(_core, "__version__", "")}
    result = Result(f"Constant-ductility spectrum, μ = {float(mu):g} (largest strength)",
                    arrays, dims, {"period": T, "zeta": zetas}, units, symbols, words, attrs,
                    {"period": _coord("period", "s", "T"),
                     "zeta": _coord("damping ratio", "1", "ζ")}, ("period", "zeta"))
    result.warnings = list(out["warnings"])
    return result


def resample(acc, factor):
    """The record at the step dt/factor by band-limited (FFT) interpolation: (n − 1)·factor + 1
    samples, sample k·factor being input sample k exactly. factor ≥ 1 (1 returns the record)."""
    from .records import Record

    if isinstance(acc, Record):
        return Record(_core.resample(_inputs.vector(acc.acc, "acc"), int(factor)),
                      acc.dt / int(factor), acc.units, dict(acc.metadata))
    return _core.resample(_inputs.vector(acc, "acc"), int(factor))


def resample_factor(dt, shortest_period):
    """The smallest factor L ≥ 1 with dt/L ≤ shortest_period/10."""
    return _core.resample_factor(float(dt), float(shortest_period))


def pair_components(acc1, dt1, acc2, dt2):
    """Two components brought to one step: unchanged when the steps are equal, the coarser one
    resampled when its step is a whole multiple of the finer. Returns (acc1, acc2, dt)."""
    out = _core.pair_components(_inputs.vector(acc1, "acc1"), float(dt1),
                                _inputs.vector(acc2, "acc2"), float(dt2))
    return out["acc1"], out["acc2"], out["dt"]


def _suite(sa, names):
    matrix = [list(map(float, _inputs.vector(row, "sa"))) for row in sa]
    names = list(names) if names is not None else [f"record {i + 1}" for i in range(len(matrix))]
    return names, matrix


def suite_statistics(periods, sa, names=None):
    """Per period, over the records' Sa [g] (one row per record, one column per period): the
    log-mean exp(mean ln Sa), the standard deviation of ln Sa (divisor N − 1) and the ±1σ
    spectra. Returns a dict of arrays (nT,): log_mean, ln_sigma, minus_sigma, plus_sigma."""
    names, matrix = _suite(sa, names)
    return _core.suite_statistics(list(map(float, _inputs.vector(periods, "periods"))), names,
                                  matrix)


def arithmetic_mean(periods, sa, names=None):
    """Arithmetic mean of Sa per period over the records (the codes' suite mean), shape (nT,)."""
    names, matrix = _suite(sa, names)
    return _core.arithmetic_mean(list(map(float, _inputs.vector(periods, "periods"))), names,
                                 matrix)


def scale_record(periods, sa, target, period_range, name="record"):
    """Amplitude factor f minimising Σ (ln target − ln f·Sa)² over the periods inside
    period_range = (shortest, longest) [s]. Returns a dict: name, factor, misfit, periods_used."""
    shortest, longest = period_range
    return _core.scale_record(list(map(float, _inputs.vector(periods, "periods"))), name,
                              list(map(float, _inputs.vector(sa, "sa"))), target,
                              float(shortest), float(longest))


def scale_suite(periods, sa, target, period_range, fraction=0.9, names=None):
    """Each record scaled by its own least-squares factor, then one common factor ≥ 1 so that the
    suite's arithmetic mean stays at or above fraction × target over period_range. Returns a dict:
    records (each record's scaling), common_factor, factors, binding_period, ratio_before,
    ratio_after."""
    names, matrix = _suite(sa, names)
    shortest, longest = period_range
    return _core.scale_suite(list(map(float, _inputs.vector(periods, "periods"))), names, matrix,
                             target, float(shortest), float(longest), float(fraction))


def eurocode8_scaling_range(t1):
    """EN 1998-1 §3.2.3.1.2(4): (0.2·T1, 2·T1) [s]."""
    return _core.eurocode8_scaling_range(float(t1))


def asce7_scaling_range(t1x, t1y):
    """ASCE/SEI 7-16 §16.2.3: 20 % of the smaller to twice the larger first-mode period [s]."""
    return _core.asce7_scaling_range(float(t1x), float(t1y))


class SuiteRule(tuple):
    """A code's rule for a suite: (name, fraction, minimum_records)."""

    name = property(lambda self: self[0])
    fraction = property(lambda self: self[1])
    minimum_records = property(lambda self: self[2])


ASCE7_SUITE_RULE = SuiteRule(_core.suite_rule("asce7"))
EUROCODE8_SUITE_RULE = SuiteRule(_core.suite_rule("eurocode8"))
