// The page's script: starts the chart core carried by the page, shows the chart's document (or each of a
// figure's charts at its cell), turns the wheel, drags, keys and the pointer into views and pointers for the
// core to draw, and bars a script feeds it into the chart. It draws nothing itself. A document and what the
// pointer draws over it sit in two elements stacked exactly, so that a move of the pointer alone changes only
// the pointer's group.
(async () => {
  "use strict";
  try {
    // The core in base 85 as the page's writer puts it: 5 digits ('(' to '~' less '<' and '>') for each 4
    // bytes, the last n bytes as n + 1 digits, read as if padded with the highest digit.
    const digits = document.getElementById("quorvel-core").textContent.trim();
    const digit = (i) => {
      const c = digits.charCodeAt(i) - 40;
      return c - (c > 20) - (c > 22);
    };
    const gzip = new Uint8Array(Math.floor(digits.length / 5) * 4 + Math.max(0, (digits.length % 5) - 1));
    for (let g = 0, at = 0; at < gzip.length; g += 5) {
      let value = 0;
      for (let i = g; i < g + 5; i++) value = value * 85 + (i < digits.length ? digit(i) : 84);
      for (let shift = 24; shift >= 0 && at < gzip.length; shift -= 8) gzip[at++] = (value >>> shift) & 255;
    }
    const inflated = new Blob([gzip]).stream().pipeThrough(new DecompressionStream("gzip"));
    const wasm = await new Response(inflated).arrayBuffer();

    let core = null;
    const heap = () => new DataView(core.memory.buffer);
    const bytes = () => new Uint8Array(core.memory.buffer);
    const decoder = new TextDecoder();
    const text = (at, size) => decoder.decode(bytes().subarray(at, at + size));
    // The C library writes only to report a fault: to the console, where a developer looks.
    const wasi = {
      fd_write(fd, iovs, count, written) {
        let total = 0;
        for (let i = 0; i < count; i++) {
          const at = heap().getUint32(iovs + 8 * i, true), size = heap().getUint32(iovs + 8 * i + 4, true);
          console.error(text(at, size));
          total += size;
        }
        heap().setUint32(written, total, true);
        return 0;
      },
      fd_seek: () => 70, // ESPIPE
      fd_close: () => 8, // EBADF
    };
    core = (await WebAssembly.instantiate(wasm, { wasi_snapshot_preview1: wasi })).instance.exports;
    core._initialize();

    // Out-parameters: the document's address and size at 0 and 4, the pointer at 16, a view at 32 and 40.
    const scratch = core.qc_alloc(48);
    const i64 = () => Number(heap().getBigInt64(scratch + 32, true));
    const made = (source) => {
      const json = new TextEncoder().encode(source);
      const at = core.qc_alloc(json.length);
      bytes().set(json, at);
      const status = core.qc_chart_new(at, json.length, scratch);
      core.qc_free(at);
      if (status !== 0) {
        const error = core.qc_error(scratch);
        throw new Error(text(error, heap().getUint32(scratch, true)));
      }
      return heap().getUint32(scratch, true);
    };
    const round = (x) => Math.floor(x + 0.5);
    const clamp = (v, lo, hi) => Math.min(Math.max(v, lo), hi);
    const END = "</svg>\n";

    // The elements of a text the core writes (attributes in double quotes, no comments or character data),
    // in document order: their shape (tags, attribute names, which hold text) and values.
    const TAG = /<([a-zA-Z]+)((?:\s+[a-zA-Z0-9:_-]+="[^"]*")*)\s*(\/?)>([^<]*)/g;
    const ATTRIBUTE = /\s+([a-zA-Z0-9:_-]+)="([^"]*)"/g;
    const elementsOf = (markup) => {
      const values = [], slots = [];
      let shape = "", element = 0;
      for (const [, tag, attributes, closed, after] of markup.matchAll(TAG)) {
        shape += "<" + tag;
        for (const [, name, value] of attributes.matchAll(ATTRIBUTE)) {
          shape += " " + name;
          values.push(value);
          slots.push([element, name]);
        }
        if (!closed && after) {
          shape += ">";
          values.push(after);
          slots.push([element, null]);
        }
        element++;
      }
      return { shape, values, slots, count: element };
    };
    const ENTITIES = { "&amp;": "&", "&lt;": "<", "&gt;": ">", "&quot;": '"', "&apos;": "'" };
    const unescaped = (value) => (value.includes("&") ? value.replace(/&(?:amp|lt|gt|quot|apos);/g, (e) => ENTITIES[e]) : value);

    // An element shows one SVG text at a time. A text of the same shape as the one shown (the same elements
    // and attribute names, as a pan or a pointer's move to the next bar gives) is put in value by value, so
    // that the browser neither parses nor styles new elements, and lays out again only what changed.
    const shower = (box) => {
      let shown = null, elements = null;
      return (markup) => {
        const parts = markup ? elementsOf(markup) : null;
        if (parts && shown && parts.shape === shown.shape) {
          parts.values.forEach((value, i) => {
            if (value === shown.values[i]) return;
            const [element, name] = parts.slots[i];
            if (name === null) elements[element].firstChild.nodeValue = unescaped(value);
            else elements[element].setAttribute(name, unescaped(value));
          });
        } else {
          box.innerHTML = markup;
          elements = [...box.querySelectorAll("*")];
        }
        // Markup the pattern misreads is never changed in place.
        shown = parts && parts.count === elements.length ? parts : null;
      };
    };

    // One chart of the core on the page, with its document and pointer layers: `box` takes its input, `base`
    // shows its document and `layer` what the pointer draws over it.
    const cell = (chart, box, base, layer) => {
      const view = () => {
        core.qc_chart_view(chart, scratch + 32, scratch + 40);
        return [i64(), Number(heap().getBigInt64(scratch + 40, true))];
      };
      const barCount = () => {
        core.qc_chart_bar_count(chart, scratch + 32);
        return i64();
      };
      const total = barCount();
      core.qc_chart_plot_width(chart, scratch + 32);
      const plotWidth = heap().getFloat64(scratch + 32, true);
      // The chart's own view, as the core takes it: one that shows the last bar counts from the end, so that it
      // follows the bars appended (all bars stay all bars).
      const home = (() => {
        const [first, last] = view();
        if (last !== total - 1) return [first, last];
        return [first > 0 ? first - total : 0, -1];
      })();
      const showDocument = shower(base), showPointer = shower(layer);
      let shownView = null, shownDocument = "", shownGroup = "";
      let frame = ""; // the document's root tag, which the pointer's group is drawn in too
      const c = {
        chart, box, total, plotWidth, view, barCount, home,
        pointer: null, // [x, y] in document pixels, where the crosshair is drawn
        grown: false, // bars came since the document shown was drawn
        render() {
          const [first, last] = view();
          const viewed = `${first} ${last}`;
          const moved = c.grown || viewed !== shownView;
          c.grown = false;
          if (moved) {
            core.qc_chart_render(chart, 0, scratch, scratch + 4);
            shownDocument = text(heap().getUint32(scratch, true), heap().getUint32(scratch + 4, true));
            showDocument(shownDocument);
            const root = shownDocument.indexOf("<svg");
            frame = shownDocument.slice(root, shownDocument.indexOf(">", root) + 1);
            shownView = viewed;
          }
          let group = "";
          if (c.pointer) {
            heap().setFloat64(scratch + 16, c.pointer[0], true);
            heap().setFloat64(scratch + 24, c.pointer[1], true);
            core.qc_chart_render_pointer(chart, scratch + 16, scratch, scratch + 4);
            group = text(heap().getUint32(scratch, true), heap().getUint32(scratch + 4, true));
          }
          // Off the plot the pointer draws nothing; a move that changes nothing leaves the page as it is.
          if (moved || group !== shownGroup) {
            showPointer(group ? frame + group + "</svg>" : "");
            shownGroup = group;
          }
        },
        // The document shown: the document, then the pointer's group before its end.
        svg: () => (shownGroup ? shownDocument.slice(0, -END.length) + shownGroup + END : shownDocument),
        setView: (first, last) => core.qc_chart_set_view(chart, BigInt(first), BigInt(last)),
        barAt: (x) => (core.qc_chart_bar_at(chart, x, scratch + 32) === 0 ? i64() : null),
        time: (bar) => (core.qc_chart_bar_time(chart, BigInt(bar), scratch + 32) === 0 ? i64() : null),
        holding: (t) => (core.qc_chart_bar_holding(chart, BigInt(t), scratch + 32) === 0 ? i64() : null),
        barX: (bar) => (core.qc_chart_bar_x(chart, BigInt(bar), scratch + 32) === 0 ? heap().getFloat64(scratch + 32, true) : null),
      };
      return c;
    };

    const element = document.getElementById("chart");
    const data = document.getElementById("quorvel-figure");
    const figure = data ? JSON.parse(data.textContent) : null;
    const cells = [];
    if (!figure) {
      cells.push(cell(made(document.getElementById("quorvel-chart").textContent), element,
        document.getElementById("document"), document.getElementById("pointer")));
    } else {
      // The figure's background and title under the cells, each cell at its place.
      element.innerHTML = figure.frame + "</svg>";
      const texts = document.querySelectorAll("script.quorvel-chart");
      figure.cells.forEach(([x, y], i) => {
        const box = document.createElement("div"), base = document.createElement("div");
        const layer = document.createElement("div");
        box.className = "cell";
        box.style.left = `${x}px`;
        box.style.top = `${y}px`;
        layer.className = "layer";
        box.append(base, layer);
        element.append(box);
        const chart = made(texts[i].textContent);
        core.qc_chart_nest(chart, i, x, y);
        cells.push(cell(chart, box, base, layer));
      });
    }
    // With shared time the first chart leads: every gesture moves its view, and the others draw its span.
    const shared = figure !== null && figure.share_time;
    const lead = (c) => (shared ? cells[0] : c);
    const follow = () => {
      if (shared) for (const c of cells.slice(1)) core.qc_chart_share_time(c.chart, cells[0].chart);
    };
    const renderAll = () => {
      follow();
      for (const c of cells) c.render();
    };
    // The leader's bar at the instant of bar k of c.
    const leadBar = (c, k) => {
      if (k === null || lead(c) === c) return k;
      const t = c.time(k);
      return t === null ? null : cells[0].holding(t);
    };

    const middle = (c) => {
      const [first, last] = c.view();
      return Math.floor((first + last) / 2);
    };
    // n bars from first, moved as little as needed to stay within the bars.
    const showBars = (c, first, n) => {
      const [now, last] = c.view();
      const start = clamp(first, 0, c.total - n);
      if (start !== now || n !== last - now + 1) c.setView(start, start + n - 1);
    };
    // One notch in or out about bar k, which keeps its place. Zooming in never widens the view.
    const zoom = (c, inwards, k) => {
      const [first, last] = c.view();
      const n = last - first + 1;
      const m = inwards ? Math.min(n, Math.max(10, round(0.9 * n))) : Math.min(c.total, Math.max(n + 1, round(n / 0.9)));
      showBars(c, k - round(((k - first) * m) / n), m);
    };
    const pan = (c, bars) => {
      const [first, last] = c.view();
      showBars(c, first + bars, last - first + 1);
    };
    // Where the pointer is over c, and the crosshair it draws there and, sharing time, on every other chart at
    // its bar holding the pointer's instant.
    const point = (c, at) => {
      for (const other of cells) other.pointer = null;
      c.pointer = at;
      if (!shared || !at) return;
      const k = c.barAt(at[0]);
      const t = k === null ? null : c.time(k);
      if (t === null) return;
      for (const other of cells) {
        if (other === c) continue;
        const b = other.holding(t);
        const x = b === null ? null : other.barX(b);
        if (x !== null) other.pointer = [x, at[1]];
      }
    };

    let drag = null; // where the button went down, the chart it moves and its view then
    let active = cells[0]; // the chart the keys move: the last one the pointer was over
    for (const c of cells) {
      const local = (event) => {
        const box = c.box.getBoundingClientRect();
        return [event.clientX - box.left, event.clientY - box.top];
      };
      c.box.addEventListener("wheel", (event) => {
        if (event.deltaY === 0 || lead(c).total === 0) return;
        event.preventDefault();
        const at = local(event);
        const target = lead(c);
        zoom(target, event.deltaY < 0, leadBar(c, c.barAt(at[0])) ?? middle(target));
        follow();
        point(c, at);
        renderAll();
      }, { passive: false });
      c.box.addEventListener("pointerdown", (event) => {
        const target = lead(c);
        if (event.button !== 0 || target.total === 0) return;
        const [first, last] = target.view();
        drag = { x: event.clientX, first, n: last - first + 1, target, width: c.plotWidth };
        c.box.setPointerCapture(event.pointerId);
      });
      const release = () => { drag = null; };
      c.box.addEventListener("pointerup", release);
      c.box.addEventListener("pointercancel", release);
      c.box.addEventListener("dblclick", () => {
        const target = lead(c);
        if (target.total === 0) return;
        target.setView(target.home[0], target.home[1]);
        renderAll();
      });
      c.box.addEventListener("pointermove", (event) => {
        active = c;
        if (drag && drag.width > 0) {
          showBars(drag.target, drag.first - round(((event.clientX - drag.x) * drag.n) / drag.width), drag.n);
          follow();
        }
        point(c, local(event));
        renderAll();
      });
      c.box.addEventListener("pointerleave", () => {
        point(c, null);
        renderAll();
      });
    }
    window.addEventListener("keydown", (event) => {
      const c = lead(active);
      if (event.ctrlKey || event.metaKey || event.altKey || c.total === 0) return;
      const [first, last] = c.view();
      const step = Math.max(1, round(0.1 * (last - first + 1)));
      const actions = {
        "+": () => zoom(c, true, middle(c)),
        "-": () => zoom(c, false, middle(c)),
        ArrowLeft: () => pan(c, -step),
        ArrowRight: () => pan(c, step),
      };
      if (!(event.key in actions)) return;
      event.preventDefault();
      actions[event.key]();
      renderAll();
    });

    // Bars fed by a script: the chart grows at once, and the page draws it at the next animation frame, once
    // however many bars came in between. A view that shows the last bar keeps showing the last bars.
    let frameAsked = false;
    const grow = (c, grower, bar) => {
      const fields = ["open", "high", "low", "close"];
      if (bar === null || typeof bar !== "object" || !Number.isSafeInteger(bar.time) ||
          !fields.every((k) => typeof bar[k] === "number") || !["number", "undefined"].includes(typeof bar.volume)) {
        throw new TypeError("a bar is {time, open, high, low, close, volume}: time in whole seconds, the others numbers");
      }
      const [first, last] = c.view();
      const before = c.total;
      const status = grower(c.chart, BigInt(bar.time), bar.open, bar.high, bar.low, bar.close, bar.volume ?? 0);
      if (status !== 0) throw new RangeError(text(core.qc_error(scratch), heap().getUint32(scratch, true)));
      c.total = c.barCount();
      const added = c.total - before;
      if (added > 0 && before > 0 && last === before - 1 && c.view()[1] !== c.total - 1) {
        c.setView(first + added, last + added);
      }
      c.grown = true;
      if (!frameAsked) {
        frameAsked = true;
        requestAnimationFrame(() => {
          frameAsked = false;
          renderAll();
        });
      }
    };

    renderAll();
    // A chart's view, set as the page's input sets it (sharing time, the first chart's moves all).
    const api = (c) => ({
      view: c.view,
      setView(first, last) {
        // An index beyond 64 bits would wrap on its way to the core: refused, as a view with no bars is.
        const index = (v) => Number.isInteger(v) && BigInt(v) >= -(2n ** 63n) && BigInt(v) < 2n ** 63n;
        if (!index(first) || !index(last) || c.setView(first, last) !== 0) {
          throw new RangeError(`no bars from ${first} to ${last} of ${c.total}`);
        }
        renderAll();
      },
      svg: c.svg,
    });
    window.quorvel = figure
      ? { svg: () => figure.frame + cells.map((c) => c.svg()).join("") + END, charts: cells.map(api) }
      : {
          ...api(cells[0]),
          // A bar after the last (a chart without bars starts with it), or the last bar as it now stands, of
          // its time: a RangeError with the Python module's text for one refused.
          append: (bar) => grow(cells[0], core.qc_chart_append, bar),
          update: (bar) => grow(cells[0], core.qc_chart_update, bar),
        };
  } catch (failure) {
    document.getElementById("chart").textContent = `This page could not show its chart: ${failure.message}`;
  }
})();
