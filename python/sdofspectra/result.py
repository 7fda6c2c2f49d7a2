"""Results as NumPy arrays with named dimensions, coordinates, units and names in words, that
turn into an xarray Dataset or a pandas DataFrame."""

from collections.abc import Mapping

import numpy as np


class Result(Mapping):
    """Named output arrays of one analysis.

    Every array is reachable as an attribute (``r.dsp``) and as a key (``r["dsp"]``); iterating
    gives the names in the order of the analysis. ``dims[name]`` names the dimensions of an array
    (e.g. ``("period", "zeta")``), ``coords`` holds the coordinate values of each dimension,
    ``units``, ``symbols`` and ``long_names`` describe each array, and ``attrs`` the inputs of the
    analysis (numbers and text only, so they store as they are in netCDF or Zarr).
    """

    def __init__(self, title, arrays, dims, coords, units, symbols, long_names, attrs,
                 coord_attrs, main_dims, coordinate_fields=()):
        self._title = title
        self._arrays = dict(arrays)
        self.dims = dict(dims)
        self.coords = dict(coords)
        self.units = dict(units)
        self.symbols = dict(symbols)
        self.long_names = dict(long_names)
        self.attrs = dict(attrs)
        self._coord_attrs = dict(coord_attrs)
        self._main_dims = tuple(main_dims)
        # Arrays that are a dimension's coordinate under another name (the periods "T").
        self._coordinate_fields = set(coordinate_fields) | set(self.coords)

    # Mapping and attribute access -------------------------------------------------------------
    def __getitem__(self, name):
        return self._arrays[name]

    def __iter__(self):
        return iter(self._arrays)

    def __len__(self):
        return len(self._arrays)

    def __getattr__(self, name):
        arrays = self.__dict__.get("_arrays")
        if arrays is not None and name in arrays:
            return arrays[name]
        raise AttributeError(f"{type(self).__name__} has no field or attribute '{name}'")

    def __dir__(self):
        return sorted(set(super().__dir__()) | set(self._arrays))

    # Conversions --------------------------------------------------------------------------------
    def to_xarray(self):
        """An xarray Dataset: one variable per array with its named dimensions, the dimensions'
        coordinates, ``units``, ``long_name`` and ``symbol`` attributes on every variable and
        coordinate, and the analysis inputs as the Dataset's attributes."""
        import xarray as xr

        coords = {dim: (dim, np.asarray(values), self._coord_attrs.get(dim, {}))
                  for dim, values in self.coords.items()}
        variables = {name: (self.dims[name], np.asarray(array), self._variable_attrs(name))
                     for name, array in self._arrays.items()
                     if name not in self._coordinate_fields}
        return xr.Dataset(variables, coords=coords, attrs=dict(self.attrs))

    def to_pandas(self):
        """A pandas DataFrame of the arrays over the main dimensions (e.g. period × damping
        ratio): a row per combination, indexed by the coordinates, a column per array. Units
        and names in words are in ``DataFrame.attrs``."""
        import pandas as pd

        names = [n for n, d in self.dims.items() if d == self._main_dims]
        index = pd.MultiIndex.from_product([np.asarray(self.coords[d]) for d in self._main_dims],
                                           names=list(self._main_dims))
        if len(self._main_dims) == 1:
            index = pd.Index(np.asarray(self.coords[self._main_dims[0]]), name=self._main_dims[0])
        frame = pd.DataFrame({n: np.asarray(self._arrays[n]).reshape(-1) for n in names},
                             index=index)
        frame.attrs = {"units": {n: self.units.get(n, "") for n in names},
                       "long_names": {n: self.long_names.get(n, n) for n in names},
                       "analysis": dict(self.attrs)}
        return frame

    def _variable_attrs(self, name):
        attrs = {"units": self.units.get(name, ""), "long_name": self.long_names.get(name, name)}
        symbol = self.symbols.get(name, "")
        if symbol:
            attrs["symbol"] = symbol
        return attrs

    # Display -------------------------------------------------------------------------------------
    def __repr__(self):
        lines = [self._title]
        for dim in self._main_dims:
            lines.append(f"  {self._describe_coord(dim)}")
        for dim, values in self.coords.items():
            if dim not in self._main_dims:
                lines.append(f"  {self._describe_coord(dim)}")
        groups = {}
        for name, dims in self.dims.items():
            if name in self._coordinate_fields:
                continue
            groups.setdefault(dims, []).append(name)
        for dims, names in groups.items():
            shape = " × ".join(dims) if dims else "one value each"
            lines.append(f"  [{shape}]")
            lines.extend(self._wrap([self._describe_field(n) for n in names], "    "))
        return "\n".join(lines)

    def _describe_coord(self, dim):
        values = np.asarray(self.coords[dim])
        attrs = self._coord_attrs.get(dim, {})
        words = attrs.get("long_name", dim)
        unit = attrs.get("units", "")
        unit = "" if unit in ("", "1") else f" {unit}"
        if values.size > 6:
            shown = f"{values.size} values, {values.min():.4g} … {values.max():.4g}{unit}"
        else:
            shown = ", ".join(f"{v:.4g}" for v in values) + unit
        return f"{words} ({dim}): {shown}"

    def _describe_field(self, name):
        array = np.asarray(self._arrays[name])
        unit = self.units.get(name, "")
        unit = "" if unit in ("", "1") else f" [{unit}]"
        if array.ndim == 0:
            return f"{name} = {float(array):.6g}{unit}"
        return f"{name}{unit}"

    @staticmethod
    def _wrap(items, indent, width=96):
        lines, line = [], indent
        for item in items:
            piece = item if line == indent else ", " + item
            if len(line) + len(piece) > width and line != indent:
                lines.append(line + ",")
                line, piece = indent, item
            line += piece
        lines.append(line)
        return lines
