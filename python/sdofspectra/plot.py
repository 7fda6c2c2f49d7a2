"""Plots of spectra and records on matplotlib, labelled in the words and units of structural
dynamics."""

import os

import numpy as np

__all__ = ["plot_spectrum", "plot_history"]


def _axes(ax):
    if ax is None:
        import matplotlib.pyplot as plt

        _, ax = plt.subplots(figsize=(7, 4.5), layout="constrained")
    return ax


def _label(result, name, select):
    words = result.long_names.get(name, name)
    if "percentile" in select:
        words = words.replace("RotDnn", f"RotD{select['percentile']:02.0f}")
    symbol = result.symbols.get(name, "")
    unit = result.units.get(name, "")
    text = words[:1].upper() + words[1:]
    if symbol:
        text += f" {symbol}"
    if unit and unit != "1":
        text += f" [{unit}]"
    return text


def _sweep_label(result, dim, value):
    if dim == "zeta":
        return f"ζ = {100 * value:g} %"
    if dim == "frn":
        return f"μ = {value:g}"
    if dim == "percentile":
        return f"RotD{value:02.0f}"
    unit = result._coord_attrs.get(dim, {}).get("units", "")
    symbol = result._coord_attrs.get(dim, {}).get("symbol", dim)
    return f"{symbol} = {value:.4g}" + (f" {unit}" if unit and unit != "1" else "")


def plot_spectrum(result, field=None, *, ax=None, axes="lin", select=None, label=None):
    """Draws one field of a result against period, one curve per swept value (per percentile for
    RotD), and returns the matplotlib Axes.

    field: the field to draw (default the module's pseudo-spectral acceleration ``psdAcc``, or
    ``dsp`` for the isolators, ``psa`` for RotD). axes: "lin", "logx", "logy" or "loglog".
    select: a dict of dimension → value to keep, e.g. ``{"zeta": 0.05}`` or
    ``{"percentile": 50}``. label: text put before each curve's label in the legend.
    """
    field = field or next(f for f in ("psdAcc", "psa", "dsp", "yield_strength") if f in result)
    ax = _axes(ax)
    data = np.asarray(result[field])
    dims = list(result.dims[field])
    select = dict(select or {})
    for dim, value in select.items():
        index = int(np.flatnonzero(np.asarray(result.coords[dim]) == value)[0])
        data = np.take(data, index, axis=dims.index(dim))
        dims.remove(dim)
    periods = np.asarray(result.coords["period"])
    data = np.moveaxis(data, dims.index("period"), 0)
    others = [d for d in dims if d != "period"]
    curves = data.reshape(periods.size, -1)
    values = np.asarray(result.coords[others[0]]) if others else [None]
    chosen = ", ".join(_sweep_label(result, d, v) for d, v in select.items())
    for j in range(curves.shape[1]):
        text = _sweep_label(result, others[0], values[j]) if others else chosen or field
        if others and chosen:
            text = f"{chosen}, {text}"
        ax.plot(periods, curves[:, j], label=f"{label}, {text}" if label else text)
    ax.set_xscale("log" if axes in ("logx", "loglog") else "linear")
    ax.set_yscale("log" if axes in ("logy", "loglog") else "linear")
    ax.set_xlabel("Period T [s]")
    ax.set_ylabel(_label(result, field, select))
    ax.grid(True, which="both", alpha=0.3)
    ax.legend()
    return ax


def plot_history(record, *, ax=None, label=None, quantity="ground acceleration"):
    """Draws a record (or any series with ``time``, ``acc`` and ``units``, or a pair
    ``(time, values)`` with ``label`` giving its name and unit) against time and returns the
    Axes."""
    ax = _axes(ax)
    if isinstance(record, tuple):
        time, values = record
        ylabel = label or quantity
    else:
        time, values = record.time, record.acc
        ylabel = f"{quantity[:1].upper() + quantity[1:]} [{record.units}]"
        path = record.metadata.get("path", "")
        label = label or (os.path.basename(path) if os.path.exists(path) else path) or None
    ax.plot(time, values, linewidth=0.7, label=label)
    ax.set_xlabel("Time t [s]")
    ax.set_ylabel(ylabel)
    ax.grid(True, alpha=0.3)
    if label:
        ax.legend()
    return ax
