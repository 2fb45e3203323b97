#!/usr/bin/env python3
"""Runs large generated pile groups through the kaldo host and prints wall time and peak memory.

    bench/run_bench.py [SIZES] [THREADS] [STEP]      e.g. bench/run_bench.py 10,20,40x25,50 1,2,4,8

SIZES are grids of N x M piles (N alone: N x N), THREADS the thread requests of the load cases (0 is the
automatic rule), STEP the node step of the along-pile report rows (1, every node, by default). Uses build/kaldo (make build first). Each run happens in a temporary folder.
"""
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
KALDO = os.path.join(HERE, "..", "build", "kaldo")


def piles(size):
    n, _, m = size.partition("x")
    return int(n) * int(m or n)


def run(size, threads, step):
    with tempfile.TemporaryDirectory() as work:
        inp = os.path.join(work, f"group{size}.inp")
        subprocess.run([sys.executable, os.path.join(HERE, "gen_group.py"), size, str(threads), inp, str(step)],
                       check=True)
        start = time.monotonic()
        child = subprocess.Popen([KALDO, inp], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, code, usage = os.wait4(child.pid, 0)  # the peak memory of this run alone
        wall = time.monotonic() - start
        child.returncode = os.waitstatus_to_exitcode(code)
        return child.returncode, wall, usage.ru_maxrss / 1024.0


def main():
    sizes = (sys.argv[1] if len(sys.argv) > 1 else "2,5,10,20").split(",")
    threads = [int(t) for t in (sys.argv[2] if len(sys.argv) > 2 else "1,2,4").split(",")]
    step = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    # Speed-up and parallel efficiency are measured against the run with the fewest threads of a size
    # (efficiency = speed-up / thread ratio); with 1 among the thread counts that is the serial run.
    print(f"{'piles':>7} {'threads':>7} {'status':>6} {'wall s':>9} {'peak MB':>9} {'speed-up':>9} {'effic.':>7}")
    for n in sizes:
        base = None
        for t in threads:
            status, wall, peak = run(n, t, step)
            if base is None:
                base = (t, wall)
            speedup = base[1] / wall if wall > 0 else float("nan")
            efficiency = speedup * base[0] / t if t > 0 else float("nan")
            print(f"{piles(n):>7} {t:>7} {status:>6} {wall:>9.2f} {peak:>9.1f} {speedup:>9.2f} {efficiency:>7.0%}",
                  flush=True)


if __name__ == "__main__":
    main()
