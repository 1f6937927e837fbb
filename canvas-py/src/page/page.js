// The page's script: starts the chart core carried by the page, shows the chart's document, and turns the
// wheel, drags, keys and the pointer into views and pointers for the core to draw, and bars a script feeds it
// into the chart. It draws nothing itself.
// The document and what the pointer draws over it sit in two elements stacked exactly, so that a move of the
// pointer alone puts back only the pointer's group.
(async () => {
  "use strict";
  const element = document.getElementById("chart");
  const base = document.getElementById("document");
  const layer = document.getElementById("pointer");
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
    const json = new TextEncoder().encode(document.getElementById("quorvel-chart").textContent);
    const at = core.qc_alloc(json.length);
    bytes().set(json, at);
    const made = core.qc_chart_new(at, json.length, scratch);
    core.qc_free(at);
    if (made !== 0) {
      const error = core.qc_error(scratch);
      throw new Error(text(error, heap().getUint32(scratch, true)));
    }
    const chart = heap().getUint32(scratch, true);

    const view = () => {
      core.qc_chart_view(chart, scratch + 32, scratch + 40);
      return [Number(heap().getBigInt64(scratch + 32, true)), Number(heap().getBigInt64(scratch + 40, true))];
    };
    const barCount = () => {
      core.qc_chart_bar_count(chart, scratch + 32);
      return Number(heap().getBigInt64(scratch + 32, true));
    };
    let total = barCount();
    core.qc_chart_plot_width(chart, scratch + 32);
    const plotWidth = heap().getFloat64(scratch + 32, true);
    // The chart's own view, as the core takes it: one that shows the last bar counts from the end, so that it
    // follows the bars appended (all bars stay all bars).
    const home = (() => {
      const [first, last] = view();
      if (last !== total - 1) return [first, last];
      return [first > 0 ? first - total : 0, -1];
    })();

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
    const showDocument = shower(base), showPointer = shower(layer);

    let pointer = null; // [x, y] over the chart's element, in CSS pixels
    let shownView = null, shownDocument = "", shownGroup = "";
    let frame = ""; // the document's root tag, which the pointer's group is drawn in too
    let grown = false; // bars came since the document shown was drawn
    const END = "</svg>\n";
    const render = () => {
      const [first, last] = view();
      const viewed = `${first} ${last}`;
      const moved = grown || viewed !== shownView;
      grown = false;
      if (moved) {
        core.qc_chart_render(chart, 0, scratch, scratch + 4);
        shownDocument = text(heap().getUint32(scratch, true), heap().getUint32(scratch + 4, true));
        showDocument(shownDocument);
        const root = shownDocument.indexOf("<svg");
        frame = shownDocument.slice(root, shownDocument.indexOf(">", root) + 1);
        shownView = viewed;
      }
      let group = "";
      if (pointer) {
        heap().setFloat64(scratch + 16, pointer[0], true);
        heap().setFloat64(scratch + 24, pointer[1], true);
        core.qc_chart_render_pointer(chart, scratch + 16, scratch, scratch + 4);
        group = text(heap().getUint32(scratch, true), heap().getUint32(scratch + 4, true));
      }
      // Off the plot the pointer draws nothing; a move that changes nothing leaves the page as it is.
      if (moved || group !== shownGroup) {
        showPointer(group ? frame + group + "</svg>" : "");
        shownGroup = group;
      }
    };
    // Input changes the view first and renders once after.
    const setView = (first, last) => core.qc_chart_set_view(chart, BigInt(first), BigInt(last));

    const round = (x) => Math.floor(x + 0.5);
    const clamp = (v, lo, hi) => Math.min(Math.max(v, lo), hi);
    const middle = () => {
      const [first, last] = view();
      return Math.floor((first + last) / 2);
    };
    // n bars from first, moved as little as needed to stay within the bars.
    const showBars = (first, n) => {
      const [now, last] = view();
      const start = clamp(first, 0, total - n);
      if (start !== now || n !== last - now + 1) setView(start, start + n - 1);
    };
    // One notch in or out about bar k, which keeps its place. Zooming in never widens the view.
    const zoom = (inwards, k) => {
      const [first, last] = view();
      const n = last - first + 1;
      const m = inwards ? Math.min(n, Math.max(10, round(0.9 * n))) : Math.min(total, Math.max(n + 1, round(n / 0.9)));
      showBars(k - round(((k - first) * m) / n), m);
    };
    const pan = (bars) => {
      const [first, last] = view();
      showBars(first + bars, last - first + 1);
    };
    const local = (event) => {
      const box = element.getBoundingClientRect();
      return [event.clientX - box.left, event.clientY - box.top];
    };
    const barAt = (x) => (core.qc_chart_bar_at(chart, x, scratch + 32) === 0 ? Number(heap().getBigInt64(scratch + 32, true)) : null);

    let drag = null; // where the button went down, and the view then
    element.addEventListener("wheel", (event) => {
      if (event.deltaY === 0 || total === 0) return;
      event.preventDefault();
      pointer = local(event);
      zoom(event.deltaY < 0, barAt(pointer[0]) ?? middle());
      render();
    }, { passive: false });
    element.addEventListener("pointerdown", (event) => {
      if (event.button !== 0 || total === 0) return;
      const [first, last] = view();
      drag = { x: event.clientX, first, n: last - first + 1 };
      element.setPointerCapture(event.pointerId);
    });
    const release = () => { drag = null; };
    element.addEventListener("pointerup", release);
    element.addEventListener("pointercancel", release);
    element.addEventListener("dblclick", () => {
      if (total === 0) return;
      setView(home[0], home[1]);
      render();
    });
    window.addEventListener("keydown", (event) => {
      if (event.ctrlKey || event.metaKey || event.altKey || total === 0) return;
      const [first, last] = view();
      const step = Math.max(1, round(0.1 * (last - first + 1)));
      const actions = {
        "+": () => zoom(true, middle()),
        "-": () => zoom(false, middle()),
        ArrowLeft: () => pan(-step),
        ArrowRight: () => pan(step),
      };
      if (!(event.key in actions)) return;
      event.preventDefault();
      actions[event.key]();
      render();
    });
    element.addEventListener("pointermove", (event) => {
      pointer = local(event);
      if (drag && plotWidth > 0) {
        showBars(drag.first - round(((event.clientX - drag.x) * drag.n) / plotWidth), drag.n);
      }
      render();
    });
    element.addEventListener("pointerleave", () => {
      pointer = null;
      render();
    });

    // Bars fed by a script: the chart grows at once, and the page draws it at the next animation frame, once
    // however many bars came in between. A view that shows the last bar keeps showing the last bars.
    let frameAsked = false;
    const grow = (grower, bar) => {
      const fields = ["open", "high", "low", "close"];
      if (bar === null || typeof bar !== "object" || !Number.isSafeInteger(bar.time) ||
          !fields.every((k) => typeof bar[k] === "number") || !["number", "undefined"].includes(typeof bar.volume)) {
        throw new TypeError("a bar is {time, open, high, low, close, volume}: time in whole seconds, the others numbers");
      }
      const [first, last] = view();
      const before = total;
      const status = grower(chart, BigInt(bar.time), bar.open, bar.high, bar.low, bar.close, bar.volume ?? 0);
      if (status !== 0) throw new RangeError(text(core.qc_error(scratch), heap().getUint32(scratch, true)));
      total = barCount();
      const added = total - before;
      if (added > 0 && before > 0 && last === before - 1 && view()[1] !== total - 1) setView(first + added, last + added);
      grown = true;
      if (!frameAsked) {
        frameAsked = true;
        requestAnimationFrame(() => {
          frameAsked = false;
          if (grown) render();
        });
      }
    };

    render();
    window.quorvel = {
      view,
      setView(first, last) {
        // An index beyond 64 bits would wrap on its way to the core: refused, as a view with no bars is.
        const index = (v) => Number.isInteger(v) && BigInt(v) >= -(2n ** 63n) && BigInt(v) < 2n ** 63n;
        if (!index(first) || !index(last) || setView(first, last) !== 0) {
          throw new RangeError(`no bars from ${first} to ${last} of ${total}`);
        }
        render();
      },
      // A bar after the last (a chart without bars starts with it), or the last bar as it now stands, of its
      // time: a RangeError with the Python module's text for one refused.
      append: (bar) => grow(core.qc_chart_append, bar),
      update: (bar) => grow(core.qc_chart_update, bar),
      // The document shown: the document, then the pointer's group before its end.
      svg: () => (shownGroup ? shownDocument.slice(0, -END.length) + shownGroup + END : shownDocument),
    };
  } catch (failure) {
    element.textContent = `This page could not show its chart: ${failure.message}`;
  }
})();
