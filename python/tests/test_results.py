"""Results as Python users take them: attribute and key access, units and names from the
library, and round trips through xarray and pandas that keep every bit."""

import numpy as np
import pytest

import sdofspectra as sp

AG = sp.demo_record(duration=10.0)


@pytest.fixture(scope="module")
def spectra():
    return {"elastic": sp.elastic(AG, zeta=[0.02, 0.05]),
            "inelastic": sp.inelastic(AG, R=3, periods=[0.2, 0.5, 1.0]),
            "fps": sp.fps(AG, frn=[0.03, 0.06, 0.09], periods=(1, 4, 7)),
            "lrb2d": sp.lrb2d(AG, sp.demo_record(duration=10.0, component=1), Qd=[0.3, 0.6])}


def test_fields_are_arrays_by_attribute_and_by_key(spectra):
    s = spectra["fps"]
    assert s.dsp is s["dsp"] and s.dsp.shape == (7, 3)
    assert s.periods.shape == (7,) and s.T.shape == (7,) and s.frn.shape == (3,)
    assert isinstance(s.pga, np.floating)
    assert list(s)[:5] == ["pga", "mass", "frn", "T", "f"] and len(s) == 26
    assert "effZeta" in dir(s)
    with pytest.raises(AttributeError, match="no field"):
        s.psdacc


def test_units_and_names_follow_the_acceleration_unit(spectra):
    s = spectra["elastic"]
    assert (s.units["psdAcc"], s.units["psdVel"], s.units["dsp"], s.units["rFrc"]) == \
        ("m/s2", "m/s", "m", "N")
    assert (s.symbols["psdAcc"], s.long_names["psdAcc"]) == ("Sa", "pseudo-spectral acceleration")
    in_cm = sp.elastic(AG.acc, AG.dt, units="gal", periods=[0.5])
    assert (in_cm.units["dsp"], in_cm.units["psdVel"], in_cm.units["iFrc"]) == \
        ("cm", "cm/s", "kg·cm/s2")
    assert sp.fps(AG, weight=100.0).units["rFrc"] == "unit of W"


@pytest.mark.parametrize("name", ["elastic", "inelastic", "fps", "lrb2d"])
def test_an_xarray_dataset_keeps_every_bit_and_says_what_each_value_is(spectra, name):
    s = spectra[name]
    ds = s.to_xarray()
    assert ds.dsp.dims == ("period", s.swept)
    assert np.array_equal(ds.period.values, s.T) and np.array_equal(ds[s.swept].values, s[s.swept])
    for field in s:
        if field in ("T", s.swept):
            continue
        assert np.array_equal(ds[field].values, np.asarray(s[field]), equal_nan=True), field
        assert ds[field].attrs["units"] == s.units[field]
    assert ds.psdAcc.attrs["long_name"] == "pseudo-spectral acceleration"
    assert ds.period.attrs == {"units": "s", "long_name": "period", "symbol": "T"}
    assert ds.attrs["module"] == s.module and ds.attrs["units"] == "m/s2"
    # attributes store as they are in netCDF or Zarr: numbers and text only
    assert all(isinstance(v, (str, int, float)) for v in ds.attrs.values())
    # a stack of records, as a database run builds it
    stacked = __import__("xarray").concat([ds, ds], dim="record")
    assert stacked.dsp.dims == ("record", "period", s.swept)


def test_a_pandas_frame_has_one_row_per_period_and_swept_value(spectra):
    s = spectra["fps"]
    frame = s.to_pandas()
    assert frame.index.names == ["period", "frn"] and len(frame) == 7 * 3
    assert np.array_equal(frame.loc[(s.T[2], s.frn[1]), "dsp"], s.dsp[2, 1])
    assert frame.attrs["units"]["dsp"] == "m"
    back = frame.to_xarray()
    assert np.array_equal(back.effT.values, s.effT)


def test_rotd_converts_with_its_own_dimensions():
    r = sp.rotd(AG, sp.demo_record(duration=10.0, component=1), periods=[0.2, 1.0],
                zeta=[0.05, 0.1])
    ds = r.to_xarray()
    assert ds.psa.dims == ("percentile", "period", "zeta")
    assert np.array_equal(ds.psa.sel(percentile=50).values, r.psa[1])
    assert ds.sd_at_angle.dims == ("angle", "period", "zeta") and ds.angle.size == 180
    assert r.to_pandas().index.names == ["percentile", "period", "zeta"]


def test_the_repr_reads_as_a_summary(spectra):
    text = repr(spectra["elastic"])
    assert text.startswith("Spectra from Quorvel (elastic: linear elastic oscillator)")
    assert "damping ratio (zeta): 0.02, 0.05" in text
    assert "period (period): 100 values, 0.05 … 5 s" in text
    assert "psdAcc [m/s2]" in text and "pga = " in text


def test_results_and_records_travel_between_processes_by_pickle(spectra):
    import pickle

    s = pickle.loads(pickle.dumps(spectra["lrb2d"]))
    assert np.array_equal(s.effT, spectra["lrb2d"].effT) and s.units == spectra["lrb2d"].units
    assert s.to_xarray().identical(spectra["lrb2d"].to_xarray())
    record = pickle.loads(pickle.dumps(AG))
    assert np.array_equal(record.acc, AG.acc) and record.metadata == AG.metadata
