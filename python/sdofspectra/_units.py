"""Units and names of every field, from the library's table of quantities (what each field
means) and the acceleration unit the analysis worked in."""

from functools import lru_cache

from . import _core


@lru_cache(maxsize=None)
def unit(text):
    """The acceleration unit named by text (g, mg, m/s2, cm/s2 or gal, mm/s2, in/s2, ft/s2):
    a dict with its canonical name, its size in m/s², the length and velocity units it implies and
    standard gravity in it. ValueError listing the known names otherwise."""
    return _core.unit(text)


def quantity_unit(quantity, acc_unit, force_unit):
    """The unit of a physical quantity when accelerations are in acc_unit (a unit dict)."""
    return {
        "acceleration": acc_unit["name"],
        "velocity": acc_unit["velocity"],
        "displacement": acc_unit["length"],
        "force": force_unit,
        "mass": "kg",
        "period": "s",
        "frequency": "Hz",
        "ratio": "1",
    }[quantity]


def force_unit(acc_unit):
    """Forces are mass [kg] × acceleration: N when accelerations are in m/s²."""
    return "N" if acc_unit["name"] == "m/s2" else f"kg·{acc_unit['name']}"


def describe(name, acc_unit, force):
    """(unit, symbol, words) of a field or input name, from the library's table; a name the
    table does not know gets no unit and its own name as words."""
    info = _core.quantity(name)
    if info is None:
        return "", name, name
    return quantity_unit(info["quantity"], acc_unit, force), info["symbol"], info["words"]
