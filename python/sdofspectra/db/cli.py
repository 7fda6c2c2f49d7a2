"""The sdofspectra-db command: `run` one module over record files on a dask.distributed cluster
into a Zarr store, `merge` the JSON outputs of `spectra --shard` job arrays into one."""

import argparse
import inspect
import sys

import numpy as np

from .._inputs import PeriodRange, log_periods
from .merge import merge_shards
from .run import run_database
from .store import DONE, FAILED
from .task import MODULE_FUNCTIONS

# Module options as the spectra program names them: (option, keyword, kind, help).
_PARAMETERS = (
    ("--zeta", "zeta", "list", "damping ratios ζ, list (e.g. 0.02,0.05)"),
    ("--frn", "frn", "list", "friction coefficients μ, list (fps, fps2d)"),
    ("--Qd", "Qd", "list", "characteristic strengths Qd [force], list (lrb, lrb2d)"),
    ("--mass", "mass", "number", "mass m [kg]"),
    ("--method", "method", "text", "integration method of elastic: recform or newmark"),
    ("--R", "R", "number", "strength by reduction factor R (inelastic)"),
    ("--mu", "mu", "list", "target ductilities μ, list (inelastic: constant-ductility spectra by "
     "the largest-strength rule, or the module's own search with --search module)"),
    ("--fy", "fy", "number", "strength by yield force fy (inelastic)"),
    ("--uy", "uy", "number", "yield displacement (inelastic) or pre-sliding displacement (fps)"),
    ("--kin", "kin", "number", "kinematic hardening ratio (inelastic)"),
    ("--iso", "iso", "number", "isotropic hardening ratio (inelastic)"),
    ("--g", "g", "number", "gravity (fps, fps2d)"),
    ("--weight", "weight", "number", "weight W [lbf]: the weight variant of fps"),
    ("--alpha", "alpha", "number", "post-yield to elastic stiffness ratio α (lrb, lrb2d)"),
)


def _numbers(text, option):
    try:
        return [float(v) for v in text.split(",")]
    except ValueError:
        raise ValueError(f"{option}: expected numbers separated by commas, "
                         f"got '{text}'") from None


def _periods(args):
    if args.periods and args.log_periods:
        raise ValueError("give --periods or --log-periods, not both")
    text = args.periods or args.log_periods
    if not text:
        return None
    if ":" in text:
        parts = text.split(":")
        if len(parts) != 3:
            raise ValueError(f"periods: expected start:end:count, got '{text}'")
        start, stop, count = _numbers(",".join(parts), "periods")
        if args.log_periods:
            return log_periods(start, stop, int(count))
        return PeriodRange(start, stop, int(count))
    if args.log_periods:
        raise ValueError("--log-periods: expected start:end:count")
    return np.array(_numbers(text, "--periods"))


def analysis_of(args):
    """What the run computes: the module, or "ductility" for inelastic with --mu (the
    largest-strength rule, as the spectra program) unless --search module."""
    if args.search and (args.module != "inelastic" or args.mu is None):
        raise ValueError("--search chooses how a target ductility is reached: give it with "
                         "--module inelastic --mu")
    if args.module == "inelastic" and args.mu is not None and args.search != "module":
        return "ductility"
    return args.module


def module_params(args):
    """The keyword arguments of the module's function from the options given; ValueError
    naming an option the module does not take."""
    params = {}
    periods = _periods(args)
    if periods is not None:
        params["periods"] = periods
    for option, keyword, kind, _ in _PARAMETERS:
        value = getattr(args, keyword)
        if value is None:
            continue
        params[keyword] = _numbers(value, option) if kind == "list" else value
    if analysis_of(args) == "inelastic" and "mu" in params:
        if len(params["mu"]) != 1:
            raise ValueError("--search module: the module's own search takes one --mu")
        params["mu"] = params["mu"][0]
    if args.analysis_units:
        params["units"] = args.analysis_units
    accepted = inspect.signature(MODULE_FUNCTIONS[analysis_of(args)]).parameters
    for keyword in params:
        if keyword not in accepted:
            option = "--analysis-units" if keyword == "units" else f"--{keyword}"
            raise ValueError(f"{option} does not apply to {args.module}")
    return params


