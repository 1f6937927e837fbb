"""Figure: the cells' layout, each chart's own document nested in the figure's, its PNG cell equal to the
chart's own PNG, the errors, pickling and copying, files, save_pdf's pages and the time the charts share."""
import base64
import copy
import json
import pickle
import re
import shutil
import subprocess

import pytest

import quorvel_canvas as qc
from raster_support import pixels

DAY = 86400
NESTED = re.compile(r'<svg x="([^"]*)" y="([^"]*)"(.*?)</svg>\n', re.S)


def make_chart(width=320, height=200, bars=40, step=DAY, start=0, title=None):
    chart = qc.Chart(width, height)
    chart.bars([qc.Bar(start + step * i, 10 + i % 7, 12 + i % 5, 9, 11, 1e3 + i) for i in range(bars)])
    if title:
        chart.title(title)
    return chart


def busy_chart(width, height):
    """A chart whose document holds several clip paths and a gradient, so that every kind of id is nested."""
    chart = make_chart(width, height)
    chart.area()
    chart.volume()
    chart.rsi(14)
    chart.sma(5)
    return chart


def own_nested(chart, i):
    """The chart's document as a figure nests it at cell i: no XML declaration, ids and references prefixed."""
    doc = chart.render_svg().split("\n", 1)[1]
    doc = doc.replace(' id="', f' id="c{i}-').replace('"url(#', f'"url(#c{i}-')
    return doc[len("<svg"):]


def cells(svg):
    """(x, y, the nested document after its x and y) of each cell."""
    return [(float(x), float(y), rest + "</svg>\n") for x, y, rest in NESTED.findall(svg.split("\n", 2)[2])]


def root_size(svg):
    width, height = re.search(r'<svg xmlns="[^>]*?width="([^"]*)" height="([^"]*)"', svg).groups()
    return float(width), float(height)


@pytest.mark.parametrize("sizes, cols, gap, title, places, size", [
    ([(320, 200), (320, 200)], 1, 8, None, [(0, 0), (0, 208)], (320, 408)),
    ([(320, 200), (200, 100)], 2, 8, None, [(0, 0), (328, 0)], (528, 200)),
    ([(320, 200), (200, 300), (100, 50), (400, 60)], 2, 10, "T",
     [(0, 28), (330, 28), (0, 338), (330, 338)], (730, 398)),
    ([(320, 200), (200, 100), (100, 50)], 5, 0, None, [(0, 0), (320, 0), (520, 0)], (620, 200)),
    ([(100, 100)], 1, 200, "only", [(0, 28)], (100, 128)),
])
def test_layout_places_each_chart_at_its_cell(sizes, cols, gap, title, places, size):
    charts = [make_chart(w, h) for w, h in sizes]
    svg = qc.Figure(charts, cols=cols, gap=gap, title=title).render_svg()
    assert root_size(svg) == size
    assert [(x, y) for x, y, _ in cells(svg)] == places


@pytest.mark.parametrize("count, cols", [(2, 2), (4, 2)])
def test_each_cell_holds_the_charts_own_document(count, cols):
    charts = [busy_chart(300 + 20 * i, 220) for i in range(count)]
    charts[1].dark_theme()
    svg = qc.Figure(charts, cols=cols, title="Four <symbols> & more").render_svg()
    nested = cells(svg)
    assert len(nested) == count
    for i, chart in enumerate(charts):
        assert nested[i][2] == own_nested(chart, i)
    ids = re.findall(r' id="([^"]*)"', svg)
    assert len(ids) == len(set(ids)) and all(re.match(r"c\d-", name) for name in ids)
    assert "Four &lt;symbols&gt; &amp; more" in svg


@pytest.mark.parametrize("count, cols, scale", [(2, 1, None), (4, 2, None), (4, 2, 2.0)])
def test_the_pngs_cell_equals_the_charts_png(count, cols, scale):
    charts = [busy_chart(240, 160 + 20 * i) for i in range(count)]
    figure = qc.Figure(charts, cols=cols, gap=6, title="Cells")
    whole = pixels(figure.render_png(scale))
    factor = scale or 1
    assert whole.shape[:2] == tuple(int(v * factor) for v in reversed(root_size(figure.render_svg())))
    for (x, y, _), chart in zip(cells(figure.render_svg()), charts):
        own = pixels(chart.render_png(scale))
        x, y = int(x * factor), int(y * factor)
        assert (whole[y:y + own.shape[0], x:x + own.shape[1]] == own).all()


