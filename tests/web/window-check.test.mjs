// The window check in Chromium: every state of the table (tests/toolkit/windowcheck/
// window-check.table) opened through the page with real clicks and keys, on a desktop-sized
// viewport, on a tablet's (768 x 1024) and on two phones' (touch screens, where a window
// narrower than its dialog shows it in one column). What the page shows (screenshots) and what its
// controls report (focus, selection, where they stand, what can be seen) go, as a report, to
// the evaluator program of the Linux build, which applies the same rules as the Qt and Windows
// tests.
import { after, before, describe, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { decodePng, launchBrowser, mainWindow, openSite, phone, screenshotDir, serveFolder,
         settle, siteDir, sourceDir, writePpm } from "./harness.mjs";

const checker = process.env.TARNWICK_WINDOW_CHECK ??
  join(sourceDir, "build/dev/tests/toolkit/windowcheck/tarnwick_window_check_tool");
const tablePath = join(sourceDir, "tests/toolkit/windowcheck/window-check.table");
// The focus ring's reach outside a control, and the margin kept round it in the pictures the
// ring is judged from (the evaluator's own cropping, done here on the page's screenshots).
const ringReach = 3;
const cropMargin = 2;

// The table: window rows (how a window opens, which control has its first focus) and state rows.
function parseTable(text) {
  const windows = new Map();
  const states = [];
  for (const raw of text.split("\n")) {
    const line = raw.trim();
    if (line === "" || line.startsWith("#")) continue;
    let head = line;
    let steps = [];
    const colon = colonOutsideString(line);
    if (colon >= 0) {
      head = line.slice(0, colon);
      steps = splitSteps(line.slice(colon + 1));
    }
    const [kind, template] = head.trim().split(/\s+/);
    const name = head.match(/"([^"]*)"/)[1];
    const focus = head.match(/focus=(\d+)/);
    if (kind === "window") windows.set(Number(template), { name, focusId: Number(focus[1]), steps });
    else if (kind === "state") states.push({ template: Number(template), name, steps });
  }
  return states.map((s) => ({ ...s, window: windows.get(s.template) }));
}

function colonOutsideString(line) {
  let inString = false;
  for (let i = 0; i < line.length; i += 1) {
    if (line[i] === "\"") inString = !inString;
    if (line[i] === ":" && !inString) return i;
  }
  return -1;
}

function splitSteps(text) {
  const steps = [];
  let current = "";
  let inString = false;
  for (const c of text) {
    if (c === "\"") inString = !inString;
    if (c === ";" && !inString) { steps.push(current.trim()); current = ""; } else current += c;
  }
  if (current.trim() !== "") steps.push(current.trim());
  return steps.filter((s) => s !== "");
}

// The top window's layer, and its template number.
const topLayer = (page) => page.locator(".desktop > .layer").last();
async function topTemplate(page) {
  return Number(await topLayer(page).getAttribute("data-template"));
}

// A control of the top window: its input element (the box of a check box, a list, a button).
const inputOf = (page, id) => topLayer(page).locator(
  `[data-id="${id}"] input, input[data-id="${id}"], select[data-id="${id}"], button[data-id="${id}"]`).first();

// One step of the table, as a person does it in the page.
async function act(page, step) {
  const words = step.match(/"[^"]*"|\S+/g);
  const [action, id, argument] = words;
  if (action === "click") await inputOf(page, id).click();
  else if (action === "select") await inputOf(page, id).selectOption({ index: Number(argument) });
  else if (action === "type") {
    await inputOf(page, id).click();
    await page.keyboard.press("Control+A");
    await page.keyboard.type(argument.slice(1, -1));
  } else if (action === "key") {
    await page.keyboard.press({ enter: "Enter", esc: "Escape", up: "ArrowUp", down: "ArrowDown",
                                left: "ArrowLeft", right: "ArrowRight" }[id]);
  } else if (action === "sysmenu") {
    await topLayer(page).getByRole("button", { name: "Window menu" }).click();
    await page.locator(`.window-menu [data-command="${id}"]`).click();
  } else if (action === "longest") {
    await longest(page);
  } else {
    throw new Error(`unknown step ${step}`);
  }
  await settle(page);
}

