"""Writes the module's type stubs from its binding rows: builds and installs the module from this tree,
then asks it for its stub text (`quorvel_canvas._stub()`), so that new rows show up in the stubs.

    python scripts/gen_stubs.py             # build, install, write
    python scripts/gen_stubs.py --no-build  # write from the module that is installed
"""
import argparse
import pathlib
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
STUB = ROOT / "canvas-py" / "stubs" / "quorvel_canvas-stubs" / "__init__.pyi"


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--no-build", action="store_true", help="use the installed module as it is")
    args = parser.parse_args()
    if not args.no_build:
        subprocess.run([sys.executable, "-m", "pip", "install", "-q", "--no-build-isolation", str(ROOT)], check=True)
    # A fresh interpreter, so that the module just installed is the one asked.
    text = subprocess.run([sys.executable, "-c", "import sys, quorvel_canvas; sys.stdout.write(quorvel_canvas._stub())"],
                          check=True, capture_output=True, text=True, cwd=ROOT / "scripts").stdout
    changed = not STUB.exists() or STUB.read_text() != text
    STUB.parent.mkdir(parents=True, exist_ok=True)
    STUB.write_text(text)
    print(f"wrote {STUB.relative_to(ROOT)} ({len(text.splitlines())} lines)")
    if changed and not args.no_build:  # the wheel carries the stubs: install it again with the new ones
        subprocess.run([sys.executable, "-m", "pip", "install", "-q", "--no-build-isolation", str(ROOT)], check=True)


if __name__ == "__main__":
    main()
