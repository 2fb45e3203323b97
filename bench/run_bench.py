#!/usr/bin/env python3
"""Runs large generated pile groups through the kaldo host and prints wall time and peak memory.

    bench/run_bench.py [SIZES] [THREADS]      e.g. bench/run_bench.py 2,5,10,20,50 1,2,4

SIZES are piles per side of the square grid, THREADS the thread requests of the load cases (0 is the
automatic rule). Uses build/kaldo (make build first). Each run happens in a temporary folder.
"""
import os
import resource
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
KALDO = os.path.join(HERE, "..", "build", "kaldo")


def run(n, threads):
    with tempfile.TemporaryDirectory() as work:
        inp = os.path.join(work, f"group{n}.inp")
        subprocess.run([sys.executable, os.path.join(HERE, "gen_group.py"), str(n), str(threads), inp], check=True)
        before = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
        start = time.monotonic()
        done = subprocess.run([KALDO, inp], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wall = time.monotonic() - start
        peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
        return done.returncode, wall, max(peak, before) / 1024.0


def main():
    sizes = [int(s) for s in (sys.argv[1] if len(sys.argv) > 1 else "2,5,10,20").split(",")]
    threads = [int(t) for t in (sys.argv[2] if len(sys.argv) > 2 else "1,2,4").split(",")]
    print(f"{'piles':>7} {'threads':>7} {'status':>6} {'wall s':>9} {'peak MB':>9}")
    for n in sizes:
        for t in threads:
            status, wall, peak = run(n, t)
            print(f"{n * n:>7} {t:>7} {status:>6} {wall:>9.2f} {peak:>9.1f}", flush=True)


if __name__ == "__main__":
    main()
