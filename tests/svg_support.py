"""Reads rendered documents back: every document must parse as XML; elements come back without namespaces."""
import math
import re
import xml.etree.ElementTree as ET

SVG_NS = "{http://www.w3.org/2000/svg}"
NUMBER = re.compile(r"-?\d+(?:\.\d+)?")


class Element:
    def __init__(self, node=None, tag="", attrs=None, text=""):
        self.tag = node.tag.removeprefix(SVG_NS) if node is not None else tag
        self.attrs = dict(node.attrib) if node is not None else attrs
        self.text = (node.text or "") if node is not None else text

    def __getitem__(self, name):
        return self.attrs[name]

    def num(self, name):
        return float(self.attrs[name])

    def __repr__(self):
        return f"<{self.tag} {self.attrs} {self.text!r}>"


def parse(svg):
    """The root element of a document; fails the test when the text is not well-formed XML."""
    return ET.fromstring(svg.encode("utf-8"))


def render(chart):
    """The chart's document, checked to be well-formed."""
    svg = chart.render_svg()
    parse(svg)
    return svg


def drawn_nodes(parent):
    """The nodes drawn under parent in document order, the panes' clip groups entered."""
    for node in parent:
        if node.tag == SVG_NS + "g" and "clip-path" in node.attrib:
            yield from drawn_nodes(node)
        elif node.tag != SVG_NS + "defs":
            yield node


def written(svg):
    """The drawn elements in document order (the frame's defs left out, the panes' clip groups entered), as the
    document writes them."""
    return [Element(node) for node in drawn_nodes(parse(svg))]


def body(svg):
    """The drawn elements in document order (the frame's defs left out, the panes' clip groups entered), each
    batched shape as its own."""
    return shapes(written(svg))


def every(svg):
    """Every drawn element, those inside groups included, in document order, each batched shape as its own."""
    return shapes([Element(node) for child in parse(svg) if child.tag != SVG_NS + "defs" for node in child.iter()])


SUBPATH = re.compile(r"M[^M]*")
STEP = re.compile(r"([A-Za-z])([^A-Za-z]*)")


def shape_of(d):
    """The element a batched shape's subpath stands for: its tag and geometry attributes; None for others."""
    steps = [(op, [float(v) for v in NUMBER.findall(args)]) for op, args in STEP.findall(d)]
    ops = "".join(op for op, _ in steps)
    n2 = "{:.2f}".format
    if ops == "MhvhZ" and steps[3][1][0] == -steps[1][1][0]:
        (x, y), (w,), (h,) = steps[0][1], steps[1][1], steps[2][1]
        return "rect", {"x": n2(x), "y": n2(y), "width": n2(w), "height": n2(h)}
    if ops in ("MV", "MH", "ML"):
        (x1, y1), rest = steps[0][1], steps[1][1]
        x2, y2 = {"V": (x1, rest[0]), "H": (rest[0], y1), "L": tuple(rest)}[ops[1]]
        return "line", {"x1": n2(x1), "y1": n2(y1), "x2": n2(x2), "y2": n2(y2)}
    if ops == "MAAZ":
        (left, cy), arc = steps[0][1], steps[1][1]
        return "circle", {"cx": n2((left + arc[5]) / 2), "cy": n2(cy), "r": n2(arc[0])}
    return None


def shapes(elements):
    """The elements with each path of batched shapes read back as the elements its shapes would be alone,
    each with the path's paint attributes (a subpath of no such form a path of its own); others as they are."""
    out = []
    for e in elements:
        pieces = SUBPATH.findall(e.attrs.get("d", "")) if e.tag == "path" else []
        # A path of one subpath is a shape when it has a shape's form, but a line's run of two points.
        alone = len(pieces) == 1 and shape_of(pieces[0]) and not pieces[0].lstrip("M").count("L")
        if len(pieces) < 2 and not alone:
            out.append(e)
            continue
        paint = {k: v for k, v in e.attrs.items() if k != "d"}
        for piece in pieces:
            tag, geometry = shape_of(piece) or ("path", {"d": piece.strip()})
            out.append(Element(tag=tag, attrs={**geometry, **paint}))
    return out


def where(elements, tag, **attrs):
    return [e for e in elements if e.tag == tag and all(e.attrs.get(k.replace("_", "-")) == v
                                                        for k, v in attrs.items())]


def attribute_values(svg):
    return [value for node in parse(svg).iter() for value in node.attrib.values()]


def has_non_finite(svg):
    """Whether any attribute (coordinates, sizes, colours) holds NaN or an infinity, or a number too large
    to read back as a finite float."""
    for value in attribute_values(svg):
        if "NaN" in value or "inf" in value:
            return True
        if not all(math.isfinite(float(m)) for m in NUMBER.findall(value)):
            return True
    return False
