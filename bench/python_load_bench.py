#!/usr/bin/env python3
"""Measures loading a large curves document into numpy arrays through the labarc module, against
the C++ document load and against json.loads of `labarc dump --json`, with peak memory of each.

    python3 bench/python_load_bench.py [--build build] [--curves 10] [--points 100000]

Needs the module (build/python), labarc_document_load_timer (configure with benchmarks on) and,
for the JSON figures, the labarc tool. Run it on a quiet machine: it reports the fastest of
several runs.
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile
import time
from pathlib import Path


def make_document(path, curves, points):
    """Every eighth value an arbitrary bit pattern (NaNs, infinities, subnormals), the rest plain
    measurements, as the tool's own large test documents hold them."""
    import numpy as np
    import labarc
    rng = np.random.default_rng(1)
    doc = labarc.Document("Example Plotter", 3.6)
    section = doc.add_section("Curves")
    index = np.arange(points)
    for c in range(curves):
        x = index * 0.001
        y = np.sin(index * 0.01 + c) * 100
        x[3::8] = rng.integers(0, 2**64, size=len(x[3::8]), dtype=np.uint64).view(np.float64)
        y[5::8] = rng.integers(0, 2**64, size=len(y[5::8]), dtype=np.uint64).view(np.float64)
        section.add_curve(f"Curve {c}", x, y, (index % 3).astype(np.uint8))
    doc.save(path)


# Run in a fresh interpreter each, so that each peak is its own: prints wall and processor seconds,
# the peak resident memory over the resident memory after the imports (KiB), and the bytes of the
# arrays it ended with.
CHILD = r"""
import json, sys, time
import numpy as np
import labarc
def status(field):  # KiB; this process's own (ru_maxrss would carry the parent's peak over exec)
    for line in open("/proc/self/status"):
        if line.startswith(field + ":"):
            return int(line.split()[1])
mode, path, dump = sys.argv[1], sys.argv[2], sys.argv[3]
base = status("VmRSS")
start, start_cpu = time.perf_counter(), time.process_time()
if mode == "load":
    doc = labarc.load(path)
    arrays = [a for c in doc.curves for a in (c.x, c.y, c.flags)]
elif mode == "load-text":
    doc = labarc.load(path, keep_text=True)
    arrays = [a for c in doc.curves for a in (c.x, c.y, c.flags)]
elif mode == "iter":
    arrays, total = [], 0.0
    for curve in labarc.iter_curves(path):
        total += float(np.nanmean(curve.y[np.isfinite(curve.y)]))
elif mode == "json":
    document = json.loads(open(dump, encoding="utf-8").read())
    arrays = []
elif mode == "dump+json":
    import resource, subprocess
    text = subprocess.run([dump, "dump", "--json", path], check=True, capture_output=True,
                          text=True).stdout
    tool = resource.getrusage(resource.RUSAGE_CHILDREN)
    start_cpu -= tool.ru_utime + tool.ru_stime  # the tool's processor time counts too
    document = json.loads(text)
    arrays = []
took, took_cpu = time.perf_counter() - start, time.process_time() - start_cpu
peak = status("VmHWM")
print(took, took_cpu, peak - base, sum(a.nbytes for a in arrays))
"""


def child(mode, path, dump, repeats, env):
    runs = []
    for _ in range(repeats):
        out = subprocess.run([sys.executable, "-c", CHILD, mode, str(path), str(dump)], env=env,
                             check=True, capture_output=True, text=True).stdout.split()
        runs.append((float(out[0]), float(out[1]), int(out[2]), int(out[3])))
    return (min(r[0] for r in runs), min(r[1] for r in runs), max(r[2] for r in runs), runs[0][3])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--curves", type=int, default=10)
    parser.add_argument("--points", type=int, default=100000)
    parser.add_argument("--repeats", type=int, default=5)
    args = parser.parse_args()
    build = Path(args.build).resolve()
    env = dict(os.environ, PYTHONPATH=str(build / "python"))
    sys.path.insert(0, str(build / "python"))
    timer = build / "bench" / "labarc_document_load_timer"
    cli = build / "tools" / "labarc"

    with tempfile.TemporaryDirectory() as work:
        path = Path(work) / "curves.lbd"
        make_document(path, args.curves, args.points)
        print(f"document: {args.curves} curves x {args.points} points, "
              f"{path.stat().st_size / 2**20:.1f} MiB")

        # The Python load leaves point text uncompared by default; the C++ load is timed alike,
        # and with the comparison (keep_text) for reference.
        print("                              wall s   cpu s  peak MiB")
        for mode, name in (("text", "C++ LoadDocument, text     "), ("values", "C++ LoadDocument           ")):
            cpp = subprocess.run([str(timer), str(path), str(args.repeats), mode], check=True,
                                 capture_output=True, text=True).stdout.split()
            cpp_wall, cpp_cpu = float(cpp[1]), float(cpp[3])
            print(f"{name}  {cpp_wall:7.3f} {cpp_cpu:7.3f} {int(cpp[9]) / 1024:8.1f}"
                  "  (whole process)")

        wall, cpu, peak, arrays = child("load", path, "-", args.repeats, env)
        print(f"labarc.load, numpy arrays   {wall:7.3f} {cpu:7.3f} {peak / 1024:8.1f}"
              f"  (over the imports: arrays {arrays / 2**20:.1f}, the rest "
              f"{(peak * 1024 - arrays) / 2**20:.1f}); {wall / cpp_wall:.2f}x C++ wall, "
              f"{cpu / cpp_cpu:.2f}x cpu")
        load = (wall, cpu)

        wall, cpu, peak, arrays = child("load-text", path, "-", args.repeats, env)
        print(f"labarc.load, keep_text      {wall:7.3f} {cpu:7.3f} {peak / 1024:8.1f}")

        wall, cpu, peak, _ = child("iter", path, "-", args.repeats, env)
        print(f"labarc.iter_curves, means   {wall:7.3f} {cpu:7.3f} {peak / 1024:8.1f}")

        if cli.exists():
            dump = Path(work) / "curves.json"
            with open(dump, "w", encoding="utf-8") as out:
                subprocess.run([str(cli), "dump", "--json", str(path)], check=True, stdout=out)
            for mode, name, program in (("json", "json.loads of the JSON  ", dump),
                                        ("dump+json", "dump --json, json.loads ", cli)):
                wall, cpu, peak, _ = child(mode, path, program, args.repeats, env)
                print(f"{name}    {wall:7.3f} {cpu:7.3f} {peak / 1024:8.1f}"
                      f"  labarc.load {wall / load[0]:.1f}x faster wall, {cpu / load[1]:.1f}x cpu")
        else:
            print(f"(no {cli}: JSON figures left out)")


if __name__ == "__main__":
    main()
