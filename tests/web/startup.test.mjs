// The page opens on the main window with the factory defaults; its window menu reaches the
// About box; the window can be closed; nothing is fetched from outside the site.
import { after, before, describe, test } from "node:test";
import assert from "node:assert/strict";
import { mkdirSync } from "node:fs";
import { join } from "node:path";
import { captionOf, choose, click, control, isChecked, launchBrowser, mainWindow, openSite,
         optionCount, press, screenshotDir, selectedText, serveFolder, settle, siteDir, valueOf,
         windowOf } from "./harness.mjs";

describe("start-up", () => {
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

  test("the main window shows the factory defaults", async () => {
    const main = mainWindow(page);
    assert.equal(await captionOf(main), "Tarnwick V4.22v");
    const lists = [
      [1000, 3, "Picture"], [1015, 13, "English"], [1016, 4, "5M  2592x1944"],
      [1017, 3, "FHD 1920x1080"], [1018, 3, "1 Photo"], [1021, 3, "Medium"],
      [1022, 3, "Date/Time"], [1024, 2, "On"], [1025, 2, "Off"], [1027, 2, "Off"],
      [1160, 24, "UTC+8"], [1020, 2, "sec"],
    ];
    for (const [id, count, shown] of lists) {
      assert.equal(await optionCount(main, id), count, `entries of list ${id}`);
      assert.equal(await selectedText(main, id), shown, `selection of list ${id}`);
    }
    assert.equal(await valueOf(main, 1035), "30");
    assert.equal(await valueOf(main, 1040), "10");
    for (const [on, off] of [[1103, 1104], [1105, 1106], [1107, 1108], [1109, 1110], [1111, 1112]]) {
      assert.equal(await isChecked(main, on), false, `switch ${on}`);
      assert.equal(await isChecked(main, off), true, `switch ${off}`);
    }
    // Drawn in the colour the window paints itself, with the desktop's fonts.
    const look = await main.locator(".client").evaluate((client) => ({
      background: getComputedStyle(client).backgroundColor,
      font: getComputedStyle(client).fontFamily,
    }));
    assert.equal(look.background, "rgb(215, 220, 240)");
    assert.match(look.font, /DejaVu Sans.*sans-serif/);
    mkdirSync(screenshotDir, { recursive: true });
    await main.locator(".window").screenshot({ path: join(screenshotDir, "web-main-window.png") });
  });

  test("Tab moves through the controls in template order and Enter on a button presses it", async () => {
    const main = mainWindow(page);
    // The Mode list is followed by Shot Number in the template, though Language stands below it.
    await control(main, 1000).focus();
    await press(page, "Tab");
    assert.equal(await page.evaluate(() => document.activeElement.dataset.id), "1018");
    await press(page, "Shift+Tab");
    assert.equal(await page.evaluate(() => document.activeElement.dataset.id), "1000");
    // The Default Config button asks before it resets the form; No keeps it.
    await control(main, 1013).focus();
    await page.keyboard.press("Enter");
    const box = page.locator(".layer.message");
    await box.waitFor();
    assert.equal(await box.locator(".text").textContent(), "Restore default config,are you sure?");
    assert.equal(await captionOf(box), "Default");
    // Tab stays in the box (Yes, No, then round to its close box) and shows the dialogs' ring.
    await press(page, "Tab");
    assert.deepEqual(await page.evaluate(() => {
      const s = getComputedStyle(document.activeElement);
      return [document.activeElement.textContent, s.outlineStyle, s.outlineWidth, s.outlineColor];
    }), ["No", "solid", "2px", "rgb(10, 100, 200)"]);
    await press(page, "Tab");
    assert.equal(await page.evaluate(() => document.activeElement.className), "close-box");
    await press(page, "Escape");
    assert.equal(await box.count(), 0);
  });

  test("an arrow key on a switch's Off moves to its On, which opens the switch's dialog", async () => {
    const main = mainWindow(page);
    await click(page, main, 1106);
    assert.equal(await isChecked(main, 1106), true);
    await press(page, "ArrowUp");
    const serial = windowOf(page, 132);
    await serial.waitFor();
    assert.equal(await captionOf(serial), "Serial Number Setting");
    assert.equal(await isChecked(main, 1105), true);
    // Cancelled, the switch goes back to Off; arrows on a push button do nothing.
    await press(page, "Escape");
    await serial.waitFor({ state: "detached" });
    assert.equal(await isChecked(main, 1105), false);
    assert.equal(await isChecked(main, 1106), true);
    await control(main, 1013).focus();
    await press(page, "ArrowDown");
    assert.equal(await page.locator(".layer").count(), 1);
  });

  test("the window menu opens from its button and by keyboard, and About blocks the main window", async () => {
    const main = mainWindow(page);
    const menu = page.locator(".window-menu");
    // Alt+Space opens the window menu, as on the desktop: Close first, then the program's own
    // entries; Escape closes it and gives the focus back.
    await control(main, 1116).focus();
    await page.keyboard.press("Alt+Space");
    await menu.waitFor();
    assert.deepEqual(await menu.getByRole("menuitem").allTextContents(), ["Close", "About Tarnwick..."]);
    assert.equal(await page.evaluate(() => document.activeElement.textContent), "Close");
    await page.keyboard.press("Escape");
    assert.equal(await menu.count(), 0);
    assert.equal(await page.evaluate(() => document.activeElement.dataset.id), "1116");
    // Shift+F10 asks the program, which offers its menu beside the focused control; the arrow
    // keys and Enter choose About.
    await press(page, "Shift+F10");
    await menu.waitFor();
    await page.keyboard.press("ArrowDown");
    await page.keyboard.press("Enter");
    const about = windowOf(page, 100);
    await about.waitFor();
    await settle(page);
    assert.equal(await captionOf(about), "About Tarnwick");
    assert.match(await about.textContent(), /Tarnwick V4\.22/);
    // The main window below is inert while the About box is open.
    assert.equal(await main.evaluate((layer) => layer.inert), true);
    await press(page, "Enter");
    await about.waitFor({ state: "detached" });
    assert.equal(await main.evaluate((layer) => layer.inert), false);
    // The menu's button opens it too.
    await main.getByRole("button", { name: "Window menu" }).click();
    await page.getByRole("menuitem", { name: /About/ }).click();
    await about.waitFor();
    await settle(page);
    // Shift+Tab from OK reaches the title bar's close box; Enter on it closes the About box.
    await press(page, "Shift+Tab");
    assert.equal(await page.evaluate(() => document.activeElement.className), "close-box");
    await press(page, "Enter");
    await about.waitFor({ state: "detached" });
  });

  test("unsaved settings: Enter in a box asks first, No being its default, and so does leaving the page", async () => {
    const main = mainWindow(page);
    // Whether leaving the page now would ask (the page's handler cancels the leave).
    const leaveAsks = () => page.evaluate(() => {
      const leave = new Event("beforeunload", { cancelable: true });
      window.dispatchEvent(leave);
      return leave.defaultPrevented;
    });
    assert.equal(await leaveAsks(), false);
    await choose(page, main, 1015, 2);
    assert.equal(await leaveAsks(), true);
    await control(main, 1015).focus();
    await page.keyboard.press("Enter");
    const box = page.locator(".layer.message");
    await box.waitFor();
    assert.equal(await box.locator(".text").textContent(), "Quit without saving the changes?");
    assert.equal(await page.evaluate(() => document.activeElement.textContent), "No");
    await box.locator(".window").screenshot({ path: join(screenshotDir, "web-quit-question.png") });
    await press(page, "Enter");
    assert.equal(await box.count(), 0);
    assert.equal(await selectedText(main, 1015), "Spanish");
    // Taken back, nothing is lost any more.
    await choose(page, main, 1015, 0);
    assert.equal(await leaveAsks(), false);
  });

  test("the close box ends the program and the page says so", async () => {
    await mainWindow(page).locator(".close-box").click();
    await page.locator("#status", { hasText: "The program has ended" }).waitFor();
    assert.equal(await page.locator(".layer").count(), 0);
    assert.deepEqual(problems, []);
  });
});
