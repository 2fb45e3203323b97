#!/usr/bin/env python3
"""Runs the same generated pile groups through two builds of kaldo, side by side, and prints the CPU time
of each (user plus system, the minimum and the median of the repeats) and the ratio old / new.

    bench/compare.py [--new-env NAME=VALUE ...] [--copies] OLD_KALDO NEW_KALDO [SIZES] [THREADS] [REPEATS] [STEP]
    e.g. bench/compare.py /tmp/kaldo-old build/kaldo 20 1 3

SIZES are grids of N x M piles (N alone: N x N, default 20), THREADS the thread requests of the load
cases (default 1), REPEATS the runs of each build per size and thread request (default 3), STEP the node
step of the along-pile report rows (default 1). The two builds run alternately (old, new, new, old, old,
new, ...) so that a change in the machine's load falls on both alike and each takes the first place of
a pair as often (the second run of a pair came out 4-6 % slower with the same build in both places);
the one-minute load average is printed before and after each pair. The reports of the two builds are
compared with their date and time lines left out, and a difference is printed: a faster build that
answers differently is no gain.

--new-env sets an environment variable for the new build's runs only. With a thread request above 1 the
script first measures the machine's ceiling for parallel work (bench/ceiling.cpp: a loop of pure
arithmetic on one thread, then on that many threads at once), and prints the wall-time ratio and, when
1 is among the thread requests, the new build's parallel efficiency against its own run on one thread
(of the minimum wall times and of the medians) and as a share of the ceiling. Two loops are measured:
chains of floating-point arithmetic that leave most of a processor idle (the optimistic ceiling) and
integer arithmetic that keeps its execution units busy, as the engine's own work does (the ceiling busy
code meets where processors share their cores with other machines).

--copies measures, besides, the ceiling of the run itself: the new build's one-thread run of each size,
alone and then as that many copies at once (each in its own folder), and prints the ratio of the two
wall times (median of each copy) and the parallel efficiency against it. The arithmetic loop shares
nothing; copies of the real run share the caches, the memory and the file system as its threads do.

CPU time, not wall time, is the measure on one thread: on a shared machine other work stretches the wall
time of a run while its CPU time changes much less. With several threads the wall time is printed too.
"""
import filecmp
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
# Lines of a report that carry the date or time of the run, or the time the run took.
# The folder of the run is named in the reports too, and the runtime file names the processors used.
STAMP = re.compile(rb"Date:|Time\s*:|processing\s*:|\d\d:\d\d:\d\d|Path to file locations|Number Processors")


def load():
    return os.getloadavg()[0]


