#!/usr/bin/env python3
"""Times plyfold against tiffcp on the same inputs.

For each workload it makes the inputs (once, deterministically, with
make_workload), then runs plyfold and tiffcp alternately, A B A B, checks the
page count of every output before it reports a time, and prints per workload:
median wall and CPU time of each, the plyfold/tiffcp ratio of wall times with
its min-max over the pairs, peak RSS (and the part of it that is mapped
input files), and output size.

    bench/run.py [--build build] [--runs 5] [--smoke] [WORKLOAD ...]
"""

import argparse
import ctypes
import os
import statistics
import subprocess
import sys
import threading
import time

# workload: (make_workload arguments, tiffcp variants beyond the default)
WORKLOADS = {
    "fax": (["fax", "1000"], []),
    "photo": (["photo"], [["-c", "lzw:1"]]),
    "raw": (["raw"], []),
    "deflate16": (["deflate16"], [["-c", "zip:1"]]),
    "jpeg": (["jpeg"], []),
    "tiled": (["tiled"], []),
    "pages100": (["pages", "100"], []),
    "pages1000": (["pages", "1000"], []),
    "pages10000": (["pages", "10000"], []),
    "long10000": (["long", "10000"], []),
}
SMOKE_COUNTS = {"fax": "20", "pages100": "10", "pages1000": "20",
                "pages10000": "40", "long10000": "40"}

libtiff = ctypes.CDLL("libtiff.so.6")
libtiff.TIFFOpen.restype = ctypes.c_void_p
libtiff.TIFFOpen.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libtiff.TIFFNumberOfDirectories.argtypes = [ctypes.c_void_p]
libtiff.TIFFClose.argtypes = [ctypes.c_void_p]
libtiff.TIFFSetErrorHandler(None)
libtiff.TIFFSetWarningHandler(None)


def page_count(path):
    tiff = libtiff.TIFFOpen(path.encode(), b"r")
    if not tiff:
        return -1
    pages = libtiff.TIFFNumberOfDirectories(tiff)
    libtiff.TIFFClose(tiff)
    return pages


def sample_mapped(pid, peak):
    """Keeps the largest RssFile (mapped files) of pid's child while it runs."""
    children = "/proc/%d/task/%d/children" % (pid, pid)
    status = None
    while True:
        try:
            if status is None:
                with open(children) as listing:
                    found = listing.read().split()
                if found:
                    status = "/proc/%s/status" % found[0]
            if status is not None:
                with open(status) as lines:
                    for line in lines:
                        if line.startswith("RssFile:"):
                            peak[0] = max(peak[0], int(line.split()[1]))
        except OSError:
            return
        time.sleep(0.005)


def run(command, output, scratch):
    """Runs command once under GNU time, whose own footprint before it starts
    the command is a few hundred KiB; returns wall s, CPU s, peak RSS KiB
    and the largest mapped-file RSS seen, KiB."""
    if os.path.exists(output):
        os.remove(output)
    report = os.path.join(scratch, "time.txt")
    timed = ["/usr/bin/time", "-f", "%e %U %S %M", "-o", report] + command
    child = subprocess.Popen(timed, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    mapped = [0]
    sampler = threading.Thread(target=sample_mapped, args=(child.pid, mapped))
    sampler.start()
    start = time.perf_counter()
    if child.wait() != 0:
        sys.exit("failed (%d): %s" % (child.returncode, " ".join(command[:4])))
    wall = time.perf_counter() - start
    sampler.join()
    with open(report) as lines:
        _, user, system, rss = lines.read().split()[-4:]
    return wall, float(user) + float(system), int(rss), mapped[0]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build")
    parser.add_argument("--work", default=None,
                        help="where inputs are kept between runs")
    parser.add_argument("--runs", type=int, default=5, help="pairs per command")
    parser.add_argument("--smoke", action="store_true",
                        help="small pages, few files, one pair: seconds")
    parser.add_argument("workloads", nargs="*", default=list(WORKLOADS))
    args = parser.parse_args()
    size = "smoke" if args.smoke else "full"
    work = args.work or os.path.join(args.build, "bench-" + size)
    runs = 1 if args.smoke else args.runs
    plyfold = os.path.join(args.build, "plyfold")
    maker = os.path.join(args.build, "make_workload")

    print("| workload | pages | command | wall median s | CPU median s "
          "| ratio median (min-max) | peak RSS MiB (mapped) | output MiB |")
    print("|---|---|---|---|---|---|---|---|")
    for name in args.workloads:
        make_args, variants = WORKLOADS[name]
        make_args = list(make_args)
        if args.smoke:
            if name in SMOKE_COUNTS:
                make_args[1] = SMOKE_COUNTS[name]
            make_args.append("small")
        folder = os.path.join(work, name)
        stamp = os.path.join(folder, "made")
        if not os.path.exists(stamp):
            os.makedirs(folder, exist_ok=True)
            subprocess.run([maker, make_args[0], folder] + make_args[1:],
                           check=True)
            open(stamp, "w").close()
        with open(os.path.join(folder, "list")) as listing:
            inputs = listing.read().split("\n")[:-1]
        expected = sum(page_count(path) for path in inputs)

        commands = [("plyfold", [plyfold, "/L", os.path.join(folder, "list")])]
        commands.append(("tiffcp", ["tiffcp"] + inputs))
        for variant in variants:
            commands.append(("tiffcp " + " ".join(variant),
                             ["tiffcp"] + variant + inputs))
        results = {label: [] for label, _ in commands}
        sizes = {}
        for _ in range(runs):
            for index, (label, command) in enumerate(commands):
                output = os.path.join(work, "out%d.tif" % index)
                results[label].append(run(command + [output], output, work))
                pages = page_count(output)
                if pages != expected:
                    sys.exit("%s %s: %d pages, expected %d"
                             % (name, label, pages, expected))
                sizes[label] = os.path.getsize(output)
                os.remove(output)

        plyfold_walls = [r[0] for r in results["plyfold"]]
        for label, _ in commands:
            walls = [r[0] for r in results[label]]
            ratio = ""
            if label != "plyfold":
                pairs = [p / t for p, t in zip(plyfold_walls, walls)]
                ratio = "%.2f (%.2f-%.2f)" % (statistics.median(pairs),
                                              min(pairs), max(pairs))
            rss = max(r[2] for r in results[label]) / 1024
            mapped = max(r[3] for r in results[label]) / 1024
            print("| %s | %d | %s | %.3f | %.3f | %s | %.1f (%.1f) | %.1f |" % (
                name, expected, label, statistics.median(walls),
                statistics.median(r[1] for r in results[label]), ratio, rss,
                mapped, sizes[label] / 2**20))
        sys.stdout.flush()


if __name__ == "__main__":
    main()
