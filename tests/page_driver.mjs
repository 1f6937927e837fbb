// Runs a saved chart page's script under Node, with just enough of a document for it (the chart's element and
// the document's and the pointer's elements in it, its two data scripts, listeners), then plays input at it.
// Usage: node page_driver.mjs page.html steps.json, where each step is {"event": type, ...fields} for the
// chart's element, {"key": name} for the window, or {"setView": [first, last]}; prints, as a JSON list, what the
// page shows after each step: {"view": [first, last], "svg": text, "put": [names]} (svg only when it changed;
// put names the elements, "document" or "pointer", whose content the step changed), or {"error": text} for a
// refused setView.
import { readFileSync } from "node:fs";

const [pagePath, stepsPath] = process.argv.slice(2);
const page = readFileSync(pagePath, "utf8");
const scripts = [...page.matchAll(/<script(?: id="([\w-]+)"[^>]*)?>([\s\S]*?)<\/script>/g)];
const byId = Object.fromEntries(scripts.filter((m) => m[1]).map((m) => [m[1], { textContent: m[2] }]));
const listeners = { element: {}, window: {} };
const on = (target) => (type, fn) => { (listeners[target][type] ??= []).push(fn); };
const LEFT = 8, TOP = 5; // the element's place in the viewport
const element = {
  textContent: "",
  addEventListener: on("element"),
  getBoundingClientRect: () => ({ left: LEFT, top: TOP }),
  setPointerCapture() {},
};
const put = new Set();
// An element that holds markup as text. Its elements, as querySelectorAll("*") gives them, change that text
// in place: an attribute's value, or the text that follows an element's start tag.
const START_TAG = /<([a-zA-Z]+)((?:\s+[a-zA-Z0-9:_-]+="[^"]*")*)\s*\/?>/g;
const holder = (name) => {
  let html = "";
  const tag = (i) => [...html.matchAll(START_TAG)][i];
  const edit = (from, to, text) => { html = html.slice(0, from) + text + html.slice(to); put.add(name); };
  const escape = (text) => text.replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;").replace(/"/g, "&quot;");
  const child = (i) => ({
    setAttribute(attribute, value) {
      const m = tag(i), found = new RegExp(`\\s${attribute}="([^"]*)"`).exec(m[0]);
      const at = m.index + found.index + found[0].length - found[1].length - 1;
      edit(at, at + found[1].length, escape(String(value)));
    },
    firstChild: {
      set nodeValue(value) {
        const m = tag(i), at = m.index + m[0].length;
        edit(at, at + /^[^<]*/.exec(html.slice(at))[0].length, escape(value));
      },
    },
  });
  return {
    get innerHTML() { return html; },
    set innerHTML(text) { html = text; put.add(name); },
    querySelectorAll: () => [...html.matchAll(START_TAG)].map((_, i) => child(i)),
  };
};
byId.chart = element;
byId.document = holder("document");
byId.pointer = holder("pointer");
globalThis.document = { getElementById: (id) => byId[id] ?? null };
globalThis.window = { addEventListener: on("window") };
const fire = (target, type, fields) => {
  const event = { ...fields, defaultPrevented: false, preventDefault() { this.defaultPrevented = true; } };
  for (const fn of listeners[target][type] ?? []) fn(event);
};

(0, eval)(scripts.find((m) => !m[1])[2]);
for (let i = 0; i < 1000 && !window.quorvel; i++) await new Promise((done) => setTimeout(done, 5));
if (!window.quorvel) throw new Error(element.textContent || "the page did not start");

// What the two elements show, read back as one document: the pointer's group (its element's svg stripped)
// before the document's end.
const composed = () => {
  const doc = byId.document.innerHTML, layer = byId.pointer.innerHTML;
  if (layer === "") return doc;
  const group = layer.slice(layer.indexOf(">") + 1, -"</svg>".length);
  return doc.slice(0, -"</svg>\n".length) + group + "</svg>\n";
};

const shown = [];
let last = null;
for (const step of JSON.parse(readFileSync(stepsPath, "utf8"))) {
  const result = {};
  put.clear();
  try {
    if (step.setView) window.quorvel.setView(...step.setView);
    else if (step.key) fire("window", "keydown", { key: step.key });
    else {
      // Points are given on the chart's element; events carry them in the viewport.
      const { event, x, y, ...rest } = step;
      fire("element", event, { clientX: (x ?? 0) + LEFT, clientY: (y ?? 0) + TOP, button: 0, pointerId: 1, ...rest });
    }
  } catch (error) {
    result.error = `${error.name}: ${error.message}`;
  }
  result.view = window.quorvel.view();
  const svg = window.quorvel.svg();
  if (svg !== last) result.svg = svg;
  result.put = [...put].sort();
  if (composed() !== svg) throw new Error("the elements do not show the page's document");
  last = svg;
  shown.push(result);
}
process.stdout.write(JSON.stringify(shown));