// Every list that can be used set to its widest entry, in the template's order, each measured
// again first (an entry chosen may change another list's entries).
async function longest(page) {
  const lists = await topLayer(page).locator("select.ctl").evaluateAll((all) => all.map((s) => s.dataset.index));
  for (const index of lists) {
    const list = topLayer(page).locator(`select.ctl[data-index="${index}"]`);
    const widest = await list.evaluate((select) => {
      if (select.disabled || select.getClientRects().length === 0) return -1;
      const context = document.createElement("canvas").getContext("2d");
      context.font = getComputedStyle(select).font;
      let best = -1;
      let width = -1;
      [...select.options].forEach((option, i) => {
        const w = context.measureText(option.text).width;
        if (w > width) { width = w; best = i; }
      });
      return best;
    });
    if (widest >= 0) {
      await list.selectOption({ index: widest });
      await settle(page);
    }
  }
}

// What a screen reader hears of each control of the top window, from Chromium's own
// accessibility tree: role, name, description, and the value a control must not be named by.
const axRoles = { textbox: "edit", combobox: "list", checkbox: "check box", radio: "radio button",
                  button: "button" };
async function announced(page, cdp, sight) {
  const { root } = await cdp.send("DOM.getDocument", { depth: 0 });
  const { nodeIds } = await cdp.send("DOM.querySelectorAll", {
    nodeId: root.nodeId, selector: ".desktop > .layer:last-child .client :is(input, select, button)[data-index]" });
  const out = [];
  for (const nodeId of nodeIds) {
    const { attributes } = await cdp.send("DOM.getAttributes", { nodeId });
    const index = Number(attributes[attributes.indexOf("data-index") + 1]);
    const seen = sight.controls.find((c) => c.index === index);
    const { nodes } = await cdp.send("Accessibility.getPartialAXTree", { nodeId, fetchRelatives: false });
    const node = nodes[0];
    const role = node.role?.value ?? "";
    out.push({ id: seen.id, role: axRoles[role] ?? role, name: node.name?.value ?? "",
               description: node.description?.value ?? "",
               value: seen.kind === "edit" || seen.kind === "list" ? seen.text : "",
               interactive: true, visible: seen.visible && !node.ignored });
  }
  return out;
}

// axe-core's findings on the whole page with the top window open.
const axeSource = readFileSync(join(sourceDir, "tests/web/node_modules/axe-core/axe.min.js"), "utf8");
async function axeViolations(page) {
  if (!await page.evaluate(() => typeof window.axe !== "undefined")) await page.evaluate(axeSource);
  const violations = await page.evaluate(async () => (await window.axe.run(document, {
    resultTypes: ["violations"] })).violations.map((v) => ({ id: v.id, targets: v.nodes.map((n) => n.target.join(" ")) })));
  return violations.map((v) => `axe: ${v.id} on ${v.targets.join(", ")}`);
}

// On a phone: nothing to pan sideways to, and every control a finger uses within the screen's
// width and at least 24 x 24 pixels.
async function touchProblems(page) {
  return topLayer(page).evaluate((layer) => {
    const width = document.documentElement.clientWidth;
    const out = [];
    if (document.documentElement.scrollWidth > width || layer.scrollWidth > layer.clientWidth) {
      out.push("the page pans sideways");
    }
    for (const e of layer.querySelectorAll(".client .ctl:is(.edit, .list, .button, .check, .radio)")) {
      if (e.getClientRects().length === 0) continue;
      const r = e.getBoundingClientRect();
      const name = `control ${e.dataset.id ?? e.dataset.index}`;
      if (r.left < 0 || r.right > width) {
        out.push(`${name} lies outside the screen's width: ${Math.round(r.left)}..${Math.round(r.right)} of ${width}`);
      }
      if (r.width < 24 || r.height < 24) {
        out.push(`${name} is ${Math.round(r.width)} x ${Math.round(r.height)} pixels, less than 24 x 24`);
      }
    }
    return out;
  });
}

