"""Reads rendered documents back: every document must parse as XML; elements come back without namespaces."""
import math
import re
import xml.etree.ElementTree as ET

SVG_NS = "{http://www.w3.org/2000/svg}"
NUMBER = re.compile(r"-?\d+(?:\.\d+)?")


class Element:
    def __init__(self, node):
        self.tag = node.tag.removeprefix(SVG_NS)
        self.attrs = dict(node.attrib)
        self.text = node.text or ""

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


def body(svg):
    """The drawn elements in document order (the frame's defs left out)."""
    return [Element(node) for node in parse(svg) if node.tag != SVG_NS + "defs"]


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
