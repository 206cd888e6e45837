// Files in the page: Load is the browser's file picker, Save a download named "menu.cfg". A
// whole job done by clicks in the page writes the same bytes as the same job replayed by the
// headless backend (tarnwick-cfg ui SCRIPT, the Linux build).
import { after, before, beforeEach, describe, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { answerMessage, choose, click, launchBrowser, mainWindow, openSite, selectedText,
         serveFolder, settle, siteDir, sourceDir, typeInto, valueOf,
         windowOf } from "./harness.mjs";

const tarnwickCfg = process.env.TARNWICK_CFG ?? join(sourceDir, "build/dev/cli/tarnwick-cfg");

// Replays a UI script on the headless backend in a scratch folder; returns the folder.
function replay(folder, script) {
  writeFileSync(join(folder, "job.ui"), script);
  execFileSync(tarnwickCfg, ["ui", "job.ui"], { cwd: folder, stdio: "pipe" });
  return folder;
}

// Without TARNWICK_CFG the comparison is skipped when no dev build is there; scripts/web.sh
// always sets it, so in CI a missing program fails the tests instead.
const skip = process.env.TARNWICK_CFG || existsSync(tarnwickCfg) ? false
  : `needs ${tarnwickCfg} (cmake --build --preset dev --target tarnwick-cfg)`;

describe("files", { skip }, () => {
  let server, browser, page, problems, scratch;
  before(async () => {
    server = await serveFolder(siteDir);
    browser = await launchBrowser();
    scratch = mkdtempSync(join(tmpdir(), "tarnwick-web-files-"));
  });
  beforeEach(async () => {
    await page?.close();
    ({ page, problems } = await openSite(browser.context, server.url));
    await settle(page);
  });
  after(async () => {
    assert.deepEqual(problems, []);
    await browser?.close();
    await server?.close();
    rmSync(scratch, { recursive: true, force: true });
  });

  async function load(path) {
    const chooser = page.waitForEvent("filechooser");
    await mainWindow(page).locator('[data-id="1116"]').click();
    await (await chooser).setFiles(path);
  }

  async function save() {
    const download = page.waitForEvent("download");
    await mainWindow(page).locator('[data-id="1117"]').click();
    const file = await download;
    const path = join(scratch, `download-${Date.now()}.cfg`);
    await file.saveAs(path);
    assert.equal(await answerMessage(page), "Save Config File OK!");
    return { name: file.suggestedFilename(), bytes: readFileSync(path) };
  }

  test("Load of a prepared file shows its settings; a short file is refused", async () => {
    replay(scratch, `expect-dialog 102
select 1000 1
select 1015 6
type 1035 "20"
click 1117
save-file "prepared.cfg"
message "Save Config File OK!"
key esc
`);
    await load(join(scratch, "prepared.cfg"));
    await settle(page);
    const main = mainWindow(page);
    assert.equal(await selectedText(main, 1000), "Video");
    assert.equal(await valueOf(main, 1035), "20");
    assert.equal(await main.locator('select[data-id="1015"]').evaluate((l) => l.selectedIndex), 6);

    writeFileSync(join(scratch, "short.cfg"), Buffer.alloc(100, 7));
    await load(join(scratch, "short.cfg"));
    assert.equal(await answerMessage(page), "File Size Error!");
    assert.equal(await selectedText(main, 1000), "Video");
  });

  test("a whole job by clicks saves the bytes the headless replay of the same job writes", async () => {
    const main = mainWindow(page);
    await choose(page, main, 1000, 2);
    await choose(page, main, 1160, 11);
    await typeInto(page, main, 1040, "5");
    await choose(page, main, 1020, 1);
    await click(page, main, 1103);
    const password = windowOf(page, 131);
    await typeInto(page, password, 1064, "2468");
    await click(page, password, 1);
    await click(page, main, 1109);
    const orgName = windowOf(page, 134);
    await typeInto(page, orgName, 1079, "HILLSIDE");
    await click(page, orgName, 1);
    await click(page, main, 1031);
    const net = windowOf(page, 135);
    await choose(page, net, 1122, 0);
    await choose(page, net, 1124, 4);
    await choose(page, net, 1126, 0);
    await click(page, net, 1152);
    const prompt = windowOf(page, 137);
    await typeInto(page, prompt, 1154, "vintosk[4082736]");
    await click(page, prompt, 1);
    await click(page, net, 1);
    await net.waitFor({ state: "detached" });
    const saved = await save();
    assert.equal(saved.name, "menu.cfg");
    assert.equal(saved.bytes.length, 1792);

    const folder = mkdtempSync(join(scratch, "replay-"));
    replay(folder, `expect-dialog 102
select 1000 2
select 1160 11
type 1040 "5"
select 1020 1
click 1103
expect-dialog 131
type 1064 "2468"
click 1
click 1109
expect-dialog 134
type 1079 "HILLSIDE"
click 1
click 1031
expect-dialog 135
select 1122 0
select 1124 4
select 1126 0
click 1152
expect-dialog 137
type 1154 "vintosk[4082736]"
click 1
expect-dialog 135
click 1
expect-dialog 102
click 1117
save-file "menu.cfg"
message "Save Config File OK!"
key esc
`);
    const expected = readFileSync(join(folder, "menu.cfg"));
    assert.ok(saved.bytes.equals(expected), "the page's download differs from the headless file");

    // Loading the download and saving again gives the same bytes back.
    writeFileSync(join(scratch, "menu-copy.cfg"), saved.bytes);
    await load(join(scratch, "menu-copy.cfg"));
    await settle(page);
    const again = await save();
    assert.ok(again.bytes.equals(expected), "a loaded file saved again differs");
  });
});
