"""What calling from Python costs: a 100-period elastic spectrum of a 4,000-sample record through
sdofspectra.elastic beside the same gateway call made from C++ through the own host, measured in
one run, alternating, so that both see the same machine.

    python bench_overhead.py [--rounds 30] [--calls 20] [--threads N]

Prints the median time per call of each and the Python call's overhead in percent.
"""

import argparse
import statistics
import time

import numpy as np

import sdofspectra as sp
from sdofspectra import _core


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=30)
    parser.add_argument("--calls", type=int, default=20, help="calls per round and side")
    parser.add_argument("--threads", type=int, default=0, help="0: the library's setting")
    args = parser.parse_args()

    record = sp.demo_record(duration=40.0).to("m/s2")      # 4,000 samples at 0.01 s
    periods = sp.PeriodRange(0.05, 5.0, 100)
    gateway_inputs = [record.acc, np.array(record.dt), np.array(1.0), np.array([0.05]),
                      np.array(0.05), np.array(5.0), np.array(100.0), "recform"]
    check = sp.elastic(record, periods=periods, threads=args.threads or None)
    fields, _, _ = _core.call("Quorvel", gateway_inputs, args.threads)
    assert np.array_equal(check.psdAcc, fields["psdAcc"]), "both sides must compute the same"

    python_times, host_times = [], []
    for _ in range(args.rounds):
        host_times.extend(_core.time_host_calls("Quorvel", gateway_inputs, args.calls,
                                                args.threads))
        for _ in range(args.calls):
            start = time.perf_counter()
            sp.elastic(record, periods=periods, threads=args.threads or None)
            python_times.append(time.perf_counter() - start)

    python_median = statistics.median(python_times)
    host_median = statistics.median(host_times)
    threads = args.threads or sp.thread_count()
    print(f"elastic spectrum, {record.acc.size} samples, 100 periods, 1 damping ratio, "
          f"{threads} thread(s), {len(python_times)} calls each")
    print(f"  C++ through the own host: median {host_median * 1e3:8.3f} ms "
          f"(min {min(host_times) * 1e3:.3f})")
    print(f"  sdofspectra.elastic:      median {python_median * 1e3:8.3f} ms "
          f"(min {min(python_times) * 1e3:.3f})")
    print(f"  overhead of the Python call: {100 * (python_median / host_median - 1):+.1f} % "
          f"({(python_median - host_median) * 1e6:.0f} µs)")


if __name__ == "__main__":
    main()
