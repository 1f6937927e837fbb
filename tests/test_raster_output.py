"""render_png, render_pdf, save and _repr_png_: the PNG's header, size and pixels, the size errors, text
where the baselines and anchors put it, the PDF's page, text and font, files written whole or not at all,
and the PNG beside the SVG in IPython."""
import math
import os
import re
import shutil
import struct
import subprocess
import sys
import zlib
from pathlib import Path

import pytest

import quorvel_canvas as qc
from conftest import run_isolated
from raster_support import ink_box, pixels


def make_chart(width=320, height=200, bars=30):
    chart = qc.Chart(width, height)
    chart.bars([qc.Bar(86400 * i, 10 + i, 12 + i, 9 + i, 11 + i, 1e3) for i in range(bars)])
    return chart


def chunks(png):
    """(type, data) of each chunk, each CRC checked."""
    assert png[:8] == b"\x89PNG\r\n\x1a\n"
    out, at = [], 8
    while at < len(png):
        (length,) = struct.unpack(">I", png[at:at + 4])
        kind, data = png[at + 4:at + 8], png[at + 8:at + 8 + length]
        assert struct.unpack(">I", png[at + 8 + length:at + 12 + length])[0] == zlib.crc32(kind + data)
        out.append((kind.decode(), data))
        at += 12 + length
    return out


@pytest.mark.parametrize("size, scale, pixels_wide, pixels_high", [
    ((320, 200), 1.0, 320, 200),
    ((320, 200), 2.0, 640, 400),
    ((301, 201), 0.5, 151, 101),  # halves round up
    ((320, 200), 0.1, 32, 20),
    ((100, 50), 8.0, 800, 400),
])
def test_png_header_and_size(size, scale, pixels_wide, pixels_high):
    png = make_chart(*size).render_png(scale)
    kinds = [kind for kind, _ in chunks(png)]
    assert kinds == ["IHDR", "IDAT", "IEND"]
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks(png)[0][1])
    assert (width, height, depth, colour, interlace) == (pixels_wide, pixels_high, 8, 6, 0)
    assert pixels(png).shape == (pixels_high, pixels_wide, 4)


# Without a scale the PNG takes the chart's device-pixel ratio (so that a stroke covers whole device pixels),
# 0.1 to 8, lowered until no side passes 32,767 pixels; `save` does the same; a scale given wins.
@pytest.mark.parametrize("size, dpr, pixels_wide, pixels_high", [
    ((320, 200), 1.0, 320, 200),
    ((320, 200), 2.0, 640, 400),
    ((301, 201), 1.5, 452, 302),         # halves round up
    ((100, 50), 12.0, 800, 400),         # at most 8
    ((320, 200), 0.05, 32, 20),          # at least 0.1
    ((5000, 40), 8.0, 32767, 262),       # 32767 / 5000 = 6.5534: 262.1 high
    ((40, 4200), 8.0, 312, 32767),       # 32767 / 4200 = 7.8017: 312.1 wide
])
def test_png_scale_defaults_to_the_device_pixel_ratio(size, dpr, pixels_wide, pixels_high, tmp_path):
    chart = make_chart(*size)
    chart.dpr(dpr)
    for png in (chart.render_png(), chart.render_png(None), chart.render_png(scale=None)):
        assert pixels(png).shape == (pixels_high, pixels_wide, 4)
    chart.save(tmp_path / "chart.png")
    assert (tmp_path / "chart.png").read_bytes() == chart.render_png()
    assert pixels(chart.render_png(1.0)).shape == (size[1], size[0], 4)


def test_pixels_are_straight_rgba_and_a_translucent_background_stays_so():
    chart = make_chart()
    chart.background("#ff000080")
    corner = pixels(chart.render_png())[1, 1]
    assert list(corner) == [255, 0, 0, 128]  # premultiplied it would read 128, 0, 0
    assert pixels(chart.render_png()).shape == pixels(chart._repr_png_()).shape
    empty = qc.Chart(200, 100)
    assert empty.render_png().startswith(b"\x89PNG")  # the "No data" document


