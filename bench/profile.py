#!/usr/bin/env python3
"""Instruction profile of one plyfold run under callgrind: the share of
instructions spent in each object file (plyfold's own code, libtiff, its
codecs, the C library). Instruction counts repeat exactly on a busy machine.

    bench/profile.py [--build build] [--workload photo] [--smoke]
"""

import argparse
import collections
import os
import re
import subprocess
import sys


def self_cost_by_object(path):
    """Sums the self cost (first event, Ir) of every function per object.
    Cost lines right after a calls= line are the callee's inclusive cost and
    are skipped."""
    names = {}
    totals = collections.Counter()
    current = None
    after_call = False
    with open(path) as data:
        for line in data:
            if line.startswith(("ob=", "cob=")):
                # Either may name an object first: "ob=(3) /lib/libc.so.6".
                key, _, rest = line.strip().partition("=")
                match = re.match(r"\((\d+)\)(?: (.*))?$", rest)
                number, name = match.groups() if match else (rest, rest)
                if name:
                    names[number] = name
                if key == "ob":
                    current = names.get(number)
            elif line.startswith("calls="):
                after_call = True
            elif line[:1].isdigit() or line[:1] in "+-*":
                if after_call:
                    after_call = False
                    continue
                fields = line.split()
                if len(fields) >= 2 and current is not None:
                    totals[current] += int(fields[1])
    return totals


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build")
    parser.add_argument("--workload", default="photo")
    parser.add_argument("--smoke", action="store_true")
    args = parser.parse_args()
    size = "smoke" if args.smoke else "full"
    folder = os.path.join(args.build, "bench-" + size, args.workload)
    if not os.path.exists(os.path.join(folder, "made")):
        subprocess.run([sys.executable, os.path.join(os.path.dirname(__file__),
                        "run.py"), "--build", args.build, "--runs", "1"]
                       + (["--smoke"] if args.smoke else []) + [args.workload],
                       check=True, stdout=subprocess.DEVNULL)
    out = os.path.join(folder, "callgrind.out")
    subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out,
                    os.path.join(args.build, "plyfold"), "/L",
                    os.path.join(folder, "list"), os.path.join(folder, "out.tif")],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.remove(os.path.join(folder, "out.tif"))
    totals = self_cost_by_object(out)
    everything = sum(totals.values())
    print("| object | instructions | share |")
    print("|---|---|---|")
    for name, cost in totals.most_common():
        print("| %s | %d | %.3f %% |" % (os.path.basename(name), cost,
                                          100.0 * cost / everything))
    print("| all | %d | 100 %% |" % everything)


if __name__ == "__main__":
    main()
