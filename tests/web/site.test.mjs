// The static site: served over HTTP with the MIME types a browser needs, installable, working
// offline once loaded and taking a rebuilt site from the next load; and the single-file variant
// opened straight from disk, where a separate .wasm could not be fetched.
import { after, before, describe, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { appendFileSync, cpSync, existsSync, mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";
import { launchBrowser, mainWindow, openSite, serveFolder, settle, singleFileSiteDir, siteDir,
         sourceDir, windowOf } from "./harness.mjs";

// The main window is there and the program answers: a switch opens its dialog, Escape closes it.
async function programAnswers(page) {
  await mainWindow(page).waitFor();
  await settle(page);
  await mainWindow(page).locator('[data-id="1105"]').click();
  await windowOf(page, 132).waitFor();
  await page.keyboard.press("Escape");
  await windowOf(page, 132).waitFor({ state: "detached" });
}

describe("static site", () => {
  let server, browser;
  before(async () => {
    server = await serveFolder(siteDir);
    browser = await launchBrowser();
  });
  after(async () => {
    await browser?.close();
    await server?.close();
  });

  test("the site is index.html, one .js and one .wasm, served with their MIME types", async () => {
    for (const name of ["index.html", "page.js", "style.css", "tarnwick.js", "tarnwick.wasm",
                        "manifest.webmanifest", "sw.js", "icon-192.png", "icon-512.png",
                        "icon-maskable-512.png"]) {
      assert.ok(existsSync(join(siteDir, name)), `${name} in the site folder`);
    }
    const types = {};
    for (const name of ["", "tarnwick.js", "tarnwick.wasm", "style.css"]) {
      const response = await fetch(server.url + name);
      assert.equal(response.status, 200, name);
      types[name] = response.headers.get("content-type");
    }
    assert.match(types[""], /^text\/html/);
    assert.match(types["tarnwick.js"], /^text\/javascript/);
    assert.equal(types["tarnwick.wasm"], "application/wasm");
    assert.equal((await fetch(server.url + "../../CMakeLists.txt")).status, 404);
  });

  test("Chromium finds the site installable, with the manifest's name, icons and colours", async () => {
    const { page, problems } = await openSite(browser.context, server.url);
    const cdp = await browser.context.newCDPSession(page);
    const manifest = await cdp.send("Page.getAppManifest");
    assert.deepEqual(manifest.errors, []);
    const data = JSON.parse(manifest.data);
    assert.equal(data.name, "Tarnwick");
    assert.equal(data.display, "standalone");
    assert.equal(data.start_url, "./");
    assert.deepEqual(data.icons.filter((icon) => icon.type === "image/png")
                       .map((icon) => `${icon.sizes} ${icon.purpose}`),
                     ["192x192 any", "512x512 any", "512x512 maskable"]);
    const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
    assert.deepEqual(installabilityErrors, []);
    assert.deepEqual(problems, []);
    await page.close();
  });

  // A copy of the site, so that the test can rebuild it: the service worker keeps the site, the
  // page opens offline from it, and a rebuilt site (another digest in the worker) replaces the
  // cache and is used from the next load, which the running page says.
  test("offline reload opens the main window; a rebuilt site replaces the cache", async () => {
    const folder = mkdtempSync(join(tmpdir(), "tarnwick-web-site-"));
    const copy = await serveFolder(folder);
    try {
      cpSync(siteDir, folder, { recursive: true });
      const { page, problems } = await openSite(browser.context, copy.url);
      await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
      const caches = () => page.evaluate(() => caches.keys());
      const [first] = await caches();
      assert.match(first, /^tarnwick http:\/\/127\.0\.0\.1:\d+\/ [0-9a-f]{16}$/);

      await browser.context.setOffline(true);
      const asked = copy.requests();
      await page.reload();
      await programAnswers(page);
      assert.equal(copy.requests(), asked, "nothing reached the server");
      await browser.context.setOffline(false);

      // The rebuild: a changed page file, and the worker stamped again by the build's step.
      appendFileSync(join(folder, "style.css"), "\n/* rebuilt */\n");
      execFileSync("cmake", [`-DSITE=${folder}`, `-DTEMPLATE=${join(sourceDir, "web/sw.js")}`,
                             "-P", join(sourceDir, "web/finish-site.cmake")]);
      await page.reload();
      await mainWindow(page).waitFor();
      await page.locator("#update-note").filter({ hasText: /new version/ }).waitFor();
      // The new worker removes the old cache once it has taken over.
      await page.waitForFunction(async (old) => {
        const names = await caches.keys();
        return names.length === 1 && names[0] !== old;
      }, first);
      // Still offline-ready, now with the rebuilt files.
      await browser.context.setOffline(true);
      await page.reload();
      await mainWindow(page).waitFor();
      assert.match(await page.evaluate(async () => (await fetch("style.css")).text()), /rebuilt/);
      assert.equal(await page.locator("#update-note").textContent(), "");
      await browser.context.setOffline(false);
      assert.deepEqual(problems, []);
      await page.close();
    } finally {
      await browser.context.setOffline(false);
      await copy.close();
      rmSync(folder, { recursive: true, force: true });
    }
  });

  test("the single-file variant works opened from file://", async () => {
    assert.ok(!existsSync(join(singleFileSiteDir, "tarnwick.wasm")), "no separate .wasm");
    const page = await browser.context.newPage();
    const problems = [];
    page.on("pageerror", (error) => problems.push(error.message));
    page.on("console", (message) => {
      if (message.type() === "error") problems.push(`console: ${message.text()}`);
    });
    page.on("request", (request) => {
      if (!request.url().startsWith("file:") && !request.url().startsWith("data:")) {
        problems.push(`request: ${request.url()}`);
      }
    });
    await page.goto(pathToFileURL(join(singleFileSiteDir, "index.html")).href);
    // The program answers there as it does over HTTP.
    await programAnswers(page);
    assert.deepEqual(problems, []);
    await page.close();
  });
});
