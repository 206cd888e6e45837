// The MMS / 4G Setup window in Auto mode: a country and its operator chosen by the user, the
// parameters masked until the access prompt takes its code, OK back to the main window.
import { after, before, describe, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { existsSync, mkdirSync, mkdtempSync, rmSync, truncateSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { answerMessage, captionOf, choose, click, inputOf, isChecked, isEnabled, launchBrowser,
         mainWindow, noteReads, openSite, optionCount, screenshotDir, selectedText, serveFolder,
         settle, siteDir, sizesRead, sourceDir, typeInto, valueOf, windowOf } from "./harness.mjs";

const tarnwickCfg = process.env.TARNWICK_CFG ?? join(sourceDir, "build/dev/cli/tarnwick-cfg");

describe("network window", () => {
  let server, browser, page, problems;
  before(async () => {
    server = await serveFolder(siteDir);
    browser = await launchBrowser();
    ({ page, problems } = await openSite(browser.context, server.url));
    await settle(page);
  });
  after(async () => {
    await browser?.close();
    await server?.close();
  });

  test("Auto mode with a country, its operator and the access prompt", async () => {
    await click(page, mainWindow(page), 1031);
    const net = windowOf(page, 135);
    await net.waitFor();
    assert.equal(await captionOf(net), "MMS / 4G Setup");
    await choose(page, net, 1122, 0);
    assert.equal(await selectedText(net, 1122), "Auto");
    await choose(page, net, 1124, 4);
    assert.equal(await selectedText(net, 1124), "Brazil");
    // The operator list follows the country.
    assert.equal(await selectedText(net, 1126), "TIM");
    await choose(page, net, 1126, 0);
    // The operator's parameters stay masked and locked until the access prompt is answered.
    assert.equal(await valueOf(net, 1081), "*****");
    assert.equal(await isEnabled(net, 1081), false);

    await click(page, net, 1152);
    const prompt = windowOf(page, 137);
    await prompt.waitFor();
    assert.equal(await inputOf(prompt, 1154).getAttribute("type"), "password");
    await typeInto(page, prompt, 1154, "guess");
    await click(page, prompt, 1);
    // The message box stands above both windows; a wrong code then closes the prompt and
    // leaves the parameters hidden.
    assert.equal(await page.locator(".layer").count(), 4);
    assert.equal(await answerMessage(page), "Wrong Password!");
    await prompt.waitFor({ state: "detached" });
    assert.equal(await isChecked(net, 1152), false);
    assert.equal(await valueOf(net, 1081), "*****");

    await click(page, net, 1152);
    await prompt.waitFor();
    await typeInto(page, prompt, 1154, "vintosk[4082736]");
    await click(page, prompt, 1);
    await prompt.waitFor({ state: "detached" });
    assert.equal(await isChecked(net, 1152), true);
    assert.notEqual(await valueOf(net, 1081), "*****");
    assert.notEqual(await valueOf(net, 1081), "");

    mkdirSync(screenshotDir, { recursive: true });
    await net.locator(".window").screenshot({ path: join(screenshotDir, "web-mms-4g-setup.png") });
    await click(page, net, 1);
    await net.waitFor({ state: "detached" });
    assert.deepEqual(problems, []);
  });

  // The page's operator table picker: the network window reads the picked oper.db each time it
  // opens (the tables are written by the Linux build's tarnwick-cfg). The page says at once
  // whether the window can use a picked file, and reads no more of it than the reader's limit.
  test("a picked operator table is read each time the window opens, or said to be unusable", {
    skip: process.env.TARNWICK_CFG || existsSync(tarnwickCfg) ? false : `needs ${tarnwickCfg}`,
  }, async () => {
    await page.close();
    ({ page, problems } = await openSite(browser.context, server.url));
    await settle(page);
    const scratch = mkdtempSync(join(tmpdir(), "tarnwick-web-operdb-"));
    try {
      const table = (country, operator, apn) => {
        const json = join(scratch, `${country}.json`);
        writeFileSync(json, JSON.stringify({ countries: [{ name: country, operators: [
          { name: operator, mmsApn: apn, dataApn: "net", mmscUrl: "mms.example/mms",
            mmsProxy: "10.0.0.1", mmsPort: "8080" }] }] }));
        const db = join(scratch, `${country}.db`);
        execFileSync(tarnwickCfg, ["oper-db", "build", json, "-o", db], { stdio: "pipe" });
        return db;
      };
      const openNetwork = async () => {
        await click(page, mainWindow(page), 1031);
        const net = windowOf(page, 135);
        await net.waitFor();
        await settle(page);
        return net;
      };
      assert.match(await page.locator(".operator-table").textContent(), /reads it each time it opens/);
      await page.locator("#oper-table").setInputFiles(table("Freedonia", "FreeTel", "mms.freetel"));
      let net = await openNetwork();
      assert.equal(await optionCount(net, 1124), 1);
      assert.equal(await selectedText(net, 1124), "Freedonia");
      assert.equal(await selectedText(net, 1126), "FreeTel");
      await click(page, net, 2);
      await net.waitFor({ state: "detached" });

      await page.locator("#oper-table").setInputFiles(table("Sylvania", "SylNet", "mms.syl"));
      net = await openNetwork();
      assert.equal(await selectedText(net, 1124), "Sylvania");
      assert.equal(await selectedText(net, 1126), "SylNet");
      await click(page, net, 2);
      await net.waitFor({ state: "detached" });
      const note = page.locator("#oper-table-note");
      assert.equal(await note.textContent(),
                   "The MMS / 4G Setup window uses Sylvania.db: 1 country.");

      await noteReads(page);
      const junk = join(scratch, "photo.jpg");
      writeFileSync(junk, Buffer.alloc(4000, 0x20));
      await page.locator("#oper-table").setInputFiles(junk);
      await settle(page);
      assert.equal(await note.textContent(), "photo.jpg cannot be used: not an operator database " +
        "(no file mark, or no countries). The MMS / 4G Setup window uses the built-in table.");
      net = await openNetwork();
      assert.equal(await optionCount(net, 1124), 55);
      await click(page, net, 2);
      await net.waitFor({ state: "detached" });
      // Above the reader's 16 MiB: not read at all (a sparse file, no room taken on the disk).
      const huge = join(scratch, "huge.db");
      writeFileSync(huge, "");
      truncateSync(huge, 17 * 1024 * 1024);
      await page.locator("#oper-table").setInputFiles(huge);
      await settle(page);
      assert.equal(await note.textContent(), "huge.db cannot be used: too large to be an operator " +
        "database. The MMS / 4G Setup window uses the built-in table.");
      assert.deepEqual(await sizesRead(page), [4000]);
      assert.deepEqual(problems, []);
    } finally {
      rmSync(scratch, { recursive: true, force: true });
    }
  });
});
