"""The seven modules as Python functions: keyword arguments with the command-line program's
defaults, inputs checked and converted, the call made through the module's own gateway, and the
output structure returned as a Spectra result."""

import os
import warnings
from functools import lru_cache

import numpy as np

from . import _core, _inputs, _units
from .records import Record
from .result import Result

__all__ = ["Spectra", "ModuleWarning", "ModuleError", "call_module", "elastic", "elastic2d", "inelastic", "fps",
           "fps2d", "lrb", "lrb2d", "SHORT_PERIODS", "ISOLATOR_PERIODS"]

#: Default periods of the elastic and inelastic modules: 100 from 0.05 s to 5 s.
SHORT_PERIODS = _inputs.PeriodRange(0.05, 5.0, 100)
#: Default periods of the isolators: 56 from 0.5 s to 6 s.
ISOLATOR_PERIODS = _inputs.PeriodRange(0.5, 6.0, 56)

_DEFAULT_UY_METRES = 0.001       # pre-sliding displacement of fps and fps2d
_DEFAULT_QD_SHARE = 0.05         # Qd of lrb and lrb2d as a share of the weight m·g
_DEFAULT_ALPHA = 0.1
_WEIGHT_VARIANT_UNIT = "in/s2"   # the weight variant's gravity is fixed at 386.1 in/s²

_SUMMARIES = {
    "Quorvel": ("elastic", "linear elastic oscillator"),
    "Daskent": ("elastic2d", "linear elastic oscillator, two components"),
    "Morbane": ("inelastic", "inelastic oscillator with hardening"),
    "Tillock": ("fps", "friction-pendulum isolator"),
    "Tillock/weight": ("fps", "friction-pendulum isolator, weight variant (g = 386.1 in/s2)"),
    "Granwick": ("fps2d", "friction-pendulum isolator, two components"),
    "Pellory": ("lrb", "lead-rubber-bearing isolator"),
    "Vintarrow": ("lrb2d", "lead-rubber-bearing isolator, two components"),
}


class ModuleWarning(UserWarning):
    """A warning the module printed, e.g. an integration that did not converge."""


class ModuleError(ValueError):
    """A module refused its inputs or failed: ``module_text`` is the module's own error text
    (as in Octave or MATLAB), ``console`` what it printed before, e.g. the ductility its search
    reached. The message holds both."""

    def __init__(self, module_text, console=""):
        message = module_text + ("\n" + console.rstrip("\n") if console else "")
        super().__init__(message)
        self.module_text = module_text
        self.console = console


def _checked(key, args, threads):
    fields, console, error = _core.call(key, args, threads)
    if error:
        raise ModuleError(error, console)
    return fields, console


@lru_cache(maxsize=None)
def _signature(key):
    return _core.signature(key)


def call_module(module, *args, threads=None):
    """Calls a module's gateway exactly as Octave or MATLAB would: ``module`` is its name
    ("Quorvel", ..., "Tillock/weight" for the weight variant), ``args`` its inputs in calling order
    (array-likes of real numbers or str). Returns (fields, console): every field of the output
    structure as a 2-D float64 array of the shape the module gave it, and the console text.
    The module's errors raise ModuleError (a ValueError) with its own text."""
    converted = [a if isinstance(a, str) else _as_matrix(a, f"input {i + 1}")
                 for i, a in enumerate(args)]
    return _checked(module, converted, _inputs.threads(threads))


def _as_matrix(value, name):
    array = _inputs._real(value, name)
    if array.ndim > 2:
        raise ValueError(f"{name}: at most two dimensions, got shape {array.shape}")
    return np.asarray(array, dtype=np.float64)


class Spectra(Result):
    """Response spectra of one module call.

    Fields are NumPy arrays named as the module names them: matrices ``(nT, nSwept)`` (row i ↔
    period ``T[i]``, column j ↔ swept value j) such as ``dsp``, ``psdAcc``; per-period columns
    ``f`` and ``T`` as 1-D arrays; scalars (``pga``, ``mass`` or ``W``) as NumPy floats; the swept
    values (``zeta``, ``frn`` or ``Qd``) as a 1-D array. Units follow the acceleration unit of the
    call (``units``; see ``Spectra.units``).
    """

    @property
    def module(self):
        """The module's name, e.g. "Quorvel"."""
        return self.attrs["module"]

    @property
    def swept(self):
        """Name of the swept parameter and dimension: "zeta", "frn" or "Qd"."""
        return self._main_dims[1]

    @property
    def periods(self):
        """The periods T [s], shape (nT,)."""
        return self.coords["period"]

    @property
    def console(self):
        """What the module printed (its warnings), "" when nothing."""
        return self._console


