// Benchmark of the browser edition (not a test): the site's size, raw and gzip; the time from
// navigation to the main window painted, over HTTP from 127.0.0.1 in headless Chromium, paired
// with a plain static page in the same run (the two alternate, so both see the same load on the
// machine); the same from the service worker's cache; and Lighthouse's mobile scores.
//   node bench.mjs [RUNS] [LIGHTHOUSE_RUNS]   prints one line per figure, "name: value unit"
import { execFile } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { promisify } from "node:util";
import { gzipSync } from "node:zlib";
import { chromiumPath, launchBrowser, serveFolder, siteDir } from "./harness.mjs";

const runs = Number(process.argv[2] ?? 15);
const lighthouseRuns = Number(process.argv[3] ?? 3);
const sizes = (names) => {
  let raw = 0;
  let gzip = 0;
  for (const name of names) {
    const bytes = readFileSync(join(siteDir, name));
    raw += bytes.length;
    gzip += gzipSync(bytes, { level: 9 }).length;
  }
  return { raw, gzip };
};
const program = sizes(["tarnwick.wasm", "tarnwick.js"]);
const site = sizes(["tarnwick.wasm", "tarnwick.js", "index.html", "page.js", "style.css",
                    "manifest.webmanifest", "sw.js", "icon-192.png"]);
console.log(`wasm + js raw: ${program.raw} bytes`);
console.log(`wasm + js gzip: ${program.gzip} bytes`);
console.log(`whole site gzip: ${site.gzip} bytes`);

// The plain page: the same header text, painted and marked the way the site marks its main window.
const plainDir = mkdtempSync(join(tmpdir(), "tarnwick-plain-"));
process.on("exit", () => rmSync(plainDir, { recursive: true, force: true }));
writeFileSync(join(plainDir, "index.html"), `<!doctype html>
<html lang="en"><head><meta charset="utf-8"><title>Plain</title>
<meta name="viewport" content="width=device-width, initial-scale=1"></head>
<body><h1>Tarnwick</h1><p>Makes and changes the trail camera's settings file (menu.cfg) right here
in your browser. Nothing is uploaded: files are read and written on your computer.</p>
<script>requestAnimationFrame(() => setTimeout(() =>
  performance.mark("tarnwick-main-window-painted"), 0));</script></body></html>`);

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const mark = "tarnwick-main-window-painted";
async function paintedAfter(context, url) {
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction((name) => performance.getEntriesByName(name).length > 0, mark);
  const time = await page.evaluate((name) => performance.getEntriesByName(name)[0].startTime, mark);
  await page.close();
  return time;
}

const server = await serveFolder(siteDir);
const plain = await serveFolder(plainDir);
// First visits: no service worker. Repeat visits: the site from its service worker's cache.
const fresh = await launchBrowser({ serviceWorkers: "block" });
const installed = await launchBrowser();
const times = { plain: [], site: [], cached: [], difference: [] };
try {
  // The service worker installs on the first visit and keeps the site from then on.
  const worker = await installed.context.newPage();
  await worker.goto(server.url);
  await worker.waitForFunction(() => navigator.serviceWorker.controller !== null);
  await worker.close();
  const measures = {
    plain: () => paintedAfter(fresh.context, plain.url),
    site: () => paintedAfter(fresh.context, server.url),
    cached: () => paintedAfter(installed.context, server.url),
  };
  const order = Object.keys(measures);
  for (let i = 0; i < runs; i += 1) {
    const round = {};
    // Each round starts with the next kind, so no kind always follows the same one.
    for (let k = 0; k < order.length; k += 1) {
      const kind = order[(i + k) % order.length];
      round[kind] = await measures[kind]();
      times[kind].push(round[kind]);
    }
    times.difference.push(round.site - round.plain);
  }
} finally {
  await fresh.close();
  await installed.close();
}
const line = (label, values) => console.log(
  `${label} (median of ${values.length}): ${median(values).toFixed(1)} ms ` +
  `(fastest ${Math.min(...values).toFixed(1)}, slowest ${Math.max(...values).toFixed(1)})`);
line("navigation to main window painted", times.site);
line("navigation to plain page painted", times.plain);
line("main window painted minus plain page, paired", times.difference);
line("navigation to main window painted from the service worker's cache", times.cached);

// Lighthouse's mobile run (its default: a mid-range phone, slow 4G and a 4x slower CPU,
// simulated), through the lock file's lighthouse and Debian's Chromium.
const here = new URL(".", import.meta.url).pathname;
const scores = { performance: [], accessibility: [], tbt: [] };
const failing = new Set();
for (let i = 0; i < lighthouseRuns; i += 1) {
  const report = join(plainDir, `lighthouse-${i}.json`);
  // Not a synchronous call: this process serves the site meanwhile.
  await promisify(execFile)("npx", [
    "--no-install", "lighthouse", server.url, "--quiet", "--output=json", `--output-path=${report}`,
    "--only-categories=performance,accessibility",
    "--chrome-flags=--headless=new --no-sandbox --disable-gpu"],
    { cwd: here, env: { ...process.env, CHROME_PATH: chromiumPath } });
  const result = JSON.parse(readFileSync(report, "utf8"));
  scores.performance.push(result.categories.performance.score * 100);
  scores.accessibility.push(result.categories.accessibility.score * 100);
  scores.tbt.push(result.audits["total-blocking-time"].numericValue);
  for (const ref of result.categories.accessibility.auditRefs) {
    if (result.audits[ref.id].score === 0) failing.add(ref.id);
  }
}
await server.close();
await plain.close();
if (lighthouseRuns > 0) {
  const of = `(median of ${lighthouseRuns})`;
  console.log(`lighthouse mobile performance ${of}: ${median(scores.performance)}`);
  console.log(`lighthouse mobile total blocking time ${of}: ${median(scores.tbt).toFixed(0)} ms`);
  console.log(`lighthouse mobile accessibility ${of}: ${median(scores.accessibility)}`);
  console.log(`lighthouse accessibility audits failed: ${[...failing].join(", ") || "none"}`);
}
