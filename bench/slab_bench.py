#!/usr/bin/env python3
"""Times the flexible cap: a plate of N x N 8-node elements on a 10 x 10 pile group.

For each mesh size the group of bench/gen_group.py (100 piles at 6 ft under a 60 ft square cap, one
load case) is exported as a plate model (flexible-cap switch 2) and then run as a slab on its piles
(switch 1) through build/kaldo. The slab program prints no times of its own: the run's wall time, less
that of a rigid-cap-free export run of the same input, is the slab analysis; the convergence file gives
its steps and equilibrium iterations.

    python3 bench/slab_bench.py [SIZES]

SIZES: comma-separated element divisions per side (default 10,20,30,40,50,60).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
KALDO = os.path.join(HERE, "..", "build", "kaldo")


def one_case(text):
    """Keeps the first load case of a generated input and drops the combination."""
    lines = text.split("\n")
    out, i = [], 0
    while i < len(lines):
        line = lines[i]
        out.append(line)
        if line == "LOAD CASES":
            head = lines[i + 1].split()
            head[0] = "1"
            out.append(" ".join(head))
            out.append(lines[i + 2])
            # One case: run-parameter line, tolerances, title, five lines, its one load and two zeros.
            out += lines[i + 3:i + 3 + 11]
            i = lines.index("LOAD COMBINATIONS")
            out.append("LOAD COMBINATIONS")
            out.append("0 0 0 0 0")
            i = lines.index("DISTRIBUTED LOADS")
            continue
        i += 1
    return "\n".join(out)


def model(divisions, switch):
    src = subprocess.run([sys.executable, os.path.join(HERE, "gen_group.py"), "10", "1", "/dev/stdout", "25"],
                         check=True, capture_output=True, text=True).stdout
    text = one_case(src)
    text = text.replace("1 3 0 0 0 0 0", f"1 3 0 {switch} 0 0 0", 1)
    cap = re.search(r"PILE CAP\n(.*)\n", text).group(1)
    # The plate: concrete of 3.6e6 psi, Poisson's ratio 0.2, centred on the cap origin.
    return text.replace(cap, cap + f"\n0.0 0.0 {divisions} {divisions} 3.6e6 0.2", 1)


def timed(folder, text):
    path = os.path.join(folder, "slab.inp")
    with open(path, "w") as f:
        f.write(text)
    start = time.perf_counter()
    rc = subprocess.run([KALDO, "slab.inp"], cwd=folder, capture_output=True, text=True).returncode
    return time.perf_counter() - start, rc


def main():
    sizes = [int(s) for s in (sys.argv[1] if len(sys.argv) > 1 else "10,20,30,40,50,60").split(",")]
    print(f"{'mesh':>7} {'nodes':>7} {'front':>6} {'steps':>5} {'iters':>5} {'slab s':>8} {'s/step':>8} {'s/iter':>8}")
    for n in sizes:
        folder = tempfile.mkdtemp(prefix="kaldo-slab-")
        try:
            export_s, rc = timed(folder, model(n, 2))
            if rc != 0:
                sys.exit(f"export of {n} x {n} failed with status {rc}")
            run_s, rc = timed(folder, model(n, 1))
            if rc != 0:
                sys.exit(f"slab run of {n} x {n} failed with status {rc}")
            with open(os.path.join(folder, "slab.slabcnv")) as f:
                conv = f.read()
            with open(os.path.join(folder, "slab.slablst")) as f:
                listing = f.read()
            steps = len(re.findall(r"^STEP ", conv, re.M))
            iters = len(re.findall(r"^ITER =", conv, re.M))
            front = int(re.search(r"MAXIMUM FRONTWIDTH ENCOUNTERED =\s*(\d+)", listing).group(1))
            nodes = (2 * n + 1) * (n + 1) + (n + 1) * n
            slab_s = run_s - export_s
            print(f"{n:>3} x{n:>3} {nodes:>7} {front:>6} {steps:>5} {iters:>5} {slab_s:>8.2f} "
                  f"{slab_s / max(steps, 1):>8.2f} {slab_s / max(iters, 1):>8.3f}", flush=True)
        finally:
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
