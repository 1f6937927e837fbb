// Renders charts in the WebAssembly core under Node, for the Python suite to compare with the module's
// documents. Usage: node wasm_render.mjs core.wasm jobs.json, where jobs.json lists
// {"json": path, "view": [first, last] or null, "pointer": [x, y] or null, "out": path}; prints one result
// per job as a JSON list:
// {"status": code, "view": [first, last], "error": text}.
import { readFileSync, writeFileSync } from "node:fs";

const [wasmPath, jobsPath] = process.argv.slice(2);
let memory;
const bytes = () => new Uint8Array(memory.buffer);
const view = () => new DataView(memory.buffer);
// The three WASI calls the core imports, for text written to stderr by the C library: none is expected.
const wasi = {
  fd_write(fd, iovs, count, written) {
    let total = 0;
    for (let i = 0; i < count; i++) {
      const ptr = view().getUint32(iovs + 8 * i, true), len = view().getUint32(iovs + 8 * i + 4, true);
      process.stderr.write(bytes().slice(ptr, ptr + len));
      total += len;
    }
    view().setUint32(written, total, true);
    return 0;
  },
  fd_seek: () => 70,   // ESPIPE
  fd_close: () => 8,   // EBADF
};
const { instance } = await WebAssembly.instantiate(readFileSync(wasmPath), { wasi_snapshot_preview1: wasi });
const core = instance.exports;
memory = core.memory;
core._initialize();

const scratch = core.qc_alloc(48);  // out-parameters, then a pointer's x and y at 32 and 40
const text = (ptr, len) => Buffer.from(bytes().slice(ptr, ptr + len)).toString("utf8");
const results = [];
for (const job of JSON.parse(readFileSync(jobsPath, "utf8"))) {
  const json = readFileSync(job.json);
  const at = core.qc_alloc(json.length);
  bytes().set(json, at);
  let status = core.qc_chart_new(at, json.length, scratch);
  core.qc_free(at);
  if (status !== 0) {
    const err = core.qc_error(scratch + 8);
    results.push({ status, error: text(err, view().getUint32(scratch + 8, true)) });
    continue;
  }
  const chart = view().getUint32(scratch, true);
  if (job.view) status = core.qc_chart_set_view(chart, BigInt(job.view[0]), BigInt(job.view[1]));
  if (job.pointer) {
    view().setFloat64(scratch + 32, job.pointer[0], true);
    view().setFloat64(scratch + 40, job.pointer[1], true);
  }
  if (status === 0) status = core.qc_chart_render(chart, job.pointer ? scratch + 32 : 0, scratch, scratch + 4);
  if (status === 0) {
    const doc = view().getUint32(scratch, true), len = view().getUint32(scratch + 4, true);
    writeFileSync(job.out, bytes().slice(doc, doc + len));
  }
  core.qc_chart_view(chart, scratch + 8, scratch + 16);
  const drawn = [Number(view().getBigInt64(scratch + 8, true)), Number(view().getBigInt64(scratch + 16, true))];
  core.qc_chart_free(chart);
  results.push({ status, view: drawn });
}
core.qc_free(scratch);
process.stdout.write(JSON.stringify(results));
