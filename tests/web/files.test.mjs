// Files in the page. Without the browser's file-system pickers Load is a file input and Save a
// download named "menu.cfg"; with them Save writes onto the loaded or picked file and reads it
// back. A whole job done by clicks in the page writes the same bytes as the same job replayed
// by the headless backend (tarnwick-cfg ui SCRIPT, the Linux build).
import { after, before, beforeEach, describe, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { closeSync, existsSync, ftruncateSync, mkdtempSync, openSync, readFileSync, rmSync,
         writeFileSync, writeSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { answerMessage, choose, click, inputOf, launchBrowser, mainWindow, noteReads, openSite,
         phone, selectedText, serveFolder, settle, siteDir, sizesRead, sourceDir, typeInto,
         valueOf, windowOf, withoutFilePickers } from "./harness.mjs";

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

// The server, the browser (`browserOptions`: launchBrowser's) and a scratch folder for the tests
// of one describe block; `open()` opens the site in a fresh page.
function setUp(initScript, browserOptions = {}) {
  const site = {};
  before(async () => {
    site.server = await serveFolder(siteDir);
    site.browser = await launchBrowser(browserOptions);
    site.scratch = mkdtempSync(join(tmpdir(), "tarnwick-web-files-"));
  });
  site.open = async () => {
    if (site.page) {
      assert.deepEqual(site.problems, []);
      await site.page.close();
    }
    ({ page: site.page, problems: site.problems } =
      await openSite(site.browser.context, site.server.url, initScript));
    await settle(site.page);
    return site.page;
  };
  after(async () => {
    assert.deepEqual(site.problems, []);
    await site.browser?.close();
    await site.server?.close();
    rmSync(site.scratch, { recursive: true, force: true });
  });
  return site;
}

// A person's hand on the page: a mouse's clicks, or a finger's taps on a phone's touch screen
// (a list is tapped, then the entry chosen in the phone's own picker; the soft keyboard hands
// the box its whole text).
const mouse = { click, choose, typeInto, answer: "click" };
const finger = {
  click: async (page, win, id) => {
    await inputOf(win, id).tap();
    await settle(page);
  },
  choose: async (page, win, id, position) => {
    await inputOf(win, id).tap();
    await settle(page);
    await inputOf(win, id).selectOption({ index: position });
    await settle(page);
  },
  typeInto: async (page, win, id, text) => {
    await inputOf(win, id).tap();
    await settle(page);
    await inputOf(win, id).fill(text);
    await settle(page);
  },
  answer: "tap",
  // On a phone every window fits the screen's width: nothing to pan sideways to.
  opened: async (page) => {
    const wider = await page.evaluate(() => [document.documentElement,
      ...document.querySelectorAll(".layer")].filter((e) => e.scrollWidth > e.clientWidth).length);
    assert.equal(wider, 0, "a window is wider than the phone's screen");
  },
};

// One job through the main window and four dialogs, then Save, by `hand`; `save(hand)` saves.
// wholeJobScript is the same job for the headless replay.
async function wholeJob(page, hand, save) {
  const main = mainWindow(page);
  await hand.opened?.(page);
  await hand.choose(page, main, 1000, 2);
  await hand.choose(page, main, 1160, 11);
  await hand.typeInto(page, main, 1040, "5");
  await hand.choose(page, main, 1020, 1);
  await hand.click(page, main, 1103);
  const password = windowOf(page, 131);
  await hand.typeInto(page, password, 1064, "2468");
  await hand.click(page, password, 1);
  await hand.click(page, main, 1109);
  const orgName = windowOf(page, 134);
  await hand.typeInto(page, orgName, 1079, "HILLSIDE");
  await hand.click(page, orgName, 1);
  await hand.click(page, main, 1031);
  const net = windowOf(page, 135);
  await hand.opened?.(page);
  await hand.choose(page, net, 1122, 0);
  await hand.choose(page, net, 1124, 4);
  await hand.choose(page, net, 1126, 0);
  await hand.click(page, net, 1152);
  const prompt = windowOf(page, 137);
  await hand.typeInto(page, prompt, 1154, "vintosk[4082736]");
  await hand.click(page, prompt, 1);
  await hand.click(page, net, 1);
  await net.waitFor({ state: "detached" });
  const saved = await save(hand);
  assert.equal(saved.name, "menu.cfg");
  assert.equal(saved.bytes.length, 1792);
  return saved;
}

const wholeJobScript = `expect-dialog 102
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
`;

// Save without the pickers: a download, named menu.cfg, and the page's line about where it went.
async function download(page, folder, hand = mouse) {
  const file = page.waitForEvent("download");
  await inputOf(mainWindow(page), 1117)[hand.answer]();
  const saved = await file;
  const path = join(folder, `download-${Date.now()}.cfg`);
  await saved.saveAs(path);
  assert.equal(await answerMessage(page, "OK", hand.answer), "Save Config File OK!");
  assert.match(await page.locator("#file-note").textContent(),
               /^menu\.cfg went to your browser's downloads.*root folder of the camera's memory card/);
  return { name: saved.suggestedFilename(), bytes: readFileSync(path) };
}

describe("files without the file-system pickers", { skip }, () => {
  const site = setUp(withoutFilePickers);
  let page, scratch;
  beforeEach(async () => {
    page = await site.open();
    scratch = site.scratch;
  });

  async function load(path) {
    const chooser = page.waitForEvent("filechooser");
    await mainWindow(page).locator('[data-id="1116"]').click();
    await (await chooser).setFiles(path);
  }

  const save = () => download(page, scratch);

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
    const saved = await wholeJob(page, mouse, save);
    const expected = readFileSync(join(replay(mkdtempSync(join(scratch, "replay-")), wholeJobScript),
                                       "menu.cfg"));
    assert.ok(saved.bytes.equals(expected), "the page's download differs from the headless file");

    // Loading the download and saving again gives the same bytes back.
    writeFileSync(join(scratch, "menu-copy.cfg"), saved.bytes);
    await load(join(scratch, "menu-copy.cfg"));
    await settle(page);
    const again = await save();
    assert.ok(again.bytes.equals(expected), "a loaded file saved again differs");
  });

  // A file far larger than a settings file (more than 4 GiB, which no browser reads whole) loads
  // from its first 1792 bytes; a file the browser refuses is one that cannot be opened, and the
  // page goes on.
  test("Load reads only the bytes it needs, and a refused file is No Config File!", async () => {
    replay(scratch, `expect-dialog 102
select 1000 1
click 1117
save-file "start.cfg"
message "Save Config File OK!"
key esc
`);
    const huge = join(scratch, "huge.cfg");
    const fd = openSync(huge, "w");
    writeSync(fd, readFileSync(join(scratch, "start.cfg")));
    ftruncateSync(fd, 5 * 1024 ** 3);  // sparse: it takes no room on the disk
    closeSync(fd);
    await noteReads(page);
    await load(huge);
    await settle(page);
    const main = mainWindow(page);
    assert.equal(await selectedText(main, 1000), "Video");
    assert.deepEqual(await sizesRead(page), [1792]);

    await page.evaluate(() => {
      Blob.prototype.arrayBuffer = () => Promise.reject(
        new DOMException("The requested file could not be read", "NotReadableError"));
    });
    await load(join(scratch, "start.cfg"));
    assert.equal(await answerMessage(page), "No Config File!");
    // The window still answers: Default Config asks its question.
    await click(page, main, 1013);
    assert.equal(await answerMessage(page, "No"), "Restore default config,are you sure?");
    assert.equal(await selectedText(main, 1000), "Video");
  });
});

