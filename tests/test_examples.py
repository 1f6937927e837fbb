"""Every example script renders its charts, and a real SVG consumer (rsvg-convert) draws each one."""
import shutil
import subprocess
import sys
from pathlib import Path

import pytest

from svg_support import has_non_finite, parse

# The examples that write charts: live_page serves a page instead, and test_live_page drives it.
EXAMPLES = sorted(p for p in (Path(__file__).resolve().parent.parent / "examples").glob("*.py")
                  if p.name != "live_page.py")
# many_charts runs on small data with two workers started as on macOS and Windows, where each worker imports
# the module afresh and everything it is sent must pickle.
ARGS = {"many_charts.py": ["--series", "6", "--workers", "2", "--start-method", "spawn"]}
COUNTS = {"many_charts.py": 6}


@pytest.mark.parametrize("script", EXAMPLES, ids=[s.name for s in EXAMPLES])
def test_example_renders_and_converts(script, tmp_path):
    rsvg = shutil.which("rsvg-convert")
    assert rsvg, "rsvg-convert is missing (Debian package librsvg2-bin; scripts/test.sh installs it)"
    subprocess.run([sys.executable, str(script), str(tmp_path), *ARGS.get(script.name, [])], check=True,
                   capture_output=True, timeout=120)
    svgs = sorted(tmp_path.glob("*.svg"))
    assert svgs and len(svgs) == COUNTS.get(script.name, len(svgs))
    for svg in svgs:
        text = svg.read_text(encoding="utf-8")
        parse(text)
        assert not has_non_finite(text)
        png = svg.with_suffix(".png")
        done = subprocess.run([rsvg, str(svg), "-o", str(png)], capture_output=True, text=True, timeout=120)
        assert done.returncode == 0, done.stderr
        assert png.read_bytes().startswith(b"\x89PNG") and png.stat().st_size > 1000


def test_many_charts_writes_pngs_with_the_png_flag(tmp_path):
    script = next(s for s in EXAMPLES if s.name == "many_charts.py")
    subprocess.run([sys.executable, str(script), str(tmp_path), "--series", "2", "--workers", "1", "--png"],
                   check=True, capture_output=True, timeout=120)
    pngs = sorted(tmp_path.iterdir())
    assert [p.name for p in pngs] == ["T0000.png", "T0001.png"]
    assert all(p.read_bytes().startswith(b"\x89PNG") for p in pngs)
