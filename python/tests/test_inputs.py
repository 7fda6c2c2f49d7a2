"""Bad inputs raise TypeError or ValueError (the module's own text where the module judges them),
never crash the interpreter, and inputs are never modified."""

import math

import numpy as np
import pytest
from hypothesis import HealthCheck, given, settings
from hypothesis import strategies as st

import sdofspectra as sp

DT = 0.01
AG = np.sin(np.arange(400) * 0.07) * np.exp(-np.arange(400) * 0.004)
AG2 = np.cos(np.arange(380) * 0.05)
T = [0.2, 1.0]

ONE = [("elastic", sp.elastic, {}), ("inelastic", sp.inelastic, {"R": 3}),
       ("fps", sp.fps, {}), ("fps weight", sp.fps, {"weight": 100.0}), ("lrb", sp.lrb, {})]
TWO = [("elastic2d", sp.elastic2d, {}), ("fps2d", sp.fps2d, {}), ("lrb2d", sp.lrb2d, {})]


def call(function, extra, acc=AG, acc2=AG2, **kw):
    if function in (sp.elastic2d, sp.fps2d, sp.lrb2d):
        return function(acc, acc2, DT, periods=kw.pop("periods", T), **extra, **kw)
    return function(acc, DT, periods=kw.pop("periods", T), **extra, **kw)


@pytest.mark.parametrize("name,function,extra", ONE + TWO, ids=[c[0] for c in ONE + TWO])
class TestEveryModule:
    @pytest.mark.parametrize("bad", [["a", "b"], np.array([1 + 2j, 3j]), [True, False],
                                     np.array([1.0, None], dtype=object), "text"],
                             ids=["strings", "complex", "booleans", "objects", "str"])
    def test_a_record_of_no_real_numbers_is_a_type_error(self, name, function, extra, bad):
        with pytest.raises(TypeError, match="acc"):
            call(function, extra, acc=bad)

    def test_a_matrix_record_is_refused_rather_than_cut_to_a_column(self, name, function, extra):
        with pytest.raises(ValueError, match=r"acc.*\(400, 2\)"):
            call(function, extra, acc=np.column_stack([AG, AG]))

    def test_an_empty_record_is_refused_with_the_modules_text(self, name, function, extra):
        with pytest.raises(sp.ModuleError, match=r"::mexFunction - ag1? must have at least one"):
            call(function, extra, acc=[])

    def test_other_layouts_and_types_give_the_same_bits(self, name, function, extra):
        strided = np.repeat(AG, 2)[::2]          # a non-contiguous view
        assert not strided.flags.contiguous
        single = AG.astype(np.float32)
        whole = np.round(AG * 1000).astype(np.int64)
        for acc, same in ((strided, AG), (list(AG), AG), (AG.reshape(1, -1), AG),
                          (AG.reshape(-1, 1), AG), (single, single.astype(np.float64)),
                          (whole, whole.astype(np.float64))):
            result, reference = call(function, extra, acc=acc), call(function, extra, acc=same)
            for field in reference:
                assert np.array_equal(np.asarray(result[field]), np.asarray(reference[field]),
                                      equal_nan=True), field

    def test_inputs_are_never_modified(self, name, function, extra):
        acc = AG.copy()
        acc.flags.writeable = False          # a write would raise
        periods = np.array(T)
        before = (acc.tobytes(), periods.tobytes())
        call(function, extra, acc=acc, periods=periods)
        assert (acc.tobytes(), periods.tobytes()) == before


def test_a_huge_call_is_a_memory_error_before_anything_is_allocated():
    with pytest.raises(MemoryError, match="GiB"):
        sp.elastic(AG, DT, periods=(0.1, 1.0, 2e9), zeta=np.linspace(0.01, 0.2, 20))


def test_a_count_beyond_32_bits_is_the_modules_own_error():
    with pytest.raises(sp.ModuleError, match="nT is larger than a 32-bit count can hold"):
        sp.elastic(AG, DT, periods=(0.1, 1.0, 1e12))


