"""The measures from Python give the library's numbers: RotD's peaks at 0° and 90° are the
elastic module's, constant ductility's strengths are the inelastic module's analyses, and the
targets, suite statistics and scaling keep their rules and messages."""

import numpy as np
import pytest

import sdofspectra as sp

AG1 = sp.demo_record(duration=12.0).to("m/s2")
AG2 = sp.demo_record(duration=12.0, component=1).to("m/s2")
PERIODS = (0.1, 3.0, 9)
ZETA = [0.02, 0.05]


def test_rotd_peaks_at_0_and_90_degrees_are_the_elastic_modules():
    r = sp.rotd(AG1, AG2, periods=PERIODS, zeta=ZETA)
    one, two = sp.elastic(AG1, periods=PERIODS, zeta=ZETA), sp.elastic(AG2, periods=PERIODS,
                                                                        zeta=ZETA)
    assert np.array_equal(r.coords["period"], one.T)        # the modules' generated periods
    assert np.array_equal(r.sd_at_angle[0], one.dsp)
    assert np.array_equal(r.sd_at_angle[90], two.dsp)
    assert np.all(r.psa[0] <= r.psa[1]) and np.all(r.psa[1] <= r.psa[2])
    resultant = sp.elastic2d(AG1, AG2, periods=PERIODS, zeta=ZETA)
    assert np.all(r.sd[2] <= resultant.dsp)


def test_rotd_refuses_values_outside_its_ranges_with_its_message():
    with pytest.raises(ValueError, match="percentile"):
        sp.rotd(AG1, AG2, periods=[1.0], percentiles=[150])
    with pytest.raises(ValueError, match="damping"):
        sp.rotd(AG1, AG2, periods=[1.0], zeta=1.5)


def test_constant_ductility_points_are_the_inelastic_modules_analyses():
    periods, zeta = [0.5, 1.0, 2.0], [0.05]
    c = sp.constant_ductility(AG1, mu=3, periods=periods, zeta=zeta, kin=0.02)
    assert c.status.tolist() == [["reached"]] * 3 and c.warnings == []
    for i in range(3):
        fy = c.yield_strength[i, 0]
        module = sp.inelastic(AG1, periods=periods, zeta=zeta, fy=fy, kin=0.02)
        assert module.muFact[i, 0] == c.ductility[i, 0] >= 3
        assert module.dsp[i, 0] == c.peak_displacement[i, 0]
    heavier = sp.constant_ductility(AG1, mu=3, periods=periods, zeta=zeta, kin=0.02, mass=4.0)
    assert np.array_equal(heavier.ductility, c.ductility)
    assert np.array_equal(heavier.yield_strength, c.yield_strength * 4.0)


def test_constant_ductility_without_a_solution_is_nan_with_a_warning():
    c = sp.constant_ductility(AG1, mu=8, periods=[0.3], search={"r_max": 1.5})
    assert c.status[0, 0] == "not reached" and np.isnan(c.yield_strength[0, 0])
    assert len(c.warnings) == 1 and "μ = 8" in c.warnings[0]
    with pytest.raises(TypeError, match="unknown setting 'rmax'"):
        sp.constant_ductility(AG1, mu=2, periods=[1.0], search={"rmax": 3})


def test_resampling_keeps_the_original_samples():
    fine = sp.resample(AG1, 4)
    assert fine.dt == AG1.dt / 4 and fine.acc.size == (AG1.acc.size - 1) * 4 + 1
    assert np.array_equal(fine.acc[::4], AG1.acc)
    assert np.array_equal(sp.resample(AG1.acc, 1), AG1.acc)
    assert sp.resample_factor(0.01, 0.02) == 5
    a1, a2, dt = sp.pair_components(AG1.acc, 0.01, AG2.acc[::2], 0.02)
    assert dt == 0.01 and np.array_equal(a1, AG1.acc) and np.array_equal(a2[::2], AG2.acc[::2])


def test_design_spectra_follow_their_codes():
    asce = sp.Asce7Spectrum(sds=1.0, sd1=0.6, tl=8.0)
    assert asce.sa([asce.ts, 1.2]).tolist() == [1.0, 0.5]
    ec8 = sp.Eurocode8Spectrum("1", "B", ag=0.25)
    assert ec8.eta == 1.0 and ec8.sa(np.array([[0.3]])).shape == (1, 1)
    with pytest.raises(ValueError):
        ec8.sa([5.0])                                   # beyond 4 s
    with pytest.raises(ValueError, match="ground type"):
        sp.Eurocode8Spectrum("1", "F", ag=0.25)
    table = sp.TableSpectrum([0.1, 1.0], [1.0, 0.1], "target.csv")
    assert table.sa([np.sqrt(0.1)])[0] == pytest.approx(np.sqrt(0.1), rel=1e-12)


def test_suites_are_summarised_and_scaled_by_the_rules():
    periods = [0.2, 0.5, 1.0]
    sa = [[0.8, 0.6, 0.3], [0.4, 0.3, 0.15]]
    stats = sp.suite_statistics(periods, sa, names=["a", "b"])
    assert stats["log_mean"] == pytest.approx(np.sqrt(np.prod(sa, axis=0)), rel=1e-14)
    assert sp.arithmetic_mean(periods, sa).tolist() == pytest.approx([0.6, 0.45, 0.225])
    target = sp.TableSpectrum(periods, [1.2, 0.9, 0.45], "target")
    one = sp.scale_record(periods, sa[1], target, (0.2, 1.0))
    assert one["factor"] == pytest.approx(3.0, rel=1e-12) and one["periods_used"] == 3
    suite = sp.scale_suite(periods, sa, target, (0.2, 1.0), fraction=0.9)
    assert suite["common_factor"] >= 1 and len(suite["factors"]) == 2
    assert sp.eurocode8_scaling_range(1.0) == (0.2, 2.0)
    assert sp.ASCE7_SUITE_RULE.minimum_records == 11
    with pytest.raises(ValueError, match="at least two"):
        sp.suite_statistics(periods, sa[:1])