def _add_run(commands):
    run = commands.add_parser(
        "run", help="run one module over record files into a Zarr store",
        description="Runs one module with one set of parameters over record files on a "
                    "dask.distributed cluster (by default one of this machine's cores), each "
                    "record's spectra into the Zarr store as it finishes. Run again to resume.",
        epilog="Two-component modules (elastic2d, fps2d, lrb2d) take the files in consecutive "
               "pairs (A_x A_y B_x B_y ...; a folder's files sorted by name).")
    run.add_argument("records", nargs="+", help="record files or folders of record files")
    run.add_argument("--module", required=True, choices=list(MODULE_FUNCTIONS))
    run.add_argument("--store", required=True, help="the Zarr store (a folder, e.g. out.zarr)")
    cluster = run.add_argument_group("cluster")
    cluster.add_argument("--scheduler", help="address of a running scheduler, tcp://HOST:PORT")
    cluster.add_argument("--workers", type=int, help="local worker processes (default: cores)")
    cluster.add_argument("--retries", type=int, default=2,
                         help="reruns of a task that failed for another reason than its record")
    cluster.add_argument("--fresh", action="store_true",
                         help="replace the store instead of resuming it")
    cluster.add_argument("-q", "--quiet", action="store_true", help="no progress line")
    parameters = run.add_argument_group("parameters (as the spectra program)")
    parameters.add_argument("--periods", help="periods [s]: list a,b,c or range start:end:count")
    parameters.add_argument("--log-periods", help="log-spaced periods start:end:count [s]")
    for option, keyword, kind, words in _PARAMETERS:
        parameters.add_argument(option, dest=keyword, help=words,
                                type=str if kind in ("list", "text") else float)
    parameters.add_argument("--search", choices=("largest", "module"),
                            help="with --mu: largest (the largest yield strength reaching the "
                                 "ductility, the default) or module (the module's own search)")
    parameters.add_argument("--analysis-units", help="acceleration unit of the analysis and of "
                            "the stored spectra (default m/s2)")
    reading = run.add_argument_group("records")
    reading.add_argument("--format", help="record format (default: by the file's content)")
    reading.add_argument("--channel", type=int, help="channel of a COSMOS file")
    reading.add_argument("--column", help="acceleration column of a table")
    reading.add_argument("--dt", type=float, help="time step [s] of files that state none")
    reading.add_argument("--units", help="unit of files that state none (default g)")


def _add_merge(commands):
    merge = commands.add_parser(
        "merge", help="gather the JSON outputs of spectra --shard runs into a Zarr store",
        description="Gathers the per-record JSON outputs of `spectra MODULE ... --shard I/N "
                    "--out-dir DIR --out-format json` runs into one Zarr store of the layout "
                    "of `sdofspectra-db run`.")
    merge.add_argument("outputs", nargs="+", help="JSON outputs, or the folders holding them")
    merge.add_argument("--store", required=True, help="the Zarr store to write (replaced)")
    merge.add_argument("--records", nargs="+",
                       help="the batch's record files as given to the shard runs: records "
                            "without an output are stored as failed")


def parser():
    top = argparse.ArgumentParser(prog="sdofspectra-db",
                                  description="Response spectra of whole record databases.")
    commands = top.add_subparsers(dest="command", required=True)
    _add_run(commands)
    _add_merge(commands)
    return top


def _report(summary, group_path):
    import zarr

    group = zarr.open_group(group_path, mode="r")
    status, names, errors = group["status"][:], group["record"][:], group["error"][:]
    failed = status == FAILED
    for name, error in zip(names[failed], errors[failed]):
        print(f"sdofspectra-db: {name}: {error}", file=sys.stderr)
    print(f"sdofspectra-db: {summary.done} done, {summary.failed} failed, {summary.skipped} "
          f"done before; {int((status == DONE).sum())} of {status.size} records in {group_path}",
          file=sys.stderr)
    return 0 if (status == DONE).all() else 1


def main(argv=None):
    args = parser().parse_args(argv)
    try:
        if args.command == "run":
            read = {"format": args.format, "channel": args.channel, "column": args.column,
                    "dt": args.dt, "units": args.units}
            params = module_params(args)
            summary = run_database(args.records, analysis_of(args), args.store,
                                   scheduler=args.scheduler, workers=args.workers, read=read,
                                   retries=args.retries, resume=not args.fresh, quiet=args.quiet,
                                   **params)
        else:
            summary = merge_shards(args.outputs, args.store, records=args.records)
    except (ValueError, OSError, RuntimeError) as error:
        print(f"sdofspectra-db: {error}", file=sys.stderr)
        return 2
    return _report(summary, args.store)


if __name__ == "__main__":
    sys.exit(main())