@pytest.mark.parametrize("call, message", [
    (lambda c: c.render_png(math.nan), "scale must be between 0.1 and 8, not nan"),
    (lambda c: c.render_png(0.05), "scale must be between 0.1 and 8, not 0.05"),
    (lambda c: c.render_png(8.5), "scale must be between 0.1 and 8, not 8.5"),
    (lambda c: c.save("chart.svg", scale=9), "scale must be between 0.1 and 8, not 9"),
    (lambda c: make_chart(5000, 300).render_png(8), "the PNG would be 40000 x 2400 pixels: each side must be 1 to 32767"),
    (lambda c: make_chart(4, 300).render_png(0.1), "the PNG would be 0 x 30 pixels: each side must be 1 to 32767"),
    (lambda c: make_chart(15000, 300).render_pdf(), "the PDF page would be 15000 x 300 points: each side must be 1 to 14400"),
    (lambda c: c.save("chart.jpg"), "save() writes .svg, .png, .pdf or .html files, chosen by the path's suffix"),
    (lambda c: c.save("chart"), "save() writes .svg, .png, .pdf or .html files, chosen by the path's suffix"),
    (lambda c: c.save("chart.htm"), "save() writes .svg, .png, .pdf or .html files, chosen by the path's suffix"),
    (lambda c: c.save(".png"), "save() writes .svg, .png, .pdf or .html files, chosen by the path's suffix"),
    (lambda c: c.save(1), "save() writes .svg, .png, .pdf or .html files, chosen by the path's suffix"),
    (lambda c: qc._png_from_svg("<svg/>", 1.0), "the document gives no width and height"),
])
def test_size_scale_and_suffix_errors(call, message, tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    with pytest.raises(ValueError) as info:
        call(make_chart())
    assert str(info.value) == message
    assert list(tmp_path.iterdir()) == []
    assert make_chart(40000, 300)._repr_png_() is None  # too large: IPython shows the SVG alone


# DejaVu Sans: ascent 1901 and descent 483 units of 2048; its "H" advances 1540, its ink runs from 201 to
# 1339 and from the baseline up 1493.
EM = 2048
A, D = 1901 / EM, 483 / EM
ADVANCE, INK_LEFT, INK_RIGHT, CAP = 1540 / EM, 201 / EM, 1339 / EM, 1493 / EM


@pytest.mark.parametrize("baseline, shift", [
    ("alphabetic", 0.0), ("central", (A - D) / 2), ("hanging", 0.8 * A), ("text-after-edge", -D),
])
@pytest.mark.parametrize("anchor, back", [("start", 0.0), ("middle", 0.5), ("end", 1.0)])
def test_text_ink_where_the_baseline_and_anchor_put_it(baseline, shift, anchor, back):
    size, x, y = 100.0, 200.0, 150.0
    svg = (f'<svg xmlns="http://www.w3.org/2000/svg" width="400" height="300"><text x="{x}" y="{y}" '
           f'font-family="sans-serif" font-size="{size}" text-anchor="{anchor}" dominant-baseline="{baseline}" '
           f'fill="#000000">H</text></svg>')
    png, skipped = qc._png_from_svg(svg, 1.0)
    assert skipped == []
    left, top, right, bottom = ink_box(pixels(png))
    origin, base = x - back * ADVANCE * size, y + shift * size
    assert left == pytest.approx(origin + INK_LEFT * size, abs=1)
    assert right == pytest.approx(origin + INK_RIGHT * size, abs=1)
    assert bottom == pytest.approx(base, abs=1)
    assert top == pytest.approx(base - CAP * size, abs=1)


def poppler(tool, *args):
    exe = shutil.which(tool)
    assert exe, f"{tool} is missing (Debian package poppler-utils; scripts/test.sh installs it)"
    done = subprocess.run([exe, *args], capture_output=True, text=True, timeout=60)
    assert done.returncode == 0, done.stderr
    return done.stdout


def test_pdf_is_one_page_of_the_chart_with_its_text_in_the_embedded_font(tmp_path):
    chart = make_chart(640, 400)
    chart.title("ACME daily")
    chart.legend(True)
    chart.sma(5, "#2962ff")
    pdf = tmp_path / "chart.pdf"
    pdf.write_bytes(chart.render_pdf())
    info = poppler("pdfinfo", str(pdf))
    assert re.search(r"^Pages:\s+1$", info, re.M) and re.search(r"^Page size:\s+640 x 400 pts$", info, re.M)
    text = poppler("pdftotext", "-layout", str(pdf), "-")
    assert "ACME daily" in text and "SMA 5" in text
    fonts = poppler("pdffonts", str(pdf)).splitlines()[2:]
    assert fonts and all("DejaVuSans" in f and f.split()[-5:-2] == ["yes", "yes", "yes"] for f in fonts)


@pytest.mark.parametrize("name, start", [
    ("chart.svg", b"<?xml"), ("chart.PNG", b"\x89PNG"), ("chart.pdf", b"%PDF"), ("a.b/c.Pdf", b"%PDF"),
])
@pytest.mark.parametrize("kind", [str, Path, os.fsencode])
def test_save_by_suffix(name, start, kind, tmp_path):
    chart = make_chart()
    path = tmp_path / name
    path.parent.mkdir(exist_ok=True)
    chart.save(kind(str(path)), scale=2.0)
    data = path.read_bytes()
    assert data.startswith(start)
    if start == b"<?xml":
        assert data.decode("utf-8") == chart.render_svg()
    if start == b"\x89PNG":
        assert pixels(data).shape == (400, 640, 4)
    assert sorted(p.name for p in path.parent.iterdir()) == [path.name]


def test_save_failures_leave_no_partial_file_and_keep_the_old_one(tmp_path):
    chart = make_chart()
    folder = tmp_path / "taken.png"
    folder.mkdir()
    with pytest.raises(IsADirectoryError) as info:
        chart.save(folder)
    assert info.value.filename == str(folder)
    with pytest.raises(FileNotFoundError):
        chart.save(tmp_path / "missing" / "chart.png")
    with pytest.raises(TypeError):
        chart.save(None)
    assert [p.name for p in tmp_path.iterdir()] == ["taken.png"]

    # A write cut short by the file size limit: the error Python's own writing raises, the old file kept.
    old = tmp_path / "chart.png"
    old.write_bytes(b"old picture")
    done = run_isolated(f"""
        import errno, resource, signal
        import quorvel_canvas as qc
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (4096, 4096))
        chart = qc.Chart(800, 600)
        chart.bars([qc.Bar(86400 * i, 10 + i, 12 + i, 9 + i, 11 + i, 1e3) for i in range(200)])
        try:
            chart.save({str(old)!r})
        except OSError as e:
            assert type(e) is OSError and e.errno == errno.EFBIG, e
            print("raised")
    """)
    assert done.stdout.strip() == "raised", done.stderr
    assert old.read_bytes() == b"old picture"
    assert sorted(p.name for p in tmp_path.iterdir()) == ["chart.png", "taken.png"]


@pytest.mark.parametrize("name", ["report\0.pdf", "sub\0/../x.svg", "chart.png\0", "\0"])
@pytest.mark.parametrize("kind", [str, Path, os.fsencode])
def test_a_path_holding_a_nul_writes_nothing(name, kind, tmp_path):
    (tmp_path / "report").write_bytes(b"kept")
    chart = make_chart()
    with pytest.raises(ValueError) as info:
        chart.save(kind(str(tmp_path / name)))
    assert str(info.value) == "embedded null byte"
    assert [(p.name, p.read_bytes()) for p in tmp_path.iterdir()] == [("report", b"kept")]


@pytest.mark.parametrize("name", ["chart.svg", "chart.png", "chart.pdf"])
@pytest.mark.parametrize("mode", [0o600, 0o640, 0o755, 0o444])
def test_save_over_a_file_keeps_its_permission_bits(name, mode, tmp_path):
    path = tmp_path / name
    path.write_bytes(b"old")
    path.chmod(mode)
    make_chart().save(path)
    assert path.stat().st_mode & 0o7777 == mode
    assert path.read_bytes() != b"old"
    fresh = tmp_path / ("new-" + name)
    make_chart().save(fresh)
    umask = os.umask(0)
    os.umask(umask)
    assert fresh.stat().st_mode & 0o7777 == 0o666 & ~umask


NONCHARACTERS = ["\ufdd0", "\ufdef", "\ufffe", "\uffff", "\U0001fffe", "\U0010ffff"]


def with_text(text, where):
    chart = make_chart(480, 300)
    if where == "title":
        chart.title(f"Q{text}3 report")
    else:
        chart.buy_signal(20, 11.0, f"Buy{text}")
    return chart


@pytest.mark.parametrize("where", ["title", "signal"])
@pytest.mark.parametrize("char", NONCHARACTERS)
def test_a_noncharacter_is_drawn_as_the_replacement_character(char, where, tmp_path):
    chart = with_text(char, where)
    # The picture is its document's with U+FFFD for the noncharacter (which U+FFFE and U+FFFF, that cannot
    # stand in XML, do not reach: the document leaves them out).
    written = chart.render_svg().replace(char, "\ufffd")
    assert chart.render_png() == qc._png_from_svg(written, 1.0)[0]
    assert chart.render_png(2.0) == qc._png_from_svg(written, 2.0)[0]
    # Written as a character reference, each of them reaches the drawing and is drawn as U+FFFD.
    reference = with_text("\ufffd", where).render_svg()
    assert qc._png_from_svg(reference.replace("\ufffd", f"&#x{ord(char):X};"), 1.0) == qc._png_from_svg(reference, 1.0)
    # Everything drawn after the text is there, and the PDF's text reads U+FFFD.
    pdf = tmp_path / "chart.pdf"
    pdf.write_bytes(chart.render_pdf())
    text = poppler("pdftotext", "-layout", str(pdf), "-")
    shown = "\ufffd" if char in chart.render_svg() else ""
    assert (f"Q{shown}3 report" if where == "title" else f"Buy{shown}") in text
    assert re.search(r"\b12(\.0+)?\b", text), text  # a price-scale label


def test_ipython_offers_the_png_beside_the_svg():
    from IPython.core.interactiveshell import InteractiveShell

    chart = make_chart()
    data, _ = InteractiveShell.instance().display_formatter.format(chart)
    assert data["image/png"] == chart.render_png() == chart._repr_png_()
    assert data["image/svg+xml"] == chart.render_svg()


def test_png_renders_run_in_parallel_threads():
    from concurrent.futures import ThreadPoolExecutor

    charts = [make_chart(400 + i, 300) for i in range(4)]
    with ThreadPoolExecutor(4) as pool:
        pngs = list(pool.map(lambda c: c.render_png(), charts))
    assert pngs == [c.render_png() for c in charts]
