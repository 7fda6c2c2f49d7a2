"""Spectra of a recorded pair of horizontal components, notebook style: read the files, look at
the record, draw its elastic spectra, its RotD50 beside the two components, and the isolation
spectrum of a lead-rubber bearing.

    python record_spectra.py [FILE1 [FILE2]] [--out FOLDER]

FILE1, FILE2: record files in any format the readers know (PEER .AT2, COSMOS, SMC, K-NET, ESM,
columns, CSV), the two horizontal components of one station. Without files the script writes the
built-in synthetic record's two components as .AT2 files and reads those. The plots go to FOLDER
(default out/python-example).
"""

import argparse
import os

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

import sdofspectra as sp  # noqa: E402


def write_at2(path, record, component):
    """A PEER NGA .AT2 file of a record in g (how the synthetic record is put on disk)."""
    rows = [" ".join(f"{v: .7E}" for v in record.acc[i:i + 5])
            for i in range(0, record.acc.size, 5)]
    header = ["PEER NGA STRONG MOTION DATABASE RECORD",
              f"Synthetic record (not an earthquake), component {component}",
              "ACCELERATION TIME SERIES IN UNITS OF G",
              f"NPTS= {record.acc.size}, DT= {record.dt:.4f} SEC"]
    with open(path, "w") as stream:
        stream.write("\n".join(header + rows) + "\n")
    return path


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("files", nargs="*", help="one or two record files")
    parser.add_argument("--out", default=os.path.join("out", "python-example"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    files = args.files or [write_at2(os.path.join(args.out, f"synthetic-{c}.AT2"),
                                     sp.demo_record(component=i), c)
                           for i, c in enumerate(("000", "090"))]
    # The records as the files give them, then in m/s² for the analyses.
    records = [sp.read_record(f) for f in files[:2]]
    print(*records, sep="\n")
    first = records[0].to("m/s2")

    ax = sp.plot_history(records[0])
    ax.set_title("Ground acceleration")
    save(ax, args.out, "history.png")

    periods = sp.log_periods(0.02, 5.0, 120)
    spectra = sp.elastic(first, periods=periods, zeta=[0.02, 0.05, 0.1])
    print(spectra)
    ax = sp.plot_spectrum(spectra, "psdAcc", axes="logx")
    ax.set_title("Elastic spectra")
    save(ax, args.out, "elastic.png")

    if len(records) == 2:
        second = records[1].to("m/s2")
        rotd = sp.rotd(first, second, periods=periods, zeta=0.05)
        each = [sp.elastic(r, periods=periods) for r in (first, second)]
        ax = sp.plot_spectrum(rotd, "psa", select={"percentile": 50, "zeta": 0.05}, axes="logx")
        for component, result in zip(("component 1", "component 2"), each):
            ax.plot(result.periods, result.psdAcc[:, 0], linewidth=0.8, linestyle="--",
                    label=f"{component}, ζ = 5 %")
        ax.set_title("RotD50 and the two components, ζ = 5 %")
        ax.legend()
        save(ax, args.out, "rotd50.png")
        ds = rotd.to_xarray()
        print("RotD50 at T = 1 s:",
              float(ds.psa.sel(percentile=50, zeta=0.05).interp(period=1.0)), "m/s2")

    isolation = sp.lrb(first, Qd=[0.03 * 9.81, 0.06 * 9.81], alpha=0.1)
    ax = sp.plot_spectrum(isolation, "dsp")
    ax.set_title("Lead-rubber bearing: displacement")
    save(ax, args.out, "lrb.png")


def save(ax, folder, name):
    path = os.path.join(folder, name)
    ax.figure.savefig(path, dpi=110)
    plt.close(ax.figure)
    print("wrote", path)


if __name__ == "__main__":
    main()