def test_the_figure_takes_the_first_charts_background_and_largest_dpr():
    first, second = make_chart(100, 80), make_chart(60, 40)
    first.background("#102030")
    second.dpr(2)
    figure = qc.Figure([first, second], cols=2, gap=20)
    svg = figure.render_svg()
    # Around the cells only, each a hole wound against the whole.
    assert '<path d="M0 0H180V80H0ZM0 0V80H100V0ZM120 0V40H180V0Z" fill="#102030"/>' in svg
    rgba = pixels(figure.render_png())
    assert rgba.shape[:2] == (160, 360)
    assert tuple(rgba[150, 220]) == (0x10, 0x20, 0x30, 255)  # in the gap between the charts


def test_the_figure_holds_the_charts_themselves():
    chart = make_chart()
    figure = qc.Figure([chart])
    chart.title("Changed after")
    assert "Changed after" in figure.render_svg()
    assert cells(figure.render_svg())[0][2] == own_nested(chart, 0)


@pytest.mark.parametrize("call, error, text", [
    (lambda c: qc.Figure([c, 3]), TypeError, "charts[1] must be a Chart, not int"),
    (lambda c: qc.Figure((c, c, "x")), TypeError, "charts[2] must be a Chart, not str"),
    (lambda c: qc.Figure(c), TypeError, "charts must be a sequence of Chart, not Chart"),
    (lambda c: qc.Figure(5), TypeError, "charts must be a sequence of Chart, not int"),
    (lambda c: qc.Figure([]), ValueError, "a Figure needs at least one chart"),
    (lambda c: qc.Figure([c], gap=201), ValueError, "gap must be between 0 and 200, not 201"),
    (lambda c: qc.Figure([c], gap=-1), ValueError, "gap must be between 0 and 200, not -1"),
    (lambda c: qc.Figure([c], gap=float("nan")), ValueError, "gap must be between 0 and 200, not nan"),
    (lambda c: qc.Figure([c], cols=0), ValueError, "cols must be at least 1"),
    (lambda c: qc.Figure([c], 2), TypeError, "takes 1 positional argument"),
    (lambda c: qc.Figure([c]).save("f.txt"), ValueError, "save() writes .svg, .png, .pdf or .html files"),
    (lambda c: qc.Figure([c]).render_png(9), ValueError, "scale must be between 0.1 and 8, not 9"),
    (lambda c: qc.save_pdf("x.pdf", []), ValueError, "save_pdf needs at least one Chart or Figure"),
    (lambda c: qc.save_pdf("x.pdf", [c, None]), TypeError, "items[1] must be a Chart or a Figure, not NoneType"),
    (lambda c: qc.save_pdf("x.pdf", c), TypeError, "items must be a sequence of Chart or Figure, not Chart"),
    (lambda c: qc.save_pdf("x.pdf", [c], pages=1), TypeError, "save_pdf() got an unexpected keyword argument"),
])
def test_errors(call, error, text):
    with pytest.raises(error, match=re.escape(text)):
        call(make_chart())


def test_pickle_and_copy_give_figures_of_their_own_charts():
    charts = [busy_chart(200, 150), make_chart(120, 90, title="Second")]
    charts[0].view(5, 30)
    figure = qc.Figure(charts, cols=2, gap=3.5, title="Pair", share_time=True)
    svg = figure.render_svg()
    for other in (pickle.loads(pickle.dumps(figure)), copy.copy(figure), copy.deepcopy(figure)):
        assert other.render_svg() == svg
    kept = copy.copy(figure)
    charts[1].title("Changed")
    assert kept.render_svg() == svg != figure.render_svg()
    with pytest.raises(ValueError, match="not a Figure's state"):
        qc._restore(qc.Figure, b"quorvel-figure 1\n1\n1")