// Chromium's file-system pickers, answered by the test in the page: files of the origin's
// private file system stand for the card's files (real FileSystemFileHandle objects), and a
// handle that returns other bytes than it took stands for a failing card.
function stubPickers() {
  window.pickerCalls = [];
  window.nextPicks = [];
  const answer = async (kind, options) => {
    window.pickerCalls.push({ kind, options });
    const next = window.nextPicks.shift();
    if (!next) throw new DOMException("The user aborted a request.", "AbortError");
    return next;
  };
  window.showOpenFilePicker = async (options) => [await answer("open", options)];
  window.showSaveFilePicker = (options) => answer("save", options);
  window.cardFile = async (name) =>
    (await navigator.storage.getDirectory()).getFileHandle(name, { create: true });
}

// On a phone each window stands in one column; the same job by taps writes the same bytes.
describe("files on a phone (360 x 800, touch)", { skip }, () => {
  const site = setUp(withoutFilePickers, phone(360, 800));

  test("a whole job by taps saves the bytes the headless replay of the same job writes", async () => {
    const page = await site.open();
    const saved = await wholeJob(page, finger, (hand) => download(page, site.scratch, hand));
    const expected = readFileSync(join(replay(mkdtempSync(join(site.scratch, "replay-")),
                                              wholeJobScript), "menu.cfg"));
    assert.ok(saved.bytes.equals(expected), "the phone's download differs from the headless file");
  });
});