def test_scalars_and_keywords_are_checked():
    with pytest.raises(TypeError, match="dt"):
        sp.elastic(AG)                                   # no step
    with pytest.raises(ValueError, match="mass: expected one number"):
        sp.elastic(AG, DT, mass=[1.0, 2.0])
    with pytest.raises(TypeError, match="mass"):
        sp.elastic(AG, DT, mass=True)
    with pytest.raises(TypeError, match="exactly one strength definition"):
        sp.inelastic(AG, DT, R=2, mu=3)
    with pytest.raises(TypeError, match="threads"):
        sp.elastic(AG, DT, threads=1.5)
    with pytest.raises(ValueError, match="a tuple is a range"):
        sp.elastic(AG, DT, periods=(0.1, 0.2))
    with pytest.raises(ValueError, match="in/s2"):
        sp.fps(AG, DT, weight=10.0, units="m/s2")
    with pytest.raises(TypeError, match="mass and g do not apply"):
        sp.fps(AG, DT, weight=10.0, g=386.1)
    with pytest.raises(ValueError, match="Known|known"):
        sp.elastic(AG, DT, units="furlong/s2")


def test_components_at_different_steps_are_refused():
    first = sp.Record(AG, 0.01, "m/s2")
    second = sp.Record(AG2, 0.02, "m/s2")
    with pytest.raises(ValueError, match="different time steps"):
        sp.elastic2d(first, second)


def within(values, smallest, largest):
    """Finite nonzero values brought into smallest..largest in size, signs kept; NaN, infinities
    and zeros stay as they are."""
    return [math.copysign(min(max(abs(v), smallest), largest), v)
            if math.isfinite(v) and v != 0.0 else v for v in values]


# The sub-stepping modules halve their step until the iteration converges and never grow it
# again: degenerate finite inputs (a step of 1e8 s, accelerations of 1e16, periods of 1e-8 s)
# make one call run for minutes to years. Their finite numbers stay within what a record and
# an oscillator can be, as in the fuzzing of the gateways (fuzz/harness/argument_decoder.h).
SUB_STEPPING = {"inelastic", "fps", "lrb", "fps2d", "lrb2d"}


@pytest.mark.filterwarnings("ignore::sdofspectra.ModuleWarning")  # failed convergences
@settings(max_examples=60, deadline=None, suppress_health_check=[HealthCheck.too_slow])
@given(
    acc=st.lists(st.floats(allow_nan=True, allow_infinity=True, width=64), max_size=30),
    dt=st.floats(allow_nan=True, allow_infinity=True),
    periods=st.lists(st.floats(allow_nan=True, allow_infinity=True), max_size=4),
    swept=st.lists(st.floats(allow_nan=True, allow_infinity=True), max_size=3),
    module=st.sampled_from(["elastic", "inelastic", "fps", "lrb", "elastic2d", "fps2d", "lrb2d"]),
)
def test_arbitrary_numbers_raise_or_return_but_never_crash(acc, dt, periods, swept, module):
    function = getattr(sp, module)
    keyword = {"elastic": "zeta", "elastic2d": "zeta", "inelastic": "zeta", "fps": "frn",
               "fps2d": "frn", "lrb": "Qd", "lrb2d": "Qd"}[module]
    extra = {keyword: swept}
    if module == "inelastic":
        extra["R"] = 2.0
    if module in SUB_STEPPING:
        acc = within(acc, 1e-7, 1e3)
        [dt] = within([dt], 1e-7, 0.1)
        periods = within(periods, 1e-3, 1e6)
        extra[keyword] = within(swept, 1e-7, 1e6)
        if module == "inelastic":  # damping ratios near -1 as well
            extra[keyword] = [max(z, -0.2) for z in extra[keyword]]
    args = (acc, acc[::-1]) if module.endswith("2d") else (acc,)
    try:
        result = function(*args, dt, periods=periods, **extra)
    except ValueError:
        return
    assert result.periods.size == len(periods)