def _normalise(field, shape, is_swept):
    """A raw field in the form users work with: scalars (pga, the mass or weight) as NumPy
    floats, the swept values and per-period columns 1-D, matrices (nT, nSwept)."""
    if shape == "matrix":
        return field
    if shape in ("scalar", "echo") and not is_swept and field.size == 1:
        return np.float64(field[0, 0])
    return field[:, 0] if field.shape[1] == 1 else field.reshape(-1, order="F")


@lru_cache(maxsize=None)
def _layout(key, unit_name, force):
    """What every call of a module in one unit shares: the swept name, each field's shape,
    dimensions, unit, symbol and words, the coordinates' attributes and the title."""
    signature = _signature(key)
    acc_unit = _units.unit(unit_name)
    swept = next(i["name"] for i in signature["inputs"] if i["kind"] == "swept")
    shapes, dims, units, symbols, words = {}, {}, {}, {}, {}
    for info in signature["fields"]:
        name, shape = info["name"], info["shape"]
        shapes[name] = shape
        dims[name] = {"matrix": ("period", swept), "periods": ("period",),
                      "per_period": ("period",)}.get(shape, (swept,) if name == swept else ())
        units[name], symbols[name], words[name] = _units.describe(name, acc_unit, force)
    coord_attrs = {
        "period": {"units": "s", "long_name": words["T"], "symbol": symbols["T"]},
        swept: {"units": units[swept], "long_name": words[swept], "symbol": symbols[swept]},
    }
    command, summary = _SUMMARIES[key]
    title = f"Spectra from {signature['module']} ({command}: {summary})"
    return swept, shapes, dims, units, symbols, words, coord_attrs, title, summary


def _spectra(key, fields, console, acc_unit, attrs, force):
    swept, shapes, dims, units, symbols, words, coord_attrs, title, summary = _layout(
        key, acc_unit["name"], force)
    arrays = {name: _normalise(fields[name], shape, name == swept)
              for name, shape in shapes.items()}
    result = Spectra(title, arrays, dims, {"period": arrays["T"], swept: arrays[swept]}, units,
                     symbols, words, {"module": _signature(key)["module"], "model": summary,
                                      **attrs},
                     coord_attrs, ("period", swept), coordinate_fields=("T",))
    result._console = console
    return result


def _run(key, values, periods, threads, acc_unit, attrs, force=None):
    """Calls the module with the inputs of its declared calling form, taken by name from
    ``values`` (the periods from ``periods``), and wraps the output."""
    signature = _signature(key)
    args, sizes = [], {"record": 0, "swept": 1, "periods": 0}
    for info in signature["inputs"]:
        name, kind = info["name"], info["kind"]
        if kind == "periods":
            given = _inputs.periods(periods)
            args.extend(given)
            sizes["periods"] = _period_count(given)
        elif kind == "keyword":
            if values.get(name) is not None or not info["optional"]:
                args.append(values[name])
        else:
            args.append(values[name])
            if kind in ("record", "swept"):
                sizes[kind] = max(sizes[kind], values[name].size)
    _check_memory(signature, sizes, threads)
    fields, console = _checked(key, args, threads)
    if console:
        warnings.warn(console.rstrip("\n"), ModuleWarning, stacklevel=3)
    attrs = {**attrs, "units": acc_unit["name"],
             "library_version": getattr(_core, "__version__", "")}
    return _spectra(key, fields, console, acc_unit,
                    {k: v for k, v in attrs.items() if v is not None},
                    force or _units.force_unit(acc_unit))


def _period_count(given):
    if len(given) == 1:
        return given[0].size
    count = float(given[2])
    return count if 1 <= count < 2.0**31 else 0  # the module itself refuses other counts


def _available_memory():
    try:
        with open("/proc/meminfo") as meminfo:
            for line in meminfo:
                if line.startswith("MemAvailable:"):
                    return int(line.split()[1]) * 1024
    except OSError:
        pass
    try:
        return os.sysconf("SC_PAGE_SIZE") * os.sysconf("SC_PHYS_PAGES")
    except (ValueError, OSError, AttributeError):
        return None


