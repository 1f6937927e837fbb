"""Documents of few elements draw the pictures the documents of one element per shape drew: every chart of the
picture corpus, drawn by render_png and by Chromium, against the documents kept from before shapes were
gathered by style. No pixel differs by more than 32/255 in any channel, but within a device pixel of an edge of
the kept picture, where antialiasing may differ on at most 0.5 % of the pixels."""
import base64
import os
import re
import sys
from pathlib import Path

import numpy as np
import pytest

import quorvel_canvas as qc
from devtools import Browser, chromium_missing
from picture_corpus import charts, every_study_and_tool, example_documents, kept
from raster_support import pixels

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "bench"))
from bench_json import probe_chart  # noqa: E402

MOST_CHANNEL = 32
MOST_EDGE_SHARE = 0.005


def near_edges(rgba, reach):
    """The pixels within `reach` device pixels of a pixel whose neighbour differs from it."""
    edge = np.zeros(rgba.shape[:2], bool)
    for dy, dx in ((0, 1), (1, 0), (1, 1), (1, -1)):
        differs = np.abs(rgba - np.roll(rgba, (dy, dx), (0, 1))).max(axis=2) > 0
        edge |= differs | np.roll(differs, (-dy, -dx), (0, 1))
    for _ in range(reach):
        grown = edge.copy()
        for dy in (-1, 0, 1):
            for dx in (-1, 0, 1):
                grown |= np.roll(edge, (dy, dx), (0, 1))
        edge = grown
    return edge


def assert_same_picture(before, after, scale):
    assert before.shape == after.shape
    assert np.unique(before.reshape(-1, 4), axis=0).shape[0] > 8, "a picture of next to nothing"
    apart = np.abs(before - after).max(axis=2) > MOST_CHANNEL
    edge = near_edges(before, max(1, round(scale)))
    off_edges = np.argwhere(apart & ~edge)
    assert off_edges.size == 0, f"{len(off_edges)} pixels apart away from any edge, first at (y, x) {off_edges[0]}"
    share = (apart & edge).sum() / apart.size
    assert share <= MOST_EDGE_SHARE, f"{share:.4%} of the pixels apart at edges"


def scale_of(name):
    return 2.0 if "dpr2" in name else 1.0


@pytest.fixture(scope="module")
def documents(tmp_path_factory):
    """Each corpus chart's document as the module writes it now, by name."""
    docs = {name: make().render_svg() for name, make in charts().items()}
    docs.update({name: make() for name, make in every_study_and_tool().items()})
    docs.update(example_documents(tmp_path_factory.mktemp("examples")))
    return docs


def corpus_names():
    return sorted(p.name[: -len(".svg.gz")] for p in (Path(__file__).parent / "data" / "pictures").glob("*.svg.gz"))


def test_every_kept_picture_has_its_chart(documents):
    assert set(corpus_names()) == set(documents)


@pytest.mark.parametrize("name", corpus_names())
def test_png_pictures_stay(documents, name):
    scale = scale_of(name)
    before = pixels(qc._png_from_svg(kept(name), scale)[0])
    after, skipped = qc._png_from_svg(documents[name], scale)
    assert skipped == []
    assert_same_picture(before, pixels(after), scale)


@pytest.fixture(scope="module")
def browser():
    reason = chromium_missing()
    if reason:
        if os.environ.get("CI") == "true":
            pytest.fail(reason)
        pytest.skip(reason)
    with Browser(width=1600, height=2600) as b:
        yield b


def screenshot(browser, folder, name, svg, scale):
    """Chromium's picture of the document alone in a page, at `scale` device pixels per pixel."""
    width, height = (float(v) for v in re.search(r'width="([\d.]+)" height="([\d.]+)"', svg).groups())
    path = folder / f"{name}.svg"
    path.write_text(svg, encoding="utf-8")
    browser.navigate(path.as_uri())
    shot = browser.page_call("Page.captureScreenshot", format="png",
                             clip={"x": 0, "y": 0, "width": width, "height": height, "scale": scale})
    return pixels(base64.b64decode(shot["data"]))


@pytest.mark.parametrize("name", corpus_names())
def test_browser_pictures_stay(browser, documents, tmp_path, name):
    scale = scale_of(name)
    before = screenshot(browser, tmp_path, "before", kept(name), scale)
    after = screenshot(browser, tmp_path, "after", documents[name], scale)
    assert_same_picture(before, after, scale)


def element_count(svg):
    return len(re.findall(r"<[a-zA-Z]", svg))


def test_documents_are_few_elements():
    # The page bench's chart in its 500-bar view: a million bars, candles, volume, SMA 20 and RSI 14.
    assert element_count(probe_chart(1_000_000).render_svg()) <= 200
    # The PNG bench's chart: at most 0.6 of the bytes its document of one element per shape took (the kept
    # document's length before it was recorded again, batched, with room for its volume band).
    from bench_chart import bench_chart
    assert len(bench_chart(qc).render_svg()) <= 0.6 * 125_635