describe("files with the file-system pickers", { skip }, () => {
  const site = setUp(stubPickers);
  let page, scratch;
  before(async () => {
    page = await site.open();
    scratch = site.scratch;
  });

  const writeCard = (name, bytes) => page.evaluate(async ([name, bytes]) => {
    const writable = await (await window.cardFile(name)).createWritable();
    await writable.write(new Uint8Array(bytes));
    await writable.close();
  }, [name, [...bytes]]);
  const readCard = async (name) => Buffer.from(await page.evaluate(async (name) => {
    const file = await (await window.cardFile(name)).getFile();
    return [...new Uint8Array(await file.arrayBuffer())];
  }, name));
  const nextPick = (name) => page.evaluate(async (name) => {
    window.nextPicks.push(await window.cardFile(name));
  }, name);
  const takeCalls = () => page.evaluate(() => window.pickerCalls.splice(0));
  const clickMain = async (id) => {
    await mainWindow(page).locator(`[data-id="${id}"]`).click();
    await settle(page);
  };

  test("Save asks where, proposing menu.cfg for .cfg files, writes there and reads it back", async () => {
    await clickMain(1117);  // cancelled: nothing written, nothing said
    assert.equal(await page.locator(".layer.message").count(), 0);
    const [cancelled] = await takeCalls();
    assert.equal(cancelled.kind, "save");
    assert.equal(cancelled.options.suggestedName, "menu.cfg");
    assert.equal(cancelled.options.excludeAcceptAllOption, false);
    assert.deepEqual(cancelled.options.types, [
      { description: "Config file(*.cfg)", accept: { "application/octet-stream": [".cfg"] } }]);

    await nextPick("card-a.cfg");
    await clickMain(1117);
    assert.equal(await answerMessage(page), "Save Config File OK!");
    const folder = mkdtempSync(join(scratch, "replay-"));
    replay(folder, `expect-dialog 102
click 1117
save-file "menu.cfg"
message "Save Config File OK!"
key esc
`);
    assert.ok((await readCard("card-a.cfg")).equals(readFileSync(join(folder, "menu.cfg"))));
    assert.equal(await page.locator("#file-note").textContent(), "");
  });

  test("Load keeps the file and Save writes back onto it; a card that returns other bytes fails", async () => {
    // A longer file, as a card may hold: Save leaves exactly the record.
    const folder = mkdtempSync(join(scratch, "replay-"));
    replay(folder, `expect-dialog 102
select 1000 1
click 1117
save-file "start.cfg"
message "Save Config File OK!"
key esc
`);
    await writeCard("card-b.cfg", Buffer.concat([readFileSync(join(folder, "start.cfg")),
                                                 Buffer.alloc(3000, 0x5a)]));
    await nextPick("card-b.cfg");
    await clickMain(1116);
    const main = mainWindow(page);
    assert.equal(await selectedText(main, 1000), "Video");
    const [open] = await takeCalls();
    assert.deepEqual(open.options.types[0].accept, { "application/octet-stream": [".cfg"] });
    await choose(page, main, 1021, 0);
    await clickMain(1117);
    assert.equal(await answerMessage(page), "Save Config File OK!");
    assert.deepEqual(await takeCalls(), []);  // no picker: the loaded file is the target
    replay(folder, `expect-dialog 102
click 1116
open-file "start.cfg"
select 1021 0
click 1117
save-file "menu.cfg"
message "Save Config File OK!"
key esc
`);
    assert.ok((await readCard("card-b.cfg")).equals(readFileSync(join(folder, "menu.cfg"))));

    // The same file on a card that hands back one bit changed.
    await page.evaluate(async () => {
      const real = await window.cardFile("card-b.cfg");
      window.nextPicks.push({
        kind: "file", name: real.name,
        queryPermission: async () => "granted", requestPermission: async () => "granted",
        createWritable: () => real.createWritable(),
        getFile: async () => {
          const bytes = new Uint8Array(await (await real.getFile()).arrayBuffer());
          bytes[0x100] ^= 0x04;
          return new File([bytes], real.name);
        },
      });
    });
    await clickMain(1116);
    await clickMain(1117);
    assert.equal(await answerMessage(page), "Cannot save card-b.cfg: the card returned different " +
                                            "bytes: it may be failing or counterfeit");
    assert.equal(await page.locator(".layer.message").count(), 0);  // no "OK" after it
    await takeCalls();

    // A loaded file the user does not let the page write: Save asks where instead.
    await page.evaluate(async () => {
      const real = await window.cardFile("card-b.cfg");
      window.nextPicks.push({
        kind: "file", name: real.name, getFile: () => real.getFile(),
        queryPermission: async () => "prompt", requestPermission: async () => "denied",
      });
    });
    await clickMain(1116);
    await nextPick("card-c.cfg");
    await clickMain(1117);
    assert.equal(await answerMessage(page), "Save Config File OK!");
    const calls = await takeCalls();
    assert.deepEqual(calls.map((call) => call.kind), ["open", "save"]);
    assert.equal(calls[1].options.startIn.name, "card-b.cfg");  // in the loaded file's folder
    assert.equal((await readCard("card-c.cfg")).length, 1792);
  });
});