# Response histories a worker keeps: up to 8 series (two components) of up to ten record lengths.
_HISTORY_SERIES = 8
_HISTORY_RECORD_LENGTHS = 10
# Calls needing less than this are never checked against the memory available.
_SURELY_AVAILABLE = 256 * 2**20


def _check_memory(signature, sizes, threads):
    """MemoryError, before the call, for outputs and histories that cannot fit in memory: the
    system would end the process while the arrays are filled rather than report it."""
    workers = threads or _core.thread_count()
    outputs = len(signature["fields"]) * sizes["periods"] * sizes["swept"]
    histories = _HISTORY_SERIES * _HISTORY_RECORD_LENGTHS * sizes["record"] * workers
    need = 8.0 * (outputs + histories)
    if need < _SURELY_AVAILABLE:
        return
    available = _available_memory()
    if available is not None and need > available:
        raise MemoryError(f"{signature['module']}: this call needs about {need / 2**30:.1f} GiB "
                          f"for its outputs and response histories, more than the "
                          f"{available / 2**30:.1f} GiB available; use fewer periods or swept "
                          f"values, a shorter record or fewer threads")


def _record(acc, dt, units, name):
    """Samples, step and unit dict of a record: a Record (converted to ``units``, its own dt) or
    an array-like with a dt."""
    unit = _units.unit(units)
    if isinstance(acc, Record):
        if dt is not None and float(dt) != acc.dt:
            raise ValueError(f"{name}: the record's step is {acc.dt} s; leave dt out or give "
                             "that step")
        return _inputs.vector(acc.to(unit["name"]).acc, name), _inputs.scalar(acc.dt, "dt"), unit
    if dt is None:
        raise TypeError(f"{name}: give the time step dt [s] with an array of accelerations")
    return _inputs.vector(acc, name), _inputs.scalar(dt, "dt"), unit


def _pair(acc1, acc2, dt, units):
    a1, dt1, unit = _record(acc1, dt, units, "acc1")
    a2, dt2, _ = _record(acc2, dt, units, "acc2")
    if not np.array_equal(dt1, dt2, equal_nan=True):
        raise ValueError(f"the two components have different time steps, {float(dt1)} s and "
                         f"{float(dt2)} s; resample one (pair_components) first")
    return a1, a2, dt1, unit


def _common_attrs(dt, acc, mass=None):
    return {"dt": float(dt), "samples": int(acc.size),
            "mass": None if mass is None else float(mass)}


def elastic(acc, dt=None, *, periods=SHORT_PERIODS, zeta=0.05, method="recform", mass=1.0,
            units="m/s2", threads=None):
    """Elastic response spectra of one ground component (Quorvel).

    acc: ground acceleration, shape (n,), in ``units``; or a Record (converted to ``units``,
    its own dt). dt: time step [s]. periods: natural periods T [s], an array, or a range
    ``(start, stop, count)`` the module generates (default 100 periods from 0.05 s to 5 s).
    zeta: damping ratios ζ, a number or an array (0.05 for 5 %). method: "recform" (exact for a
    record linear between samples) or "newmark" (average acceleration). mass: m [kg].
    units: acceleration unit of acc and of every acceleration output (lengths and velocities
    follow: m and m/s for m/s2). threads: worker threads for this call (default: the library's).

    Returns Spectra: ``dsp`` [length], ``vel``, ``acc``, ``totAcc``, ``psdVel``, ``psdAcc``,
    ``resDsp``, ``iFrc``, ``dFrc``, ``rFrc`` of shape (nT, nζ); ``T``, ``f`` (nT,); ``pga``,
    ``mass``; ``zeta`` (nζ,).
    """
    ag, step, unit = _record(acc, dt, units, "acc")
    values = {"ag": ag, "dt": step, "m": _inputs.scalar(mass, "mass"),
              "zeta": _inputs.vector(zeta, "zeta"), "method": method}
    return _run("Quorvel", values, periods, _inputs.threads(threads), unit,
                {**_common_attrs(step, ag, mass), "method": method})


def elastic2d(acc1, acc2, dt=None, *, periods=SHORT_PERIODS, zeta=0.05, method="recform",
              mass=1.0, units="m/s2", threads=None):
    """Elastic response spectra under two horizontal components at once (Daskent): every peak is
    taken on the resultant √(x₁² + x₂²); the longer record is cut to the shorter.

    acc1, acc2: the two components, shape (n1,), (n2,), in ``units`` (or two Records of one
    step); the other arguments and the fields as for :func:`elastic`.
    """
    a1, a2, step, unit = _pair(acc1, acc2, dt, units)
    values = {"ag1": a1, "ag2": a2, "dt": step, "m": _inputs.scalar(mass, "mass"),
              "zeta": _inputs.vector(zeta, "zeta"), "method": method}
    return _run("Daskent", values, periods, _inputs.threads(threads), unit,
                {**_common_attrs(step, a1, mass), "method": method})


