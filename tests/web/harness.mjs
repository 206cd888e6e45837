// What every browser test needs: the site served from a local HTTP server with the right MIME
// types, Debian's Chromium driven by playwright-core, and helpers for the program's windows.
import { createServer } from "node:http";
import { mkdtempSync, readFileSync, rmSync, statSync, writeFileSync } from "node:fs";
import { inflateSync } from "node:zlib";
import { tmpdir } from "node:os";
import { extname, join, normalize, resolve, sep } from "node:path";
import { gzipSync } from "node:zlib";
import { chromium } from "playwright-core";

const here = new URL(".", import.meta.url).pathname;
export const sourceDir = resolve(here, "../..");
export const buildDir = resolve(process.env.TARNWICK_WEB_BUILD ?? join(sourceDir, "build/web"));
export const siteDir = join(buildDir, "web/site");
export const singleFileSiteDir = join(buildDir, "web/site-single");
export const screenshotDir = join(buildDir, "screenshots");

const mimeTypes = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".wasm": "application/wasm",
  ".svg": "image/svg+xml",
  ".png": "image/png",
  ".webmanifest": "application/manifest+json",
  ".cfg": "application/octet-stream",
};

export function mimeTypeOf(path) {
  return mimeTypes[extname(path).toLowerCase()] ?? "application/octet-stream";
}

// Serves one folder on 127.0.0.1 at the port given, or a free one. Only files inside the folder
// are served, compressed as static hosts serve them when the browser takes gzip. `requests`
// counts what reached the server.
export async function serveFolder(folder, port = 0) {
  const root = resolve(folder);
  let requests = 0;
  const compressed = new Map();  // "path mtime" -> gzip bytes
  const server = createServer((request, response) => {
    requests += 1;
    const url = new URL(request.url, "http://localhost");
    const relative = decodeURIComponent(url.pathname === "/" ? "/index.html" : url.pathname);
    const path = normalize(join(root, relative));
    if (request.method !== "GET" && request.method !== "HEAD") {
      response.writeHead(405).end();
      return;
    }
    if (!path.startsWith(root + sep)) {
      response.writeHead(403).end();
      return;
    }
    let body;
    try {
      if (!statSync(path).isFile()) throw new Error("not a file");
      body = readFileSync(path);
    } catch {
      response.writeHead(404, { "Content-Type": "text/plain" }).end("not found");
      return;
    }
    const headers = { "Content-Type": mimeTypeOf(path), "Cache-Control": "no-store" };
    if (/\bgzip\b/.test(request.headers["accept-encoding"] ?? "") && extname(path) !== ".png") {
      const key = `${path} ${statSync(path).mtimeMs}`;
      if (!compressed.has(key)) compressed.set(key, gzipSync(body));
      body = compressed.get(key);
      headers["Content-Encoding"] = "gzip";
    }
    headers["Content-Length"] = body.length;
    response.writeHead(200, headers);
    response.end(request.method === "HEAD" ? undefined : body);
  });
  await new Promise((ok, fail) => {
    server.once("error", fail);
    server.listen(port, "127.0.0.1", ok);
  });
  return { url: `http://127.0.0.1:${server.address().port}/`,
           requests: () => requests,
           close: () => new Promise((ok) => {
             server.close(ok);
             server.closeAllConnections();
           }) };
}

export const chromiumPath = process.env.TARNWICK_CHROMIUM ?? "/usr/bin/chromium";