def test_save_writes_each_kind(tmp_path):
    figure = qc.Figure([make_chart(), make_chart(200, 100)], cols=2)
    figure.save(tmp_path / "f.html")
    page = (tmp_path / "f.html").read_text()
    assert page == figure.to_html()
    figure_data = re.search(r'<script id="quorvel-figure" type="application/json">(.*?)</script>', page).group(1)
    assert json.loads(figure_data) == {"frame": figure.render_svg().split("<svg x=", 1)[0],
                                       "cells": [[0, 0], [328, 0]], "share_time": False}
    charts = re.findall(r'<script class="quorvel-chart" type="application/json">(.*?)</script>', page)
    assert [json.loads(c) for c in charts] == [json.loads(make_chart().to_json()),
                                               json.loads(make_chart(200, 100).to_json())]
    bundle = figure.interactive()._repr_mimebundle_()
    assert 'width="528" height="200"' in bundle["text/html"]
    assert base64.b64decode(bundle["image/png"]) == figure.render_png(1.0)
    figure.save(tmp_path / "f.svg")
    assert (tmp_path / "f.svg").read_text() == figure.render_svg()
    figure.save(tmp_path / "f.png", scale=0.5)
    assert (tmp_path / "f.png").read_bytes() == figure.render_png(0.5)
    figure.save(tmp_path / "f.pdf")
    assert (tmp_path / "f.pdf").read_bytes()[:5] == b"%PDF-"
    assert figure._repr_png_() == figure.render_png(1.0)
    assert figure._repr_svg_() == figure.render_svg()


def pdf_pages(path):
    pdfinfo = shutil.which("pdfinfo")
    assert pdfinfo, "pdfinfo is missing (Debian package poppler-utils; scripts/test.sh installs it)"
    done = subprocess.run([pdfinfo, "-f", "1", "-l", "1000", str(path)], capture_output=True, text=True, check=True)
    return [(float(w), float(h)) for w, h in re.findall(r"Page +\d+ size: +([\d.]+) x ([\d.]+) pts", done.stdout)]


def test_save_pdf_writes_a_page_per_item_at_its_size(tmp_path):
    figure = qc.Figure([make_chart(300, 200), make_chart(100, 100)], cols=2, gap=10, title="Report")
    items = [make_chart(400, 300), figure, make_chart(640, 480)] + [make_chart(200, 150) for _ in range(50)]
    qc.save_pdf(tmp_path / "report.pdf", items)
    assert pdf_pages(tmp_path / "report.pdf") == [(400, 300), (410, 228), (640, 480)] + [(200, 150)] * 50
    assert not [p for p in tmp_path.iterdir() if p.name != "report.pdf"]


def test_save_pdf_refuses_a_page_too_large_before_writing(tmp_path):
    target = tmp_path / "big.pdf"
    target.write_bytes(b"kept")
    tall = qc.Figure([make_chart(100, 8000), make_chart(100, 8000)])
    with pytest.raises(ValueError, match=re.escape("the PDF page would be 100 x 16008 points")):
        qc.save_pdf(target, [make_chart(), tall])
    assert target.read_bytes() == b"kept" and len(list(tmp_path.iterdir())) == 1


def test_share_time_draws_the_bars_of_the_first_charts_view():
    daily = make_chart(300, 200, bars=60)
    daily.view(10, 19)
    hourly = make_chart(300, 200, bars=60 * 24, step=3600, start=-5 * DAY)
    later = make_chart(300, 200, bars=10, start=100 * DAY)
    hourly_svg, later_svg = hourly.render_svg(), later.render_svg()
    nested = cells(qc.Figure([daily, hourly, later], share_time=True).render_svg())
    # Hours from the first daily bar of the view to the last one's opening instant, both included.
    expected = copy.copy(hourly)
    expected.view(15 * 24, 24 * 24)
    assert nested[1][2] == own_nested(expected, 1)
    assert "No data" in nested[2][2]
    assert hourly.render_svg() == hourly_svg and later.render_svg() == later_svg
    # Without a view on the first chart, the others draw all their bars, their own views aside.
    daily_all = make_chart(300, 200)
    hourly.view(0, 10)
    nested = cells(qc.Figure([daily_all, hourly], share_time=True).render_svg())
    expected = copy.copy(hourly)
    expected.view(0, -1)
    assert nested[1][2] == own_nested(expected, 1)