// What the top window shows, as the page's controls report it, in viewport pixels.
async function report(page) {
  return topLayer(page).evaluate((layer, reach) => {
    const context = document.createElement("canvas").getContext("2d");
    const rect = (r) => [Math.round(r.left), Math.round(r.top), Math.round(r.width), Math.round(r.height)];
    const widthOf = (element, text) => {
      context.font = getComputedStyle(element).font;
      return Math.round(context.measureText(text.trim()).width);
    };
    const inner = (element) => {
      const r = element.getBoundingClientRect();
      const s = getComputedStyle(element);
      const px = (v) => parseFloat(v) || 0;
      return new DOMRect(r.left + px(s.borderLeftWidth) + px(s.paddingLeft),
                         r.top + px(s.borderTopWidth) + px(s.paddingTop),
                         r.width - px(s.borderLeftWidth) - px(s.paddingLeft) - px(s.borderRightWidth) - px(s.paddingRight),
                         r.height - px(s.borderTopWidth) - px(s.paddingTop) - px(s.borderBottomWidth) - px(s.paddingBottom));
    };
    const intersect = (a, b) => {
      const left = Math.max(a.left, b.left);
      const top = Math.max(a.top, b.top);
      const right = Math.min(a.right, b.right);
      const bottom = Math.min(a.bottom, b.bottom);
      return new DOMRect(left, top, Math.max(0, right - left), Math.max(0, bottom - top));
    };
    const client = layer.querySelector(".client");
    const viewport = new DOMRect(0, 0, document.documentElement.clientWidth, document.documentElement.clientHeight);
    const shown = intersect(intersect(client.getBoundingClientRect(), layer.getBoundingClientRect()), viewport);
    const active = document.activeElement;
    const focusedControl = layer.contains(active) ? active.closest("[data-index]") : null;
    const sight = { visible: rect(shown), content: rect(client.getBoundingClientRect()), onScreen: true,
                    ringReach: reach,
                    focused: focusedControl ? Number(focusedControl.dataset.index) : -1,
                    selection: [0, 0], controls: [] };
    if (active && active.tagName === "INPUT" && active.type !== "checkbox" && active.type !== "radio") {
      sight.selection = [active.selectionStart ?? 0, active.selectionEnd ?? 0];
    }
    for (const element of client.querySelectorAll(".ctl")) {
      const kind = ["static", "group", "edit", "list", "check", "radio", "button", "icon"]
        .find((k) => element.classList.contains(k));
      const c = { index: Number(element.dataset.index), id: element.dataset.id ? Number(element.dataset.id) : -1,
                  kind, enabled: !element.classList.contains("disabled"),
                  visible: element.getClientRects().length > 0, box: rect(element.getBoundingClientRect()),
                  text: "", oneLine: false };
      let area = null;
      if (kind === "static") {
        c.text = element.textContent;
        c.oneLine = !element.classList.contains("wrap");
        area = element.getBoundingClientRect();
      } else if (kind === "group") {
        const legend = element.querySelector(".legend");
        c.text = legend.textContent;
        c.oneLine = true;
        area = legend.getBoundingClientRect();
      } else if (kind === "edit") {
        c.text = element.type === "password" ? "\u2022".repeat(element.value.length) : element.value;
        area = inner(element);
      } else if (kind === "list") {
        const option = element.options[element.selectedIndex];
        c.text = option ? option.text : "";
        c.oneLine = true;
        area = inner(element);
        [...element.options].forEach((o, i) => {
          const w = widthOf(element, o.text);
          if (w > (c.widestItem ?? -1)) { c.widestItem = w; c.widestPosition = i; }
        });
      } else if (kind === "check" || kind === "radio") {
        const span = element.querySelector("span");
        c.text = span.textContent;
        c.oneLine = true;
        // From where the caption starts to the control's end: the room the caption has.
        const r = element.getBoundingClientRect();
        const left = span.getBoundingClientRect().left;
        area = new DOMRect(left, r.top, r.right - left, r.height);
        c.textWidth = widthOf(span, c.text);
      } else if (kind === "button") {
        c.text = element.textContent;
        c.oneLine = true;
        const r = element.getBoundingClientRect();
        area = new DOMRect(r.left + 3, r.top + 3, r.width - 6, r.height - 6);
      }
      if (area && c.text.trim() !== "") {
        c.textBox = rect(area);
        c.textWidth ??= widthOf(element, c.text);
      }
      sight.controls.push(c);
    }
    return sight;
  }, ringReach);
}