// Debian's Chromium, never a downloaded one; a fresh profile for every launch. `options` adds
// to playwright's launch options (a phone: `phone(360, 800)`).
export async function launchBrowser(options = {}) {
  const profile = mkdtempSync(join(tmpdir(), "tarnwick-chromium-"));
  const context = await chromium.launchPersistentContext(profile, {
    viewport: { width: 1280, height: 900 },
    ...options,
    executablePath: chromiumPath,
    headless: true,
    chromiumSandbox: false,
    acceptDownloads: true,
    args: ["--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
           "--disable-component-update", "--disable-sync"],
  });
  return {
    context,
    close: async () => {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Chromium's emulation of a phone with a touch screen, `width` x `height` CSS pixels (one device
// pixel each, so that screenshots measure what the page reports).
export function phone(width, height) {
  return { viewport: { width, height }, isMobile: true, hasTouch: true, deviceScaleFactor: 1 };
}

// The browser without the file-system pickers (showOpenFilePicker, showSaveFilePicker), as
// most browsers are: Load is a file input and Save a download. An init script for openSite.
export function withoutFilePickers() {
  delete window.showOpenFilePicker;
  delete window.showSaveFilePicker;
}

// A page of the site, with its console errors and any request that left the site collected.
// `initScript` runs in the page before any of the page's own scripts.
export async function openSite(context, url, initScript = null) {
  const page = await context.newPage();
  if (initScript) await page.addInitScript(initScript);
  const problems = [];
  page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
  page.on("console", (message) => {
    if (message.type() === "error") problems.push(`console: ${message.text()}`);
  });
  page.on("request", (request) => {
    const target = request.url();
    if (!target.startsWith(url) && !target.startsWith("blob:") && !target.startsWith("data:")) {
      problems.push(`request outside the site: ${target}`);
    }
  });
  await page.goto(url);
  await mainWindow(page).waitFor();
  return { page, problems };
}

// The window drawn from a template ("102" for the main window); the top-most when several are.
export function windowOf(page, templateId) {
  return page.locator(`.layer[data-template="${templateId}"]`).last();
}
export const mainWindow = (page) => windowOf(page, 102);

// A control of a window by its id.
export function control(win, id) {
  return win.locator(`[data-id="${id}"]`);
}
// The input element inside a check box or radio button, or the control itself.
export function inputOf(win, id) {
  return win.locator(`[data-id="${id}"] input, input[data-id="${id}"], select[data-id="${id}"], button[data-id="${id}"]`).first();
}

// The in-page message box on top: its text, answered by clicking (or tapping) the named button.
export async function answerMessage(page, button = "OK", how = "click") {
  const box = page.locator(".layer.message").last();
  await box.waitFor();
  const text = await box.locator(".text").textContent();
  await box.getByRole("button", { name: button, exact: true })[how]();
  await box.waitFor({ state: "detached" });
  return text;
}

// From now on the page notes the size of every file (or part of one) it reads; sizesRead()
// gives them.
export async function noteReads(page) {
  await page.evaluate(() => {
    window.sizesRead = [];
    const read = Blob.prototype.arrayBuffer;
    Blob.prototype.arrayBuffer = function () {
      window.sizesRead.push(this.size);
      return read.call(this);
    };
  });
}
export const sizesRead = (page) => page.evaluate(() => window.sizesRead);

export function readBytes(path) {
  return readFileSync(path);
}

// Waits until the program has taken every queued input and waits for the user again.
export async function settle(page) {
  await page.waitForFunction(() => TarnwickPage.idle(), null, { timeout: 10000 });
}

// The user's actions on a control of the top window, by real clicks and key presses.
export async function click(page, win, id) {
  await inputOf(win, id).click();
  await settle(page);
}

export async function typeInto(page, win, id, text) {
  const box = inputOf(win, id);
  await box.click();
  await page.keyboard.press("Control+A");
  if (text === "") await page.keyboard.press("Delete");
  else await page.keyboard.type(text);
  await settle(page);
}

export async function choose(page, win, id, position) {
  await inputOf(win, id).selectOption({ index: position });
  await settle(page);
}

export async function press(page, key) {
  await page.keyboard.press(key);
  await settle(page);
}

// What a control shows.
export async function valueOf(win, id) {
  return inputOf(win, id).inputValue();
}
export async function selectedText(win, id) {
  return inputOf(win, id).evaluate((list) => list.options[list.selectedIndex]?.value ?? null);
}
export async function optionCount(win, id) {
  return inputOf(win, id).evaluate((list) => list.options.length);
}
export async function isChecked(win, id) {
  return inputOf(win, id).isChecked();
}
export async function isEnabled(win, id) {
  return inputOf(win, id).isEnabled();
}
export async function captionOf(win) {
  return win.locator(".titlebar .caption").textContent();
}

// A PNG as the browser's screenshots write it (8 bits per channel, RGB or RGBA, not interlaced),
// as rows of RGB bytes.
export function decodePng(png) {
  let offset = 8;
  let width = 0;
  let height = 0;
  let channels = 0;
  const data = [];
  while (offset < png.length) {
    const length = png.readUInt32BE(offset);
    const type = png.toString("latin1", offset + 4, offset + 8);
    const body = png.subarray(offset + 8, offset + 8 + length);
    if (type === "IHDR") {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0 || (body[9] !== 2 && body[9] !== 6)) {
        throw new Error("only 8-bit RGB or RGBA PNGs without interlacing are read");
      }
      channels = body[9] === 6 ? 4 : 3;
    } else if (type === "IDAT") {
      data.push(body);
    }
    offset += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y += 1) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const out = rows.subarray(y * stride, (y + 1) * stride);
    const above = y > 0 ? rows.subarray((y - 1) * stride, y * stride) : Buffer.alloc(stride);
    for (let x = 0; x < stride; x += 1) {
      const left = x >= channels ? out[x - channels] : 0;
      const up = above[x];
      const corner = x >= channels ? above[x - channels] : 0;
      let value = line[x];
      if (filter === 1) value += left;
      else if (filter === 2) value += up;
      else if (filter === 3) value += (left + up) >> 1;
      else if (filter === 4) {
        const p = left + up - corner;
        const pa = Math.abs(p - left);
        const pb = Math.abs(p - up);
        const pc = Math.abs(p - corner);
        value += pa <= pb && pa <= pc ? left : pb <= pc ? up : corner;
      }
      out[x] = value & 0xff;
    }
  }
  const rgb = Buffer.alloc(width * height * 3);
  for (let i = 0, j = 0; i < rows.length; i += channels, j += 3) {
    rgb[j] = rows[i];
    rgb[j + 1] = rows[i + 1];
    rgb[j + 2] = rows[i + 2];
  }
  return { width, height, rgb };
}

// A part ([x, y, width, height]) of a decoded picture as a binary PPM file.
export function writePpm(path, picture, [x, y, width, height]) {
  const header = Buffer.from(`P6\n${width} ${height}\n255\n`, "latin1");
  const body = Buffer.alloc(width * height * 3);
  for (let row = 0; row < height; row += 1) {
    const start = ((y + row) * picture.width + x) * 3;
    picture.rgb.copy(body, row * width * 3, start, start + width * 3);
  }
  writeFileSync(path, Buffer.concat([header, body]));
}