def run(kaldo, inp, work, env=None):
    """One run in its own folder: (exit status, CPU seconds, wall seconds)."""
    start = time.monotonic()
    child = subprocess.Popen([kaldo, inp], cwd=work, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
    _, code, usage = os.wait4(child.pid, 0)
    wall = time.monotonic() - start
    return os.waitstatus_to_exitcode(code), usage.ru_utime + usage.ru_stime, wall


def masked(path):
    with open(path, "rb") as f:
        return [line for line in f.read().splitlines() if not STAMP.search(line)]


def sameReports(a, b):
    """The names of the report files that differ between folders a and b (date and time lines left out)."""
    differ = []
    names = sorted(set(os.listdir(a)) | set(os.listdir(b)))
    for name in names:
        pa, pb = os.path.join(a, name), os.path.join(b, name)
        if name.endswith(".inp") or not (os.path.isfile(pa) and os.path.isfile(pb)):
            if not (os.path.isfile(pa) and os.path.isfile(pb)):
                differ.append(name + " (only one build wrote it)")
            continue
        if filecmp.cmp(pa, pb, shallow=False):
            continue
        if masked(pa) != masked(pb):
            differ.append(name)
    return differ


def ceiling(threads, kind):
    """The machine's ceiling for parallel work now: (seconds of the arithmetic loop of `kind` ("fp" or
    "int") on one thread, on each of `threads` threads at once, their ratio), from bench/ceiling.cpp built
    in a scratch folder."""
    with tempfile.TemporaryDirectory() as d:
        exe = os.path.join(d, "ceiling")
        subprocess.run([os.environ.get("CXX", "c++"), "-O2", "-pthread", "-o", exe, os.path.join(HERE, "ceiling.cpp")],
                       check=True)
        rounds = "200000000" if kind == "fp" else "600000000"
        out = subprocess.run([exe, str(threads), rounds, "3", kind], check=True, capture_output=True, text=True)
        _, one, each, ratio = out.stdout.split()
        return float(one), float(each), float(ratio)


def copiesCeiling(kaldo, size, copies, step, env):
    """The run's own ceiling: (wall of one one-thread run alone, median wall of each of `copies` such runs
    started at once, their ratio)."""
    with tempfile.TemporaryDirectory() as root:
        inputs = []
        for k in range(copies):
            d = os.path.join(root, f"copy{k}")
            os.makedirs(d)
            inputs.append((os.path.join(d, f"group{size}.inp"), d))
            subprocess.run([sys.executable, os.path.join(HERE, "gen_group.py"), size, "1", inputs[-1][0], str(step)],
                           check=True)
        _, _, alone = run(kaldo, inputs[0][0], inputs[0][1], env)
        started = time.monotonic()
        children = [subprocess.Popen([kaldo, inp], cwd=d, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     env=env) for inp, d in inputs]
        walls = []
        for child in children:
            child.wait()
            walls.append(time.monotonic() - started)
        each = statistics.median(walls)
        return alone, each, alone / each


def main():
    args = sys.argv[1:]
    newEnv = dict(os.environ)
    copies = False
    while args and args[0] in ("--new-env", "--copies"):
        if args[0] == "--copies":
            copies = True
            args = args[1:]
            continue
        name, _, value = args[1].partition("=")
        newEnv[name] = value
        args = args[2:]
    if len(args) < 2:
        sys.exit(__doc__)
    old, new = os.path.abspath(args[0]), os.path.abspath(args[1])
    sizes = (args[2] if len(args) > 2 else "20").split(",")
    threads = [int(t) for t in (args[3] if len(args) > 3 else "1").split(",")]
    repeats = int(args[4]) if len(args) > 4 else 3
    step = int(args[5]) if len(args) > 5 else 1
    print(f"old: {old}\nnew: {new}\nprocessors: {os.cpu_count()}, repeats: {repeats}")
    extra = {k: v for k, v in newEnv.items() if os.environ.get(k) != v}
    if extra:
        print("new build's environment adds: " + " ".join(f"{k}={v}" for k, v in extra.items()))
    ceilings = {}
    for t in threads:
        if t > 1:
            for kind in ("fp", "int"):
                one, each, ratio = ceiling(t, kind)
                ceilings[(t, kind)] = ratio
                print(f"machine ceiling on {t} threads, {kind} loop: {one:.3f} s alone, {each:.3f} s each with {t}"
                      f" at once: {100 * ratio:.0f} % (load {load():.1f})", flush=True)
    print(f"{'piles':>6} {'thr':>3} {'build':>5} {'CPU min':>8} {'CPU med':>8} {'wall min':>8} {'wall med':>8}"
          f" {'load':>11}")
    best = {}
    middle = {}
    for size in sizes:
        n, _, m = size.partition("x")
        piles = int(n) * int(m or n)
        for t in threads:
            with tempfile.TemporaryDirectory() as root:
                folders = {k: os.path.join(root, k) for k in ("old", "new")}
                inputs = {}
                for k, d in folders.items():
                    os.makedirs(d)
                    inputs[k] = os.path.join(d, f"group{size}.inp")
                    subprocess.run([sys.executable, os.path.join(HERE, "gen_group.py"), size, str(t), inputs[k],
                                    str(step)], check=True)
                cpu = {"old": [], "new": []}
                wall = {"old": [], "new": []}
                loads = []
                for r in range(repeats):
                    loads.append(load())
                    # The second run of a pair came out a few per cent slower than the first with the
                    # same build in both places: each build takes each place in turn.
                    pair = (("old", old), ("new", new))
                    for k, exe in (pair if r % 2 == 0 else pair[::-1]):
                        code, c, w = run(exe, inputs[k], folders[k], newEnv if k == "new" else None)
                        if code != 0:
                            print(f"{k} build ended with status {code}", flush=True)
                        cpu[k].append(c)
                        wall[k].append(w)
                    loads.append(load())
                lo, hi = min(loads), max(loads)
                for k in ("old", "new"):
                    print(f"{piles:>6} {t:>3} {k:>5} {min(cpu[k]):>8.2f} {statistics.median(cpu[k]):>8.2f}"
                          f" {min(wall[k]):>8.2f} {statistics.median(wall[k]):>8.2f} {lo:>5.1f}-{hi:<5.1f}")
                ratio_min = min(cpu["old"]) / min(cpu["new"])
                ratio_med = statistics.median(cpu["old"]) / statistics.median(cpu["new"])
                print(f"{piles:>6} {t:>3} ratio old/new CPU: min {ratio_min:.2f}, median {ratio_med:.2f}")
                if t > 1:
                    print(f"{piles:>6} {t:>3} ratio old/new wall: min {min(wall['old']) / min(wall['new']):.2f},"
                          f" median {statistics.median(wall['old']) / statistics.median(wall['new']):.2f}")
                best[(piles, t)] = min(wall["new"])
                middle[(piles, t)] = statistics.median(wall["new"])
                if t > 1 and (piles, 1) in best:
                    eff = best[(piles, 1)] / (t * best[(piles, t)])
                    eff_med = middle[(piles, 1)] / (t * middle[(piles, t)])
                    # On a shared machine one fast one-thread run moves the first figure a long way:
                    # the medians' figure beside it.
                    print(f"{piles:>6} {t:>3} new build's parallel efficiency (wall, against its one thread):"
                          f" {100 * eff:.0f} % of the minima, {100 * eff_med:.0f} % of the medians")
                    print(f"{piles:>6} {t:>3} as a share of the ceilings (minima / medians): fp loop"
                          f" {100 * eff / ceilings[(t, 'fp')]:.0f} / {100 * eff_med / ceilings[(t, 'fp')]:.0f} %,"
                          f" int loop {100 * eff / ceilings[(t, 'int')]:.0f} / {100 * eff_med / ceilings[(t, 'int')]:.0f} %")
                    if copies:
                        alone, each, ratio = copiesCeiling(new, size, t, step, newEnv)
                        print(f"{piles:>6} {t:>3} the run's own ceiling: one one-thread run {alone:.2f} s alone,"
                              f" {each:.2f} s each with {t} at once: {100 * ratio:.0f} %; the efficiency is"
                              f" {100 * eff / ratio:.0f} % of it (load {load():.1f})", flush=True)
                differ = sameReports(folders["old"], folders["new"])
                print("  reports: " + ("identical" if not differ else "DIFFER: " + ", ".join(differ)), flush=True)


if __name__ == "__main__":
    main()
