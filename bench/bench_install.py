"""CPU time (user + system, of pip and every compiler it starts) of `pip install .` from a clean clone, for
this checkout's commit and, in the same run, an earlier one: the build a user waits for on first contact.

Each commit is cloned afresh into a temporary folder and installed with the venv's build tools
(`--no-build-isolation`, as scripts/examples.sh does) into a temporary target, QC_RASTER on (the default).
Usage (in the venv): python bench/bench_install.py [--rev HEAD] [--against COMMIT] [--jobs N]
"""
import argparse
import os
import resource
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]


def cpu_seconds():
    used = resource.getrusage(resource.RUSAGE_CHILDREN)
    return used.ru_utime, used.ru_stime


def install_cost(rev, jobs):
    """(user s, system s, wall s) of one `pip install .` of a fresh clone of `rev`."""
    commit = subprocess.run(["git", "-C", str(ROOT), "rev-parse", "--verify", f"{rev}^{{commit}}"],
                            check=True, capture_output=True, text=True).stdout.strip()
    with tempfile.TemporaryDirectory(prefix="qc-install-") as tmp:
        clone = Path(tmp) / "clone"
        subprocess.run(["git", "clone", "-q", "--no-checkout", str(ROOT), str(clone)], check=True)
        subprocess.run(["git", "-C", str(clone), "checkout", "-q", "--detach", commit], check=True)
        env = dict(os.environ, CMAKE_BUILD_PARALLEL_LEVEL=str(jobs))
        user, system = cpu_seconds()
        start = time.perf_counter()
        subprocess.run([sys.executable, "-m", "pip", "install", "-q", "--no-build-isolation", "--no-deps",
                        "--target", str(Path(tmp) / "site"), str(clone)], check=True, env=env)
        wall = time.perf_counter() - start
        user_after, system_after = cpu_seconds()
    return user_after - user, system_after - system, wall


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rev", default="HEAD")
    parser.add_argument("--against", help="an earlier commit, installed in the same run")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    args = parser.parse_args()
    costs = {}
    for rev in [args.rev] + ([args.against] if args.against else []):
        user, system, wall = costs[rev] = install_cost(rev, args.jobs)
        print(f"{rev}: user {user:.1f} s + system {system:.1f} s = {user + system:.1f} s CPU; "
              f"{wall:.1f} s wall on {args.jobs} jobs", flush=True)
    if args.against:
        now, before = (sum(costs[r][:2]) for r in (args.rev, args.against))
        print(f"CPU time of {args.rev} / {args.against}: {now / before:.2f} (target: at most 0.50)")


if __name__ == "__main__":
    main()
