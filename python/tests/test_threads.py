"""Analyses run without the GIL: two Python threads are inside two analyses at once, and the
results do not depend on the threads, the thread count or the company."""

import sys
import threading

import numpy as np
import pytest

import sdofspectra as sp

AG = sp.demo_record(duration=40.0).to("m/s2")
AG2 = sp.demo_record(duration=40.0, component=1).to("m/s2")


def calls(threads=1):
    """Analyses of a few tenths of a second each on one thread (lrb: 400 periods, about 40 ms;
    with 40, 4 ms were too short a window for the second thread on a loaded machine)."""
    return [lambda: sp.elastic(AG, periods=(0.05, 5.0, 2000), zeta=[0.02, 0.05, 0.1],
                               method="newmark", threads=threads),
            lambda: sp.lrb(AG2, periods=(0.5, 5.0, 400), threads=threads),
            lambda: sp.rotd(AG, AG2, periods=(0.1, 4.0, 60), threads=threads),
            lambda: sp.constant_ductility(AG, mu=2, periods=[0.8, 1.6, 2.4], threads=threads)]


def same(first, second):
    first, second = np.asarray(first), np.asarray(second)
    if first.dtype == object:
        return first.tolist() == second.tolist()
    return np.array_equal(first, second, equal_nan=True)


@pytest.fixture
def no_forced_switches():
    """The interpreter hands the GIL to another thread only when its holder lets it go: a thread
    then runs Python while another is in an analysis only if the analysis released the GIL."""
    interval = sys.getswitchinterval()
    sys.setswitchinterval(1000.0)
    yield
    sys.setswitchinterval(interval)


@pytest.mark.parametrize("index", range(4), ids=["elastic", "lrb", "rotd", "constant ductility"])
def test_two_threads_are_inside_analyses_at_the_same_time(no_forced_switches, monkeypatch, index):
    inside, most_inside = [0], [0]
    lock = threading.Lock()

    def counted(analysis):
        """The extension's entry point, counting the threads inside it."""
        def entry(*args, **kwargs):
            with lock:
                inside[0] += 1
                most_inside[0] = max(most_inside[0], inside[0])
            try:
                return analysis(*args, **kwargs)
            finally:
                with lock:
                    inside[0] -= 1
        return entry

    for name in ("call", "rotd", "constant_ductility"):
        monkeypatch.setattr(sp._core, name, counted(getattr(sp._core, name)))
    results, ready = [None, None], threading.Barrier(2)

    def worker(slot):
        ready.wait()
        results[slot] = calls()[index]()

    threads = [threading.Thread(target=worker, args=(slot,)) for slot in (0, 1)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert most_inside[0] == 2, "the second thread could not start while the first analysed"
    first, second = results
    for field in first:
        assert same(first[field], second[field]), field


def test_results_do_not_depend_on_the_thread_count_nor_on_concurrent_calls():
    reference = [call() for call in calls()]
    outcomes = {}

    def worker(index, threads):
        outcomes[(index, threads)] = calls(threads)[index]()

    jobs = [threading.Thread(target=worker, args=(i, n)) for i in range(4) for n in (2, 3)]
    for job in jobs:
        job.start()
    for job in jobs:
        job.join()
    for (index, _), result in outcomes.items():
        for field in reference[index]:
            assert same(result[field], reference[index][field]), field


def test_a_threads_choice_holds_for_its_own_call_only():
    before = sp.thread_count()
    sp.elastic(AG, threads=1)
    assert sp.thread_count() == before
