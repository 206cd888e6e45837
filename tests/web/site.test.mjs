// The static site: served over HTTP with the MIME types a browser needs, and the single-file
// variant opened straight from disk, where a separate .wasm could not be fetched.
import { after, before, describe, test } from "node:test";
import assert from "node:assert/strict";
import { existsSync } from "node:fs";
import { join } from "node:path";
import { pathToFileURL } from "node:url";
import { launchBrowser, mainWindow, serveFolder, settle, singleFileSiteDir, siteDir,
         windowOf } from "./harness.mjs";

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
    for (const name of ["index.html", "page.js", "style.css", "tarnwick.js", "tarnwick.wasm"]) {
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

  test("the single-file variant works opened from file://", async () => {
    assert.ok(!existsSync(join(singleFileSiteDir, "tarnwick.wasm")), "no separate .wasm");
    const page = await browser.context.newPage();
    const problems = [];
    page.on("pageerror", (error) => problems.push(error.message));
    page.on("request", (request) => {
      if (!request.url().startsWith("file:") && !request.url().startsWith("data:")) {
        problems.push(`request: ${request.url()}`);
      }
    });
    await page.goto(pathToFileURL(join(singleFileSiteDir, "index.html")).href);
    await mainWindow(page).waitFor();
    await settle(page);
    // The program answers there as it does over HTTP: a switch opens its dialog.
    await mainWindow(page).locator('[data-id="1105"]').click();
    await windowOf(page, 132).waitFor();
    await page.keyboard.press("Escape");
    await windowOf(page, 132).waitFor({ state: "detached" });
    assert.deepEqual(problems, []);
    await page.close();
  });
});
