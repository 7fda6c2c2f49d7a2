"""Every module called from Python equals the MEX file called from GNU Octave, bit for bit: the
keyword API with its defaults, the raw calling form, and the modules' error texts."""

import numpy as np
import pytest

import sdofspectra as sp
from mex_octave import run

G = 9.80665
DT = 0.01


def record(n, seed, peak):
    rng = np.random.default_rng(seed)
    t = np.arange(n) * DT
    ag = np.convolve(rng.standard_normal(n), np.ones(5) / 5, mode="same")
    ag *= np.minimum(1.0, t / 2.0) * np.exp(-0.15 * t)
    return peak * ag / np.max(np.abs(ag))


AG = record(700, 1, 3.0)
AG2 = record(650, 2, 2.0)
AG_NAN = AG.copy()
AG_NAN[100] = np.nan
T = np.array([0.1, 0.35, 1.0, 2.5])
T_ISO = np.array([1.0, 2.5, 4.0])

# (name, the Python call, the MEX module, its inputs in Octave, weight variant)
CASES = [
    ("elastic defaults", lambda: sp.elastic(AG, DT),
     "Quorvel", [AG, DT, 1.0, 0.05, 0.05, 5.0, 100.0, "recform"], False),
    ("elastic, the module's own default method", lambda: sp.elastic(AG, DT, periods=T),
     "Quorvel", [AG, DT, 1.0, 0.05, T], False),
    ("elastic newmark", lambda: sp.elastic(AG, DT, periods=T, zeta=[0.02, 0.05, 0.1],
                                           method="newmark", mass=2.5),
     "Quorvel", [AG, DT, 2.5, np.array([0.02, 0.05, 0.1]), T, "newmark"], False),
    ("elastic, a NaN sample", lambda: sp.elastic(AG_NAN, DT, periods=T),
     "Quorvel", [AG_NAN, DT, 1.0, 0.05, T, "recform"], False),
    ("elastic2d", lambda: sp.elastic2d(AG, AG2, DT, periods=(0.2, 3.0, 7), zeta=[0.05, 0.1]),
     "Daskent", [AG, AG2, DT, 1.0, np.array([0.05, 0.1]), 0.2, 3.0, 7.0, "recform"], False),
    ("inelastic R", lambda: sp.inelastic(AG, DT, periods=T, R=4, kin=0.02, iso=0.01),
     "Morbane", [AG, DT, 1.0, 0.05, T, 0.02, 0.01, "R", 4.0], False),
    ("inelastic mu", lambda: sp.inelastic(AG, DT, periods=[1.5, 2.5, 4.0], zeta=[0.05, 0.02],
                                          mu=1.5, kin=0.02),
     "Morbane", [AG, DT, 1.0, np.array([0.05, 0.02]), np.array([1.5, 2.5, 4.0]), 0.02, 0.0,
                 "mu", 1.5], False),
    ("inelastic fy", lambda: sp.inelastic(AG, DT, periods=T, fy=0.8, mass=2.0),
     "Morbane", [AG, DT, 2.0, 0.05, T, 0.0, 0.0, "fy", 0.8], False),
    ("inelastic uy", lambda: sp.inelastic(AG, DT, periods=(0.1, 2.0, 5), uy=0.01),
     "Morbane", [AG, DT, 1.0, 0.05, 0.1, 2.0, 5.0, 0.0, 0.0, "uy", 0.01], False),
    ("fps defaults", lambda: sp.fps(AG, DT),
     "Tillock", [AG, DT, 1.0, G, 0.05, 0.5, 6.0, 56.0, 0.001], False),
    ("fps frictions", lambda: sp.fps(AG, DT, periods=T_ISO, frn=[0.03, 0.06], uy=0.0005,
                                     mass=3.0, g=9.81),
     "Tillock", [AG, DT, 3.0, 9.81, np.array([0.03, 0.06]), T_ISO, 0.0005], False),
    ("fps2d", lambda: sp.fps2d(AG, AG2, DT, periods=T_ISO, frn=[0.04, 0.08]),
     "Granwick", [AG, AG2, DT, 1.0, G, np.array([0.04, 0.08]), T_ISO, 0.001], False),
    ("lrb defaults", lambda: sp.lrb(AG, DT),
     "Pellory", [AG, DT, 1.0, 0.05 * G, 0.5, 6.0, 56.0, 0.1], False),
    ("lrb strengths", lambda: sp.lrb(AG, DT, periods=T_ISO, Qd=[0.3, 0.6], alpha=0.08, mass=2),
     "Pellory", [AG, DT, 2.0, np.array([0.3, 0.6]), T_ISO, 0.08], False),
    ("lrb2d", lambda: sp.lrb2d(AG, AG2, DT, periods=T_ISO, Qd=0.5),
     "Vintarrow", [AG, AG2, DT, 1.0, 0.5, T_ISO, 0.1], False),
    ("fps weight variant", lambda: sp.fps(AG * 39.37, DT, periods=T_ISO, frn=[0.05, 0.1],
                                          weight=1000.0),
     "Tillock", [AG * 39.37, DT, 1000.0, np.array([0.05, 0.1]), T_ISO, 0.001 / 0.0254], True),
]