function grown(box, by) { return [box[0] - by, box[1] - by, box[2] + 2 * by, box[3] + 2 * by]; }
function intersect(a, b) {
  const left = Math.max(a[0], b[0]);
  const top = Math.max(a[1], b[1]);
  const right = Math.min(a[0] + a[2], b[0] + b[2]);
  const bottom = Math.min(a[1] + a[3], b[1] + b[3]);
  return right > left && bottom > top ? [left, top, right - left, bottom - top] : null;
}

// A part of the viewport ([x, y, width, height]; all of it when none) as a picture, with the
// place it was taken from.
async function shoot(page, area) {
  const clip = area ? { x: area[0], y: area[1], width: area[2], height: area[3] } : undefined;
  const picture = decodePng(await page.screenshot({ type: "png", clip }));
  picture.x = area ? area[0] : 0;
  picture.y = area ? area[1] : 0;
  return picture;
}

// Where the part of the window around control `index` can be seen; null when it cannot.
function cropArea(sight, index) {
  const c = sight.controls.find((x) => x.index === index);
  if (!c || !c.visible) return null;
  return intersect(grown(c.box, ringReach + cropMargin), sight.visible);
}

// That part of `picture` (taken from the viewport at picture.x, picture.y) as a PPM file.
function crop(picture, sight, index, file) {
  const area = cropArea(sight, index);
  if (!area || !picture) return null;
  const c = sight.controls.find((x) => x.index === index);
  writePpm(file, picture, [area[0] - picture.x, area[1] - picture.y, area[2], area[3]]);
  return { index, control: [c.box[0] - area[0], c.box[1] - area[1], c.box[2], c.box[3]], picture: file };
}

// The smallest rectangle holding both (either may be null).
function union(a, b) {
  if (!a || !b) return a ?? b;
  const left = Math.min(a[0], b[0]);
  const top = Math.min(a[1], b[1]);
  return [left, top, Math.max(a[0] + a[2], b[0] + b[2]) - left, Math.max(a[1] + a[3], b[1] + b[3]) - top];
}

// One case: opened from the main window, looked at, round the window with Tab, closed again.
async function runCase(page, cdp, state, folder, label, touch) {
  const name = `${state.window.name}, ${state.name}`;
  const slug = `${label}-${name}`.toLowerCase().replace(/[^a-z0-9]+/g, "-");
  const result = { case: name, focusId: state.window.focusId, asOpened: state.steps.length === 0,
                   problems: [], stops: [] };
  for (const step of [...state.window.steps, ...state.steps]) await act(page, step);
  if (await topTemplate(page) !== state.template) {
    result.problems.push(`the window is not open (template ${await topTemplate(page)} is on top)`);
    return result;
  }
  const first = await report(page);
  result.template = state.template;
  result.announced = await announced(page, cdp, first);
  result.problems.push(...await axeViolations(page));
  if (touch) result.problems.push(...await touchProblems(page));
  const picture = await shoot(page, null);
  mkdirSync(join(screenshotDir, "window-check"), { recursive: true });
  writeFileSync(join(screenshotDir, "window-check", `web-${slug}.png`), await page.screenshot());
  first.picture = join(folder, `${slug}.ppm`);
  writePpm(first.picture, picture, [0, 0, picture.width, picture.height]);
  result.first = first;
  result.stops.push({ report: first, focused: crop(picture, first, first.focused, join(folder, `${slug}-0f.ppm`)) });
  for (let k = 1; k <= first.controls.length + 4; k += 1) {
    const before = result.stops[k - 1].report.focused;
    await page.keyboard.press("Tab");
    await settle(page);
    const sight = await report(page);
    // The first look after Tab is whole (an edit's text is read there); the others only round
    // the two controls the ring is judged on.
    const around = union(cropArea(sight, sight.focused), cropArea(sight, before));
    const shot = k === 1 || around ? await shoot(page, k === 1 ? null : around) : null;
    const stop = { report: sight,
                   focused: crop(shot, sight, sight.focused, join(folder, `${slug}-${k}f.ppm`)),
                   previous: crop(shot, sight, before, join(folder, `${slug}-${k}p.ppm`)) };
    // The edit that had its text selected in the first look is read in this one.
    if (k === 1) {
      stop.report = { ...sight, picture: join(folder, `${slug}-1.ppm`) };
      writePpm(stop.report.picture, shot, [0, 0, shot.width, shot.height]);
    }
    result.stops.push(stop);
    if (sight.focused === first.focused) break;
  }
  // Back to the main window.
  for (let attempt = 0; attempt < 6 && await topTemplate(page) !== 102; attempt += 1) {
    await page.keyboard.press("Escape");
    await settle(page);
  }
  return result;
}