_STRENGTHS = {"R": "strength reduction factor R", "mu": "target ductility μ",
              "fy": "yield force fy", "uy": "yield displacement uy"}


def inelastic(acc, dt=None, *, periods=SHORT_PERIODS, zeta=0.05, R=None, mu=None, fy=None,
              uy=None, kin=0.0, iso=0.0, mass=1.0, units="m/s2", threads=None):
    """Inelastic response spectra with kinematic and isotropic hardening (Morbane).

    Exactly one strength definition: ``R`` (strength reduction factor), ``mu`` (target
    ductility; the module searches the strength period by period), ``fy`` (yield force, mass ×
    acceleration) or ``uy`` (yield displacement, length unit). kin, iso: hardening ratios.
    Other arguments as for :func:`elastic` (method is always Newmark average acceleration).

    Returns Spectra with the 15 elastic fields and ``yieldDsp``, ``psdYieldVel``,
    ``psdYieldAcc``, ``yieldFrc``, ``RFact``, ``muFact``, ``gammaFact``, each (nT, nζ).
    """
    given = {k: v for k, v in {"R": R, "mu": mu, "fy": fy, "uy": uy}.items() if v is not None}
    if len(given) != 1:
        raise TypeError("inelastic needs exactly one strength definition: R, mu, fy or uy "
                        f"(got {', '.join(given) or 'none'})")
    (keyword, value), = given.items()
    ag, step, unit = _record(acc, dt, units, "acc")
    values = {"ag": ag, "dt": step, "m": _inputs.scalar(mass, "mass"),
              "zeta": _inputs.vector(zeta, "zeta"), "kin": _inputs.scalar(kin, "kin"),
              "iso": _inputs.scalar(iso, "iso"), "method": keyword,
              "para": _inputs.scalar(value, keyword)}
    return _run("Morbane", values, periods, _inputs.threads(threads), unit,
                {**_common_attrs(step, ag, mass), "strength": _STRENGTHS[keyword],
                 "strength_value": float(value), "kin": float(kin), "iso": float(iso)})


def _default_uy(unit, uy):
    return _DEFAULT_UY_METRES / unit["metres_per_s2"] if uy is None else uy


def fps(acc, dt=None, *, periods=ISOLATOR_PERIODS, frn=0.05, uy=None, mass=None, g=None,
        weight=None, units=None, threads=None):
    """Friction-pendulum isolator spectra (Tillock).

    acc, dt as for :func:`elastic`. periods: isolation periods T [s] (default 56 from 0.5 s to
    6 s). frn: friction coefficients μ, a number or an array. uy: pre-sliding displacement
    (default 1 mm in the length unit of ``units``). mass: m [kg] (default 1). g: acceleration of
    gravity (default standard gravity in ``units``). units: default m/s2.

    weight: the weight variant, with the weight W instead of mass and gravity; it works in in/s2
    (its gravity is fixed at 386.1 in/s²), so ``units`` must be in/s2 or left out, and mass and
    g do not apply.

    Returns Spectra: the 15 elastic fields, ``yieldDsp`` … ``yieldFrc`` and the isolator factors
    ``muFact``, ``RFact``, ``gammaFact``, ``effT``, ``effZeta``, ``effRFact``,
    ``effGammaFact``, each (nT, nμ); the weight variant has ``W`` and the inelastic factors
    ``RFact``, ``muFact``, ``gammaFact`` instead.
    """
    if weight is not None:
        return _fps_weight(acc, dt, periods, frn, uy, mass, g, weight, units, threads)
    ag, step, unit = _record(acc, dt, units or "m/s2", "acc")
    mass = 1.0 if mass is None else mass
    gravity = unit["gravity"] if g is None else g
    uy = _default_uy(unit, uy)
    values = {"ag": ag, "dt": step, "m": _inputs.scalar(mass, "mass"),
              "g": _inputs.scalar(gravity, "g"), "frn": _inputs.vector(frn, "frn"),
              "uy": _inputs.scalar(uy, "uy")}
    return _run("Tillock", values, periods, _inputs.threads(threads), unit,
                {**_common_attrs(step, ag, mass), "g": float(gravity), "uy": float(uy)})


