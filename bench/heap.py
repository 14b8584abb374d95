#!/usr/bin/env python3
"""Peak heap of plyfold on each workload, measured with heaptrack, against
the largest decoded strip or tile of its inputs: memory must stay bounded by
one strip (or tile) plus 1 MiB, whatever the page size or number of pages.

    bench/heap.py [--build build] [--smoke] [WORKLOAD ...]
"""

import argparse
import ctypes
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(__file__))
import run  # noqa: E402  (the workloads and their inputs)

lib = run.libtiff
lib.TIFFReadDirectory.argtypes = [ctypes.c_void_p]
lib.TIFFIsTiled.argtypes = [ctypes.c_void_p]
for name in ("TIFFStripSize", "TIFFTileSize"):
    getattr(lib, name).argtypes = [ctypes.c_void_p]
    getattr(lib, name).restype = ctypes.c_int64


def largest_unit(path):
    tiff = lib.TIFFOpen(path.encode(), b"r")
    largest = 0
    while True:
        size = lib.TIFFTileSize(tiff) if lib.TIFFIsTiled(tiff) else lib.TIFFStripSize(tiff)
        largest = max(largest, size)
        if not lib.TIFFReadDirectory(tiff):
            break
    lib.TIFFClose(tiff)
    return largest


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build")
    parser.add_argument("--smoke", action="store_true")
    parser.add_argument("workloads", nargs="*", default=list(run.WORKLOADS))
    args = parser.parse_args()
    size = "smoke" if args.smoke else "full"
    print("| workload | largest strip or tile KiB | peak heap KiB | limit KiB | within |")
    print("|---|---|---|---|---|")
    failed = False
    for name in args.workloads:
        folder = os.path.join(args.build, "bench-" + size, name)
        if not os.path.exists(os.path.join(folder, "made")):
            subprocess.run([sys.executable, run.__file__, "--build", args.build,
                            "--runs", "1", name] + (["--smoke"] if args.smoke else []),
                           check=True, stdout=subprocess.DEVNULL)
        with open(os.path.join(folder, "list")) as listing:
            inputs = listing.read().split("\n")[:-1]
        unit = max(largest_unit(path) for path in set(inputs))
        record = os.path.join(folder, "heaptrack")
        subprocess.run(["heaptrack", "-o", record, os.path.join(args.build, "plyfold"),
                        "/L", os.path.join(folder, "list"), os.path.join(folder, "out.tif")],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.remove(os.path.join(folder, "out.tif"))
        recorded = [f for f in os.listdir(folder) if f.startswith("heaptrack.")]
        report = subprocess.run(["heaptrack_print", "-f", os.path.join(folder, recorded[0])],
                                check=True, capture_output=True, text=True).stdout
        for f in recorded:
            os.remove(os.path.join(folder, f))
        match = re.search(r"peak heap memory consumption: ([\d.]+)([KMGB]*)", report)
        scale = {"B": 1, "": 1, "K": 1e3, "M": 1e6, "G": 1e9}[match.group(2)[:1]]
        peak = float(match.group(1)) * scale
        limit = unit + 2**20
        failed |= peak > limit
        print("| %s | %.0f | %.0f | %.0f | %s |" % (name, unit / 1024, peak / 1024,
                                                  limit / 1024, "yes" if peak <= limit else "NO"))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
