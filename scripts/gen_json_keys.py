"""Writes the README's table of the chart JSON form's keys from the rows its reader and writer follow
(`quorvel_canvas._json_keys()`), between the README's `json keys` marks.

    python scripts/gen_json_keys.py  # with the module built from this tree installed
"""
import pathlib
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
README = ROOT / "README.md"
START, END = "<!-- json keys: written by scripts/gen_json_keys.py -->\n", "<!-- end of json keys -->\n"


def with_table(text: str, table: str) -> str:
    """The README text with the table between its marks."""
    head, rest = text.split(START, 1)
    _, tail = rest.split(END, 1)
    return head + START + table + END + tail


def main() -> None:
    # A fresh interpreter from outside the tree, so that the installed module is the one asked.
    table = subprocess.run([sys.executable, "-c", "import sys, quorvel_canvas; sys.stdout.write(quorvel_canvas._json_keys())"],
                           check=True, capture_output=True, text=True, cwd=ROOT / "scripts").stdout
    README.write_text(with_table(README.read_text(), table))
    print(f"wrote the key table of {README.relative_to(ROOT)} ({len(table.splitlines())} lines)")


if __name__ == "__main__":
    main()