def _fps_weight(acc, dt, periods, frn, uy, mass, g, weight, units, threads):
    if units is not None and _units.unit(units)["name"] != _WEIGHT_VARIANT_UNIT:
        raise ValueError("fps with weight works in in/s2 (its gravity is fixed at 386.1): leave "
                         "out units or give in/s2")
    if mass is not None or g is not None:
        raise TypeError("fps with weight takes the weight W alone: mass and g do not apply "
                        "(its gravity is fixed at 386.1 in/s2)")
    ag, step, unit = _record(acc, dt, _WEIGHT_VARIANT_UNIT, "acc")
    uy = _default_uy(unit, uy)
    values = {"ag": ag, "dt": step, "W": _inputs.scalar(weight, "weight"),
              "frn": _inputs.vector(frn, "frn"), "uy": _inputs.scalar(uy, "uy")}
    return _run("Tillock/weight", values, periods, _inputs.threads(threads), unit,
                {**_common_attrs(step, ag), "weight": float(weight), "uy": float(uy)},
                force="unit of W")


def fps2d(acc1, acc2, dt=None, *, periods=ISOLATOR_PERIODS, frn=0.05, uy=None, mass=1.0, g=None,
          units="m/s2", threads=None):
    """Friction-pendulum isolator spectra under two components, friction coupled in the plane
    (Granwick). Arguments as for :func:`fps` (no weight variant) with two components as for
    :func:`elastic2d`; fields as for :func:`fps`, peaks of resultants."""
    a1, a2, step, unit = _pair(acc1, acc2, dt, units)
    gravity = unit["gravity"] if g is None else g
    uy = _default_uy(unit, uy)
    values = {"ag1": a1, "ag2": a2, "dt": step, "m": _inputs.scalar(mass, "mass"),
              "g": _inputs.scalar(gravity, "g"), "frn": _inputs.vector(frn, "frn"),
              "uy": _inputs.scalar(uy, "uy")}
    return _run("Granwick", values, periods, _inputs.threads(threads), unit,
                {**_common_attrs(step, a1, mass), "g": float(gravity), "uy": float(uy)})


def _default_qd(unit, mass, Qd):
    return _DEFAULT_QD_SHARE * float(mass) * unit["gravity"] if Qd is None else Qd


def lrb(acc, dt=None, *, periods=ISOLATOR_PERIODS, Qd=None, alpha=_DEFAULT_ALPHA, mass=1.0,
        units="m/s2", threads=None):
    """Lead-rubber-bearing spectra (Pellory).

    acc, dt, periods, mass, units, threads as for :func:`fps`. Qd: characteristic strengths
    (mass × acceleration; default 5 % of the weight m·g, g standard gravity in ``units``), a
    number or an array. alpha: post-yield over elastic stiffness, 0 … 1 (default 0.1).
    Returns Spectra with the isolator fields of :func:`fps`, each (nT, nQd).
    """
    ag, step, unit = _record(acc, dt, units, "acc")
    values = {"ag": ag, "dt": step, "m": _inputs.scalar(mass, "mass"),
              "Qd": _inputs.vector(_default_qd(unit, mass, Qd), "Qd"),
              "alpha": _inputs.scalar(alpha, "alpha")}
    return _run("Pellory", values, periods, _inputs.threads(threads), unit,
                {**_common_attrs(step, ag, mass), "alpha": float(alpha)})


def lrb2d(acc1, acc2, dt=None, *, periods=ISOLATOR_PERIODS, Qd=None, alpha=_DEFAULT_ALPHA,
          mass=1.0, units="m/s2", threads=None):
    """Lead-rubber-bearing spectra under two components, circular yield surface (Vintarrow).
    Arguments as for :func:`lrb` with two components as for :func:`elastic2d`."""
    a1, a2, step, unit = _pair(acc1, acc2, dt, units)
    values = {"ag1": a1, "ag2": a2, "dt": step, "m": _inputs.scalar(mass, "mass"),
              "Qd": _inputs.vector(_default_qd(unit, mass, Qd), "Qd"),
              "alpha": _inputs.scalar(alpha, "alpha")}
    return _run("Vintarrow", values, periods, _inputs.threads(threads), unit,
                {**_common_attrs(step, a1, mass), "alpha": float(alpha)})
