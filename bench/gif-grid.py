#!/usr/bin/env python3
"""Runs gif_decode_bench RUNS times (default 3) and prints, as Markdown tables,
each library's time divided by Quorl's for every picture of the grid (above 1:
Quorl is faster), the range over the runs; each run's figure is from the same
run of both decoders, the median CPU time of its repetitions.

usage: bench/gif-grid.py BENCH_PROGRAM [RUNS] [extra benchmark options]
"""
import json
import subprocess
import sys
import tempfile

program = sys.argv[1]
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
extra = sys.argv[3:]

KINDS = ["flat", "gradient", "photo", "noise"]
COLOURS = [(4, 2), (16, 4), (32, 5), (256, 8)]  # colours, minimum code size
SIZES = ["1920x1080", "3840x2160"]
INTERLACED = "photo-256c-1920x1080-interlaced.gif"


def run_once():
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run([program, "--benchmark_repetitions=3", "--benchmark_enable_random_interleaving=true",
                        "--benchmark_min_time=0.1", "--benchmark_format=console",
                        "--benchmark_out=" + out.name, "--benchmark_out_format=json"] + extra,
                       check=True, stdout=subprocess.DEVNULL)
        report = json.load(open(out.name))
    times = {}
    for b in report["benchmarks"]:
        if b.get("aggregate_name") == "median":
            times[b["run_name"]] = b["cpu_time"]
    return times


results = [run_once() for _ in range(runs)]
libraries = sorted({name.split("/")[0] for name in results[0]} - {"quorl"}, reverse=True)


def span(values, digits):
    low, high = min(values), max(values)
    return f"{low:.{digits}f}–{high:.{digits}f}"


def ours(picture):
    return span([r["quorl/" + picture] for r in results], 1) + " ms"


def ratio(library, picture):
    return span([r[library + "/" + picture] / r["quorl/" + picture] for r in results], 2)


def picture(kind, colours, size):
    return f"{kind}-{colours}c-{size}.gif"


for title, cell in [("Quorl's time", ours)] + [(f"time of {lib} ÷ time of Quorl", lambda p, lib=lib: ratio(lib, p))
                                               for lib in libraries]:
    print(f"{title}:\n")
    print("| picture | " + " | ".join(f"{c} colours (code size {s})" for c, s in COLOURS) + " |")
    print("|---|" + "---:|" * len(COLOURS))
    for size in SIZES:
        for kind in KINDS:
            print(f"| {kind} {size.replace('x', ' × ')} | "
                  + " | ".join(cell(picture(kind, c, size)) for c, _ in COLOURS) + " |")
    print(f"| photo 1920 × 1080 interlaced | | | | {cell(INTERLACED)} |\n")
