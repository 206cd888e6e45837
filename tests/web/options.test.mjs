// Every option dialog behind the main window's switches and its Timer button: each opens from
// its switch, refuses one wrong value with the program's message, and takes a right one.
import { after, before, beforeEach, describe, test } from "node:test";
import assert from "node:assert/strict";
import { answerMessage, captionOf, click, control, inputOf, isChecked, launchBrowser, mainWindow,
         openSite, press, serveFolder, settle, siteDir, typeInto, valueOf,
         windowOf } from "./harness.mjs";

describe("option dialogs", () => {
  let server, browser, page, problems;
  before(async () => {
    server = await serveFolder(siteDir);
    browser = await launchBrowser();
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
  });

  // Clicks a switch's On radio and returns the dialog it opens.
  async function openFromSwitch(onId, templateId, caption) {
    await click(page, mainWindow(page), onId);
    const dialog = windowOf(page, templateId);
    await dialog.waitFor();
    assert.equal(await captionOf(dialog), caption);
    // The main window below takes no input while the dialog is open.
    assert.equal(await mainWindow(page).evaluate((layer) => layer.inert), true);
    return dialog;
  }

  async function expectClosedWithSwitch(dialog, onId, offId, on) {
    await dialog.waitFor({ state: "detached" });
    assert.equal(await isChecked(mainWindow(page), onId), on);
    assert.equal(await isChecked(mainWindow(page), offId), !on);
  }

  test("Password: masked, refuses a null code, keeps four digits, OK turns the switch on", async () => {
    const dialog = await openFromSwitch(1103, 131, "Password Setting");
    assert.equal(await inputOf(dialog, 1064).getAttribute("type"), "password");
    assert.equal(await valueOf(dialog, 1064), "0000");
    await click(page, dialog, 1);
    assert.equal(await answerMessage(page), "Null password!");
    await typeInto(page, dialog, 1064, "12345");
    assert.equal(await valueOf(dialog, 1064), "1234");
    // The Show check box shows the code in clear.
    await click(page, dialog, 1151);
    assert.equal(await inputOf(dialog, 1064).getAttribute("type"), "text");
    await click(page, dialog, 1151);
    assert.equal(await inputOf(dialog, 1064).getAttribute("type"), "password");
    await inputOf(dialog, 1064).focus();
    await press(page, "Enter");
    await expectClosedWithSwitch(dialog, 1103, 1104, true);
  });

  test("Serial number: refuses a negative number; Escape turns the switch off", async () => {
    const dialog = await openFromSwitch(1105, 132, "Serial Number Setting");
    await typeInto(page, dialog, 1069, "-12");
    await click(page, dialog, 1);
    assert.equal(await answerMessage(page), "Invalid serial number!");
    await press(page, "Escape");
    await expectClosedWithSwitch(dialog, 1105, 1106, false);
  });

  test("Time-lapse: refuses an hour past 23, then takes 0:00:01", async () => {
    const dialog = await openFromSwitch(1107, 133, "Time-lapse Setting");
    await typeInto(page, dialog, 1073, "24");
    await typeInto(page, dialog, 1074, "0");
    await typeInto(page, dialog, 1075, "0");
    await click(page, dialog, 1);
    assert.equal(await answerMessage(page), "Illegal time!");
    await typeInto(page, dialog, 1073, "0");
    await typeInto(page, dialog, 1075, "1");
    await click(page, dialog, 1);
    await expectClosedWithSwitch(dialog, 1107, 1108, true);
  });

  test("Organization name: refuses an empty name, cuts typing at eight characters", async () => {
    const dialog = await openFromSwitch(1109, 134, "Organization Name Setting");
    await click(page, dialog, 1);
    assert.equal(await answerMessage(page), "Empty name!");
    await typeInto(page, dialog, 1079, "ABCDEFGHIJ");
    assert.equal(await valueOf(dialog, 1079), "ABCDEFGH");
    await click(page, dialog, 1);
    await expectClosedWithSwitch(dialog, 1109, 1110, true);
  });

  test("SMS control: refuses an interval under ten minutes; the close box turns the switch off", async () => {
    const dialog = await openFromSwitch(1111, 138, "SMS Control Setting");
    assert.equal(await valueOf(dialog, 1158), "10");
    await typeInto(page, dialog, 1158, "9");
    await click(page, dialog, 1);
    assert.equal(await answerMessage(page), "Interval must be 10 mins at least!");
    await dialog.locator(".close-box").click();
    await expectClosedWithSwitch(dialog, 1111, 1112, false);
  });

  test("Timer: hidden controls stay hidden, a timer whose start is its stop is refused", async () => {
    await click(page, mainWindow(page), 1026);
    const dialog = windowOf(page, 130);
    await dialog.waitFor();
    assert.equal(await captionOf(dialog), "Timer Setting");
    for (const id of [1129, 1133, 1069, 1073]) {
      assert.equal(await control(dialog, id).isVisible(), false, `control ${id} hidden`);
    }
    assert.equal(await control(dialog, 1128).isVisible(), true);
    await click(page, dialog, 1131);
    await typeInto(page, dialog, 1058, "8");
    await typeInto(page, dialog, 1061, "18");
    await click(page, dialog, 1132);
    await typeInto(page, dialog, 1063, "9");
    await typeInto(page, dialog, 1066, "9");
    await click(page, dialog, 1);
    assert.equal(await answerMessage(page), "Invalid timer!");
    await click(page, dialog, 2);
    await dialog.waitFor({ state: "detached" });
  });
});
