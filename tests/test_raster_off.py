"""A module built without the raster outputs (QC_RASTER=OFF): PNG and PDF raise the documented RuntimeError,
SVG files and the HTML page are still written, and notebooks get the SVG alone. The extension is built once into
build/py-noraster (incremental after the first time) and imported from its wheel in a fresh interpreter."""
import subprocess
import sys
import zipfile
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parent.parent


@pytest.fixture(scope="module")
def unpacked(tmp_path_factory):
    wheels = tmp_path_factory.mktemp("wheel")
    subprocess.run([sys.executable, "-m", "pip", "wheel", "-q", "--no-build-isolation", "--no-deps", "-w", str(wheels),
                    "-Cbuild-dir=build/py-noraster", "-Ccmake.define.QC_RASTER=OFF", "-Ccmake.define.QC_WERROR=ON",
                    str(ROOT)],
                   check=True, cwd=ROOT, timeout=1200)
    (wheel,) = wheels.glob("*.whl")
    site = tmp_path_factory.mktemp("site")
    zipfile.ZipFile(wheel).extractall(site)
    assert not list(site.glob("*.dist-info/licenses/DejaVu*")), "no font is bundled, so no font licence either"
    return site


def test_png_and_pdf_raise_the_documented_error(unpacked, tmp_path):
    code = f"""
import sys
sys.path.insert(0, {str(unpacked)!r})
import quorvel_canvas as qc
chart = qc.Chart(320, 200)
chart.bars([qc.Bar(86400 * i, 10 + i, 12 + i, 9 + i, 11 + i, 1e3) for i in range(30)])
for call in (chart.render_png, chart.render_pdf, lambda: chart.save({str(tmp_path / "c.png")!r}),
             lambda: chart.save({str(tmp_path / "c.pdf")!r}), lambda: qc._png_from_svg(chart.render_svg(), 1.0)):
    try:
        call()
    except RuntimeError as e:
        print(e)
chart.save({str(tmp_path / "c.svg")!r})
print(chart._repr_png_())
chart.save({str(tmp_path / "c.html")!r})
"""
    done = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, timeout=120, cwd=tmp_path)
    assert done.returncode == 0, done.stderr
    message = ("quorvel_canvas was built without cairo (QC_RASTER=OFF), so it writes no PNG or PDF: install "
               "libcairo2-dev, libdeflate-dev and fonts-dejavu-core, then reinstall the module")
    assert done.stdout.splitlines() == [message] * 5 + ["None"]
    assert sorted(p.name for p in tmp_path.iterdir()) == ["c.html", "c.svg"]
    assert (tmp_path / "c.svg").read_text().startswith("<?xml")
