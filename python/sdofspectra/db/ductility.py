"""Constant-ductility spectra by the largest-strength rule (the program's `inelastic --mu`) for
several target ductilities of one record, as one result over period × damping ratio × μ."""

import numpy as np

from ..measures import constant_ductility
from ..modules import SHORT_PERIODS
from ..result import Result

_MU_COORD = {"long_name": "target ductility", "units": "1", "symbol": "μ"}
# The search's "status" (reached, not reached, trials failed) is stored as "outcome": a store's
# "status" is the record's.
_STORED_AS = {"status": "outcome"}


def ductility_spectra(acc, dt=None, *, mu, periods=SHORT_PERIODS, zeta=0.05, kin=0.0, iso=0.0,
                      mass=1.0, search=None, units="m/s2", threads=None):
    """constant_ductility of the record for every target ductility in ``mu`` (a number or a
    list), stacked over a last dimension ``mu``, the search's status named ``outcome``. Its
    ``console`` lists the oscillators without a
    solution, each with its μ."""
    targets = np.atleast_1d(np.asarray(mu, dtype=np.float64))
    if targets.ndim != 1 or not targets.size:
        raise ValueError("mu: give one target ductility or a list of them")
    spectra = [constant_ductility(acc, dt, mu=float(m), periods=periods, zeta=zeta, kin=kin,
                                  iso=iso, mass=mass, search=search, units=units,
                                  threads=threads)
               for m in targets]
    first = spectra[0]
    names = {name: _STORED_AS.get(name, name) for name in first}
    arrays = {names[n]: np.stack([np.asarray(s[n]) for s in spectra], axis=-1) for n in first}
    dims = {names[n]: first.dims[n] + ("mu",) for n in first}
    coords = {**first.coords, "mu": targets}
    attrs = {k: v for k, v in first.attrs.items() if k != "mu"}
    described = [{names[n]: v for n, v in d.items()}
                 for d in (first.units, first.symbols, first.long_names)]
    result = Result("Constant-ductility spectra (largest strength)", arrays, dims, coords,
                    *described, attrs,
                    {**first._coord_attrs, "mu": dict(_MU_COORD)}, ("period", "zeta", "mu"))
    result.console = "".join(f"μ = {m:g}: {w}\n" for m, s in zip(targets, spectra)
                             for w in s.warnings)
    return result