ERRORS = [
    ("empty damping ratios", lambda: sp.elastic(AG, DT, periods=T, zeta=[]),
     "Quorvel", [AG, DT, 1.0, np.zeros((0, 1)), T, "recform"], False),
    ("unknown method", lambda: sp.elastic(AG, DT, periods=T, method="euler"),
     "Quorvel", [AG, DT, 1.0, 0.05, T, "euler"], False),
    ("no periods", lambda: sp.elastic(AG, DT, periods=(1.0, 2.0, 0)),
     "Quorvel", [AG, DT, 1.0, 0.05, 1.0, 2.0, 0.0, "recform"], False),
    ("alpha above 1", lambda: sp.lrb(AG, DT, periods=T_ISO, alpha=1.5),
     "Pellory", [AG, DT, 1.0, 0.05 * G, T_ISO, 1.5], False),
    ("a ductility the search cannot reach", lambda: sp.inelastic(AG, DT, periods=T, mu=4),
     "Morbane", [AG, DT, 1.0, 0.05, T, 0.0, 0.0, "mu", 4.0], False),
    ("empty record", lambda: sp.fps2d(AG, [], DT, periods=T_ISO),
     "Granwick", [AG, np.zeros((0, 1)), DT, 1.0, G, 0.05, T_ISO, 0.001], False),
]


def bits(array):
    return np.ascontiguousarray(np.asarray(array, dtype=np.float64)).view(np.uint64)


def same_bits(python, octave):
    return np.asarray(python).size == octave.size and np.array_equal(
        bits(np.asarray(python).reshape(-1, order="F")), bits(octave.reshape(-1, order="F")))


@pytest.fixture(scope="module")
def octave_results():
    main = [(module, args) for _, _, module, args, weight in CASES + ERRORS if not weight]
    weight = [(module, args) for _, _, module, args, weight in CASES + ERRORS if weight]
    results = iter(run(main))
    weight_results = iter(run(weight, weight=True))
    return {name: next(weight_results if w else results) for name, _, _, _, w in CASES + ERRORS}


@pytest.mark.parametrize("case", CASES, ids=[c[0] for c in CASES])
def test_the_keyword_api_equals_the_mex_file(case, octave_results):
    name, call, module, args, weight = case
    expected = octave_results[name]
    result = call()
    assert list(result) == list(expected), "fields and their order"
    for field, values in expected.items():
        assert same_bits(result[field], values), f"{field} differs from the MEX file's"


@pytest.mark.parametrize("case", CASES, ids=[c[0] for c in CASES])
def test_the_raw_calling_form_equals_the_mex_file(case, octave_results):
    name, _, module, args, weight = case
    fields, _ = sp.call_module("Tillock/weight" if weight else module, *args)
    expected = octave_results[name]
    for field, values in expected.items():
        assert fields[field].shape == values.shape, field
        assert same_bits(fields[field], values), field


@pytest.mark.parametrize("case", ERRORS, ids=[c[0] for c in ERRORS])
def test_errors_carry_the_mex_files_text(case, octave_results):
    name, call, module, _, _ = case
    octave_text = octave_results[name]
    assert isinstance(octave_text, str), "the MEX file should have refused the call"
    with pytest.raises(sp.ModuleError) as raised:
        call()
    # Octave puts "<Name>: " before a MEX file's message and drops its final newline.
    assert octave_text.endswith(raised.value.module_text), (octave_text, str(raised.value))
    assert str(raised.value).startswith(raised.value.module_text)
