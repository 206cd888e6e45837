// Benchmark of the browser edition (not a test): the site's size, raw and gzip, and the time
// from navigation to the main window painted, over HTTP from 127.0.0.1 in headless Chromium.
//   node bench.mjs [RUNS]   prints one line per figure, "name: value unit"
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { gzipSync } from "node:zlib";
import { launchBrowser, serveFolder, siteDir } from "./harness.mjs";

const runs = Number(process.argv[2] ?? 15);
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
const site = sizes(["tarnwick.wasm", "tarnwick.js", "index.html", "page.js", "style.css", "tarnwick.svg"]);
console.log(`wasm + js raw: ${program.raw} bytes`);
console.log(`wasm + js gzip: ${program.gzip} bytes`);
console.log(`whole site gzip: ${site.gzip} bytes`);

const server = await serveFolder(siteDir);
const browser = await launchBrowser();
const times = [];
try {
  for (let i = 0; i < runs; i += 1) {
    const page = await browser.context.newPage();
    await page.goto(server.url);
    await page.waitForFunction(() => performance.getEntriesByName("tarnwick-main-window-painted").length > 0);
    times.push(await page.evaluate(() => performance.getEntriesByName("tarnwick-main-window-painted")[0].startTime));
    await page.close();
  }
} finally {
  await browser.close();
  await server.close();
}
times.sort((a, b) => a - b);
const median = times[Math.floor(times.length / 2)];
console.log(`navigation to main window painted (median of ${runs}): ${median.toFixed(1)} ms`);
console.log(`navigation to main window painted (fastest, slowest): ${times[0].toFixed(1)} ms, ${times.at(-1).toFixed(1)} ms`);