for (const [label, viewport, touch] of [["desktop", { width: 1280, height: 900 }, false],
                                         ["tablet", { width: 768, height: 1024 }, false],
                                         ["phone", { width: 360, height: 800 }, true],
                                         ["phone-390", { width: 390, height: 844 }, true]]) {
  describe(`window check, ${label} (${viewport.width} x ${viewport.height})`, {
    skip: existsSync(checker) ? false : `needs ${checker} (cmake --build --preset dev --target tarnwick_window_check_tool)`,
  }, () => {
    let server, browser, page, problems, folder, cdp;
    before(async () => {
      server = await serveFolder(siteDir);
      browser = await launchBrowser(touch ? phone(viewport.width, viewport.height) : {});
      await browser.context.pages()[0]?.setViewportSize(viewport);
      ({ page, problems } = await openSite(browser.context, server.url));
      await page.setViewportSize(viewport);
      await settle(page);
      folder = mkdtempSync(join(tmpdir(), "tarnwick-window-check-"));
      cdp = await page.context().newCDPSession(page);
      await cdp.send("Accessibility.enable");
    });
    after(async () => {
      await browser?.close();
      await server?.close();
      if (folder) rmSync(folder, { recursive: true, force: true });
    });

    test("every state of every window in the table", async () => {
      const cases = [];
      for (const state of parseTable(readFileSync(tablePath, "utf8"))) {
        cases.push(await runCase(page, cdp, state, folder, label, touch));
      }
      const reportFile = join(folder, "report.json");
      writeFileSync(reportFile, JSON.stringify({ cases }));
      let output = "";
      let status = 0;
      try {
        output = execFileSync(checker, [reportFile], { encoding: "utf8" });
      } catch (error) {
        output = `${error.stdout ?? ""}${error.stderr ?? ""}`;
        status = error.status;
      }
      assert.equal(status, 0, `${label}:\n${output}`);
      assert.deepEqual(problems, []);
    });

    if (label === "tablet") {
      // The MMS / 4G window fits a desktop and is wider than the tablet: one column there, and
      // back where the template puts every control when the screen is widened again.
      test("a window takes the arrangement its screen's width calls for, again when it changes", async () => {
        const inColumn = (wanted) => page.waitForFunction((want) =>
          document.querySelector(".desktop > .layer:last-child .client").classList.contains("column") === want, wanted);
        const where = () => topLayer(page).locator(".client .ctl").evaluateAll(
          (all) => all.map((c) => [c.dataset.index, c.offsetLeft, c.offsetTop, c.offsetWidth, c.offsetHeight].join()));
        await page.setViewportSize({ width: 1280, height: 900 });
        await settle(page);
        await act(page, "click 1031");
        assert.equal(await topTemplate(page), 135);
        await inColumn(false);
        const wide = await where();
        await page.setViewportSize(viewport);
        await inColumn(true);
        await settle(page);
        await page.setViewportSize({ width: 1280, height: 900 });
        await inColumn(false);
        await settle(page);
        assert.deepEqual(await where(), wide);
        await act(page, "key esc");
        await page.setViewportSize(viewport);
        await settle(page);
      });
    }

    if (touch) {
      test("the page can be pinch-zoomed", async () => {
        const viewport = await page.locator('meta[name="viewport"]').getAttribute("content");
        assert.doesNotMatch(viewport, /user-scalable\s*=\s*(no|0)|maximum-scale\s*=\s*1(\.0*)?(,|$)/);
      });
    }
  });
}
