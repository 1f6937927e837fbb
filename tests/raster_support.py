"""PNG pictures for the tests: their pixels, documents without their text, and rsvg-convert's picture of
the same document (drawn with the same cairo, so that shapes can be compared pixel for pixel)."""
import io
import re
import shutil
import subprocess

import numpy as np
from PIL import Image

TEXT = re.compile(r"<text\b[^>]*>.*?</text>\n?", re.S)


def without_text(svg):
    return TEXT.sub("", svg)


def has_curves(svg):
    """Circles and arcs, which cairo's flattening of our curves and of rsvg's draws a little apart."""
    return "<circle" in svg or re.search(r'\sd="[^"]*A', svg) is not None


def pixels(png):
    """Straight RGBA, rows of pixels."""
    image = Image.open(io.BytesIO(png))
    image.load()
    return np.asarray(image.convert("RGBA"), dtype=np.int16)


def rsvg_pixels(svg):
    rsvg = shutil.which("rsvg-convert")
    assert rsvg, "rsvg-convert is missing (Debian package librsvg2-bin; scripts/test.sh installs it)"
    done = subprocess.run([rsvg], input=svg.encode("utf-8"), capture_output=True, timeout=120)
    assert done.returncode == 0, done.stderr
    return pixels(done.stdout)


def ink_box(rgba, threshold=128):
    """(left, top, right, bottom) of the pixels whose alpha passes the threshold, edges as pixel borders."""
    rows = np.nonzero((rgba[:, :, 3] >= threshold).any(axis=1))[0]
    cols = np.nonzero((rgba[:, :, 3] >= threshold).any(axis=0))[0]
    assert rows.size and cols.size, "no ink"
    return cols[0], rows[0], cols[-1] + 1, rows[-1] + 1
