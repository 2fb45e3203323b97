#!/usr/bin/env python3
"""Where a run's wall time goes, on one thread and on several: the time inside the parallel regions and
the serial time between them, each under the engine routine that was open on the main thread, and the
parallel efficiency of each against the one-thread run.

    bench/phases.py KALDO [SIZE] [THREADS]        e.g. bench/phases.py build/kaldo 50 1,8

SIZE is a grid as for gen_group.py (default 50: 2500 piles), THREADS the thread requests (default 1,8;
the first is the reference). Needs `perf` and the right to place probes (root): the script puts user
probes on the entry and return of the OpenMP library's parallel-region call and of a few engine routines
(reading, echo, the load cases, the group solution, its force and stiffness loops, the pile reports,
the summary tables, the clearing of the pile tables), records one run per thread request and removes
the probes again. The probes cost a little time at every call, so the totals are a few per cent above
those of a plain run; the shares are what counts.
"""
import collections
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROUTINES = ["READIN", "ECHOIN", "RUNCASES", "GRPSOL", "FVEC", "STIFF", "ENVEWR", "SUMTABS", "clearPileTables"]


def symbols(lib):
    """Address of each routine in the engine library (its first definition, not a cold part)."""
    out = subprocess.run(["nm", lib], capture_output=True, text=True, check=True).stdout
    names = subprocess.run(["c++filt"], input=out, capture_output=True, text=True, check=True).stdout
    found = {}
    for line in names.splitlines():
        parts = line.split(" ", 2)
        if len(parts) < 3 or parts[1] not in ("T", "t") or "[clone" in parts[2]:
            continue
        for r in ROUTINES:
            if r not in found and parts[2].startswith(f"kaldo::{r}("):
                found[r] = parts[0]
    return found


def gomp(lib):
    for line in subprocess.run(["ldd", lib], capture_output=True, text=True, check=True).stdout.splitlines():
        if "libgomp" in line:
            return line.split("=>")[1].split()[0]
    sys.exit("the engine library does not load the OpenMP library")


def probe(args):
    subprocess.run(["perf", "probe", "-q"] + args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def phases(data):
    """Seconds inside parallel regions and between them on the main thread, keyed by the innermost two
    engine routines open at the time; and the number of regions of each."""
    out = subprocess.run(["perf", "script", "-i", data, "-F", "tid,time,event"], capture_output=True,
                         text=True).stdout
    events = []
    for line in out.splitlines():
        m = re.match(r"\s*(\d+)\s+([\d.]+):\s+probe_\w+:(\w+):", line)
        if m:
            events.append((int(m.group(1)), float(m.group(2)), m.group(3)))
    main = events[0][0]
    events = [e for e in events if e[0] == main]
    stack = ["run"]
    inside, between, regions = collections.Counter(), collections.Counter(), collections.Counter()
    last, parallel = events[0][1], False
    for _, t, name in events:
        key = "/".join(stack[-2:])
        (inside if parallel else between)[key] += t - last
        last = t
        if name == "kaldo_par":
            parallel = True
            regions[key] += 1
        elif name.startswith("kaldo_parr"):
            parallel = False
        elif name.endswith("__return"):
            stack.pop()
        else:
            stack.append(name)
    return inside, between, regions, events[-1][1] - events[0][1]


def main():
    args = sys.argv[1:]
    if not args:
        sys.exit(__doc__)
    kaldo = os.path.abspath(args[0])
    size = args[1] if len(args) > 1 else "50"
    threads = [int(t) for t in (args[2] if len(args) > 2 else "1,8").split(",")]
    lib = os.path.join(os.path.dirname(kaldo), "libkaldo.so")
    addresses = symbols(lib)
    subprocess.run(["perf", "probe", "-q", "-d", "probe_*:*"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        omp = gomp(lib)
        probe(["-x", omp, "-a", "kaldo_par=GOMP_parallel", "-a", "kaldo_parr=GOMP_parallel%return"])
        for r, a in addresses.items():
            probe(["-x", lib, "-a", f"{r}=0x{a}", "-a", f"{r}r=0x{a}%return"])
        results = {}
        with tempfile.TemporaryDirectory() as root:
            for t in threads:
                d = os.path.join(root, f"t{t}")
                os.makedirs(d)
                inp = os.path.join(d, "group.inp")
                subprocess.run([sys.executable, os.path.join(HERE, "gen_group.py"), size, str(t), inp, "1"], check=True)
                data = os.path.join(d, "probes.data")
                subprocess.run(["perf", "record", "-q", "-e", "probe_*:*", "-o", data, kaldo, inp], cwd=d,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
                results[t] = phases(data)
    finally:
        subprocess.run(["perf", "probe", "-q", "-d", "probe_*:*"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # Each place: its whole time on each thread request, the part of it outside parallel regions, and
    # the efficiency of the whole against the first request.
    places = {k for t in threads for part in results[t][:2] for k in part}
    whole = {t: {k: results[t][0].get(k, 0.0) + results[t][1].get(k, 0.0) for k in places} for t in threads}
    ref = threads[0]
    print(f"{'where (main thread)':28s}" + "".join(f" {f'{t} thr s':>9s} {'serial':>7s}" for t in threads) +
          "".join(f" {f'eff {t}':>7s}" for t in threads[1:]))
    for k in sorted(places, key=lambda k: -whole[ref][k]):
        if max(whole[t][k] for t in threads) < 0.002:
            continue
        line = f"{k:28s}" + "".join(f" {whole[t][k]:9.3f} {results[t][1].get(k, 0.0):7.3f}" for t in threads)
        line += "".join(f" {100 * whole[ref][k] / (t * whole[t][k]):6.0f}%" for t in threads[1:] if whole[t][k] > 0)
        print(line)
    totals = [results[t][3] for t in threads]
    print(f"{'whole run':28s}" + "".join(f" {c:9.3f} {sum(results[t][1].values()):7.3f}" for t, c in zip(threads, totals)) +
          "".join(f" {100 * totals[0] / (t * c):6.0f}%" for t, c in zip(threads[1:], totals[1:])))
    for t in threads:
        print(f"{t} threads: {sum(results[t][2].values())} parallel regions")


if __name__ == "__main__":
    main()
