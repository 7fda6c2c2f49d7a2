"""Accelerogram files read by the command-line program's own readers (PEER AT2, COSMOS V1/V2,
USGS SMC, K-NET/KiK-net, ESM, one or two columns, tables with a header row), and the synthetic
demo record."""

import math
import os
from dataclasses import dataclass, field

import numpy as np

from . import _core, _inputs, _units

__all__ = ["Record", "read_record", "demo_record", "record_formats"]


@dataclass(frozen=True, eq=False)
class Record:
    """A ground-acceleration record: ``acc`` (n,) in ``units`` at the constant step ``dt`` [s],
    and what the file says of it in ``metadata`` (path, format, event, station, component,
    start_time, note)."""

    acc: np.ndarray
    dt: float
    units: str
    metadata: dict = field(default_factory=dict)

    @property
    def time(self):
        """Sample times t = i·dt [s], shape (n,)."""
        return np.arange(self.acc.size) * self.dt

    @property
    def pga(self):
        """Peak |acc| in ``units``."""
        return float(np.max(np.abs(self.acc))) if self.acc.size else float("nan")

    def to(self, units, scale=1.0):
        """The record in another acceleration unit, times ``scale``: the same single
        multiplication per sample as the command-line program's ``--out-units`` and
        ``--scale``, so equal samples reach the modules."""
        if scale == 1.0 and _units.unit(units)["name"] == self.units:
            return self  # the conversion factor is 1: no sample changes
        acc = _core.convert_samples(self.acc, self.metadata.get("path", ""), self.units, "",
                                    units, float(scale))
        return Record(acc, self.dt, _units.unit(units)["name"], dict(self.metadata))

    def __repr__(self):
        where = self.metadata.get("path", "")
        what = ", ".join(f"{k} {v}" for k, v in self.metadata.items()
                         if k in ("format", "event", "station", "component") and v)
        return (f"Record({self.acc.size} samples at dt = {self.dt:g} s, "
                f"{self.acc.size * self.dt:g} s long, PGA {self.pga:.4g} {self.units}"
                + (f"; {what}" if what else "") + (f"; {where}" if where else "") + ")")


def record_formats():
    """The formats read_record knows: auto, at2, cosmos, smc, knet, esm, columns, csv."""
    return list(_core.record_formats())


def read_record(path, *, format="auto", units=None, column=None, dt=None, channel=None):
    """Reads an accelerogram file. The reader is chosen by the file's content (or ``format``).

    units: unit of files that state none (one column, two columns, tables without a unit in the
    header; default g); a file that states its unit (AT2, COSMOS, ...) keeps it, and a
    contradicting ``units`` is a ValueError. column: the acceleration column of a table (name or
    1-based number). dt: time step [s] for a file of one column. channel: channel (1, 2, ...) of
    a COSMOS file holding several.

    Returns a Record with the samples as the file gives them, in ``Record.units``; convert with
    ``record.to("m/s2")``. FileNotFoundError for a missing path; ValueError, naming file and
    line, for anything the file gets wrong.
    """
    path = os.fspath(path)
    if not os.path.exists(path):
        raise FileNotFoundError(f"{path}: no such file; give the path of a record file")
    read = _core.read_record(path, format, column or "",
                             None if dt is None else float(_inputs.scalar(dt, "dt")),
                             int(channel or 0))
    stated = read["stated_unit"]
    unit = _core.unit(stated or units or "g")["name"]
    # The program's unit rule: a stated unit stays, and a contradicting one is an error.
    acc = _core.convert_samples(read["samples"], read["path"], stated, units or "", unit, 1.0)
    metadata = {"path": read["path"], **read["info"]}
    return Record(acc, read["dt"], unit, metadata)


def demo_record(*, duration=20.0, dt=0.01, seed=1, peak=0.4, component=0):
    """The command-line program's synthetic record (``spectra demo``): white noise through a
    Kanai-Tajimi ground filter under an envelope, ``duration`` s at ``dt`` s, peak ``peak`` g;
    component 1 uses the next seed. Not a recorded earthquake. Samples in g."""
    if not (duration >= 2 * dt and dt > 0 and duration / dt <= 1e8):
        raise ValueError("demo_record: duration must hold at least two steps of dt, and at "
                         "most 1e8")
    if not math.isfinite(peak):
        raise ValueError("demo_record: peak must be a finite number")
    n = int(math.floor(duration / dt + 0.5))  # rounded half away from zero, as the program
    used = int(seed) + int(component)
    acc = _core.synthetic_record(n, float(dt), used, float(peak))
    return Record(acc, float(dt), "g",
                  {"path": f"synthetic record (seed {used}, peak {peak:g} g)",
                   "format": "synthetic"})
