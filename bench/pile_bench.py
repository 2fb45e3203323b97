#!/usr/bin/env python3
"""The pile solver's own speed: two builds of kaldo side by side on groups of identical free-head piles,
CPU time per pile.

    bench/pile_bench.py OLD_KALDO NEW_KALDO [REPEATS]
    bench/pile_bench.py --write FOLDER          (only writes the two inputs)
    e.g. bench/pile_bench.py /tmp/kaldo-old/kaldo build/kaldo 3

Two inputs, each 100 identical vertical piles (steel pipe 24 x 0.5 in, 60 ft, 100 increments, pinned
heads) in a 10 x 10 grid at 6 ft under a rigid cap, without group reduction factors, so that every pile
sees the same head movement; one in soft clay, one in sand. One load case on one thread: a lateral load
along Y in four load steps, large enough that the head deflection of each pile is several inches, far
into the nonlinear part of the p-y curves. The reports list every tenth node along each pile.

Each build runs each input REPEATS times (default 3), old and new alternately so that a change in the
machine's load falls on both alike. For each build the script prints the CPU time (user plus system of
the run, with its threads) per pile, the minimum and the median over the repeats, the ratio old / new of
both, the machine's one-minute load average before and after, and whether the reports of the two builds
agree: the results report (.out) and the pile results report (.pile), with the lines that carry the date,
time, folder or processors left out. A build that changes the last digits of some results is told
apart from one that answers differently: the count of differing lines and the first few are printed.

A run whose exit status is not 0 (a failure, or a case that did not converge fully) is reported: its
time says nothing about the solver.
"""
import os
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import compare  # noqa: E402  (the report masking and the timed run)
import gen_group  # noqa: E402  (the parts of the input)

N = 10  # piles along each side of the grid
PILES = N * N
INCREMENTS = 100
STEP = 10  # node step of the along-pile rows in the reports
# Lateral load per pile (lb) along Y. With the current build the heads move 4.0 in in the clay, over three
# times its y50 at the ground surface (2.5 x 0.02 x 24 in = 1.2 in), and 1.26 in in the sand, past the
# point where its curve reaches the ultimate resistance (3 b / 80 = 0.9 in).
LATERAL = {"clay": 60000.0, "sand": 80000.0}
REPORTS = (".out", ".pile")
SHOW = 5  # differing lines printed per report


def bench_input(soil):
    """The lines of the input of the 100 piles in the given soil ("clay" or "sand")."""
    load = LATERAL[soil] * PILES
    lines = gen_group.heading(f"Pile benchmark: {PILES} free-head piles in {soil}, lateral load") + gen_group.cap(N, N)
    lines += ["LOAD CASES", "1 0 0 1 0"]
    lines += gen_group.case("Lateral load along Y", [(0.0, load, 0.0, 0.0, 0.0, 0.0)], 1, STEP, print_level=2)
    lines += ["LOAD COMBINATIONS", "0 0 0 0 0"]
    lines += gen_group.arrangement(N, N, connection=gen_group.PINNED)
    lines += gen_group.pile_and_soil(increments=INCREMENTS, soil=soil)
    return lines


def differing(a, b):
    """The lines of report a that differ from report b, date and time lines left out: (count, the first
    few as pairs). Reports of equal length are compared line by line; others by a sequence match."""
    la, lb = compare.masked(a), compare.masked(b)
    if len(la) == len(lb):
        pairs = [(x, y) for x, y in zip(la, lb) if x != y]
        return len(pairs), pairs[:SHOW]
    import difflib
    pairs, count = [], 0
    for tag, i1, i2, j1, j2 in difflib.SequenceMatcher(None, la, lb, autojunk=False).get_opcodes():
        if tag == "equal":
            continue
        count += max(i2 - i1, j2 - j1)
        for k in range(max(i2 - i1, j2 - j1)):
            if len(pairs) < SHOW:
                pairs.append((la[i1 + k] if i1 + k < i2 else b"", lb[j1 + k] if j1 + k < j2 else b""))
    return count, pairs


def main():
    args = sys.argv[1:]
    if len(args) == 2 and args[0] == "--write":
        os.makedirs(args[1], exist_ok=True)
        for soil in LATERAL:
            gen_group.write(os.path.join(args[1], f"piles-{soil}.inp"), bench_input(soil))
        return
    if len(args) not in (2, 3):
        sys.exit(__doc__)
    old, new = os.path.abspath(args[0]), os.path.abspath(args[1])
    repeats = int(args[2]) if len(args) == 3 else 3
    print(f"old: {old}\nnew: {new}\n{PILES} piles, {INCREMENTS} increments, one thread; repeats: {repeats}")
    print(f"{'soil':>5} {'build':>5} {'ms/pile min':>11} {'ms/pile med':>11} {'status':>6} {'load':>11}")
    for soil in LATERAL:
        with tempfile.TemporaryDirectory() as root:
            folders = {k: os.path.join(root, k) for k in ("old", "new")}
            inputs = {}
            for k, d in folders.items():
                os.makedirs(d)
                inputs[k] = os.path.join(d, f"piles-{soil}.inp")
                gen_group.write(inputs[k], bench_input(soil))
            cpu = {"old": [], "new": []}
            codes = {"old": set(), "new": set()}
            loads = []
            for _ in range(repeats):
                loads.append(compare.load())
                for k, exe in (("old", old), ("new", new)):
                    code, c, _ = compare.run(exe, inputs[k], folders[k])
                    codes[k].add(code)
                    cpu[k].append(1000.0 * c / PILES)
                loads.append(compare.load())
            lo, hi = min(loads), max(loads)
            for k in ("old", "new"):
                status = ",".join(str(c) for c in sorted(codes[k]))
                print(f"{soil:>5} {k:>5} {min(cpu[k]):>11.2f} {statistics.median(cpu[k]):>11.2f} {status:>6}"
                      f" {lo:>5.2f}-{hi:<5.2f}")
                if codes[k] != {0}:
                    print(f"      the {k} build did not complete with every case converged (exit status"
                          f" {status}): its time is not the solver's")
            print(f"{soil:>5} ratio old/new CPU: min {min(cpu['old']) / min(cpu['new']):.3f},"
                  f" median {statistics.median(cpu['old']) / statistics.median(cpu['new']):.3f}")
            for ext in REPORTS:
                a = os.path.join(folders["old"], f"piles-{soil}{ext}")
                b = os.path.join(folders["new"], f"piles-{soil}{ext}")
                if not (os.path.isfile(a) and os.path.isfile(b)):
                    print(f"      {ext}: only one build wrote it")
                    continue
                count, pairs = differing(a, b)
                if count == 0:
                    print(f"      {ext}: identical")
                    continue
                print(f"      {ext}: {count} lines differ; the first:")
                for x, y in pairs:
                    print(f"        old: {x.decode(errors='replace').rstrip()}")
                    print(f"        new: {y.decode(errors='replace').rstrip()}")
            sys.stdout.flush()


if __name__ == "__main__":
    main()
