// The page side of the browser edition. The program (tarnwick.js / tarnwick.wasm) draws its
// windows through TarnwickPage and waits for the user's input, which this script queues: the
// program takes one input at a time when it is ready, so nothing ever calls into the program
// while it waits inside a modal loop.
"use strict";

const TarnwickPage = (() => {
  const desktop = () => document.getElementById("desktop");
  const statusLine = () => document.getElementById("status");
  const windows = new Map();  // window number -> { layer, client, controls: [] }
  const queue = [];
  let waiting = null;
  let answering = 0;  // message boxes and file pickers the program is waiting on
  let unsavedWork = false;  // the program holds settings that leaving the page would lose

  function post(window, kind, index, number, text) {
    const line = `${window}\t${kind}\t${index}\t${number}\t${text ?? ""}`;
    if (waiting) {
      const resolve = waiting;
      waiting = null;
      resolve(line);
    } else {
      queue.push(line);
    }
  }

  function nextEvent() {
    if (queue.length > 0) return Promise.resolve(queue.shift());
    return new Promise((resolve) => { waiting = resolve; });
  }

  // True when the program has taken every queued input and waits for the user (tests and the
  // benchmark use it to know that the page shows the program's answer).
  function idle() {
    return queue.length === 0 && (waiting !== null || answering > 0);
  }

  // True while typing in that control is still waiting for the program: its box then keeps
  // what the user has typed since.
  function typingQueued(window, index) {
    const prefix = `${window}\ttype\t${index}\t`;
    return queue.some((line) => line.startsWith(prefix));
  }

  const canvas = document.createElement("canvas");
  function measureFont(family, pixels) {
    const context = canvas.getContext("2d");
    context.font = `${pixels}px ${family}`;
    const m = context.measureText("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const height = Math.ceil(m.fontBoundingBoxAscent + m.fontBoundingBoxDescent);
    return [Math.round(m.width), height > 0 ? height : Math.ceil(pixels * 1.2)];
  }

  function measureText(family, pixels, text) {
    const context = canvas.getContext("2d");
    context.font = `${pixels}px ${family}`;
    return Math.ceil(context.measureText(text).width);
  }

  // Whether the focus that arrives next was moved by the keyboard (Tab): the program selects an
  // edit's whole text then, as the desktop does.
  let tabbing = false;
  document.addEventListener("keydown", (event) => { if (event.key === "Tab") tabbing = true; }, true);
  document.addEventListener("pointerdown", () => { tabbing = false; }, true);

  // Every window and box above the main window blocks all below it.
  // The focus goes back where it was when the window or box above closes, as on the desktop.
  function stackLayer(layer) {
    layer.returnFocus = document.activeElement;
    for (const other of desktop().children) other.inert = true;
    if (desktop().children.length === 0) layer.classList.add("first");
    desktop().appendChild(layer);
  }

  function unstackLayer(layer) {
    const isTop = layer === desktop().lastElementChild;
    layer.remove();
    const top = desktop().lastElementChild;
    if (!top || !isTop) return;
    top.inert = false;
    const back = layer.returnFocus;
    if (back && top.contains(back)) back.focus();
    else top.querySelector(".window")?.focus();
  }

  let captions = 0;

  // A window or box is a modal dialog named by the caption in its title bar.
  function nameDialog(frame, role) {
    frame.setAttribute("role", role);
    frame.setAttribute("aria-modal", "true");
    frame.setAttribute("aria-labelledby", frame.querySelector(".caption").id);
  }

  function titleBar(caption, onClose, menu) {
    const bar = document.createElement("div");
    bar.className = "titlebar";
    if (menu) bar.appendChild(menu);
    const text = document.createElement("span");
    text.className = "caption";
    text.id = `caption-${++captions}`;
    text.textContent = caption;
    bar.appendChild(text);
    bar.appendChild(titleButton("close-box", "Close", "\u00d7", onClose));
    return bar;
  }

  // A button of the title bar, named for screen readers; Tab reaches it, as the window's controls.
  function titleButton(className, label, glyph, onClick) {
    const button = document.createElement("button");
    button.type = "button";
    button.className = className;
    button.title = label;
    button.setAttribute("aria-label", label);
    button.textContent = glyph;
    button.addEventListener("click", onClick);
    return button;
  }

  // The window menu, as a desktop window's system menu: Close, then the dialog's own entries
  // (About ...). Opened from the title bar's button, with Alt+Space, or by the program (the menu
  // key, Shift+F10) beside a control. The arrow keys move through it, Enter chooses, Escape
  // closes it and gives the focus back.
  function openMenu(number, items, anchor) {
    closeMenu();
    const back = document.activeElement;
    const list = document.createElement("div");
    list.className = "window-menu";
    list.setAttribute("role", "menu");
    const close = () => {
      closeMenu();
      if (back && back.isConnected) back.focus();
    };
    const entries = [{ id: -1, text: "Close" }, ...items];
    for (const item of entries) {
      if (item.id === 0) { list.appendChild(document.createElement("hr")); continue; }
      const entry = document.createElement("button");
      entry.type = "button";
      entry.setAttribute("role", "menuitem");
      entry.dataset.command = item.id;
      entry.textContent = item.text;
      entry.addEventListener("click", () => {
        close();
        if (item.id === -1) post(number, "close", -1, 0);
        else post(number, "syscmd", -1, item.id);
      });
      list.appendChild(entry);
    }
    list.addEventListener("keydown", (event) => {
      const buttons = [...list.querySelectorAll("button")];
      const at = buttons.indexOf(document.activeElement);
      const move = { ArrowDown: 1, ArrowUp: -1, Home: -at, End: buttons.length - 1 - at }[event.key];
      if (move !== undefined) {
        event.preventDefault();
        buttons[(at + move + buttons.length) % buttons.length].focus();
      } else if (event.key === "Escape" || event.key === "Tab") {
        event.preventDefault();
        event.stopPropagation();
        close();
      }
    });
    const box = anchor.getBoundingClientRect();
    list.style.left = `${box.left + window.scrollX}px`;
    list.style.top = `${box.bottom + window.scrollY}px`;
    document.body.appendChild(list);
    const away = (event) => { if (!list.contains(event.target)) closeMenu(); };
    list.away = away;
    setTimeout(() => document.addEventListener("pointerdown", away, true), 0);
    list.querySelector("button").focus();
  }

  function closeMenu() {
    const open = document.querySelector(".window-menu");
    if (!open) return;
    document.removeEventListener("pointerdown", open.away, true);
    open.remove();
  }

  // Tab goes round a window or box, as in a desktop dialog: from its last control to its first
  // (Shift+Tab the other way). True when the key was Tab.
  function tabRound(frame, event) {
    if (event.key !== "Tab" || event.altKey || event.ctrlKey || event.metaKey) return false;
    const stops = [...frame.querySelectorAll("button, input, select")].filter(
      (e) => !e.disabled && e.tabIndex >= 0 && e.getClientRects().length > 0);
    const at = stops.indexOf(document.activeElement);
    const next = event.shiftKey ? (at <= 0 ? stops.length - 1 : -1) : (at === stops.length - 1 ? 0 : -1);
    if (next >= 0 && stops.length > 0) {
      event.preventDefault();
      stops[next].focus();
    }
    return true;
  }

  function windowMenuButton(number, items) {
    const button = titleButton("menu-button", "Window menu", "\u2630", (event) => {
      event.stopPropagation();
      if (document.querySelector(".window-menu")) closeMenu();
      else openMenu(number, items, button);
    });
    return button;
  }

  function controlId(number, index) { return `w${number}-c${index}`; }

  // What a screen reader says, as the program worked it out: a box is named by its label,
  // anything else by the program's name where it is not the control's own text; the rest that
  // tells it apart is its description.
  function nameControl(number, input, c) {
    if (!input) return;
    const said = c.said;
    if ((c.kind === "edit" || c.kind === "list") && said.label >= 0) {
      input.setAttribute("aria-labelledby", controlId(number, said.label));
      input.removeAttribute("aria-label");
    } else if (said.name !== c.text.trim()) {
      input.setAttribute("aria-label", said.name);
    } else {
      input.removeAttribute("aria-label");
    }
    if (said.description) input.setAttribute("aria-description", said.description);
    else input.removeAttribute("aria-description");
  }

  // Each row of radio buttons named by one label is a radio group with that label's name.
  function groupRadios(number, client, controls) {
    const groups = new Map();
    for (const c of controls) {
      if (c.kind !== "radio" || c.said.label < 0) continue;
      if (!groups.has(c.said.label)) groups.set(c.said.label, []);
      groups.get(c.said.label).push(`${controlId(number, c.index)}-input`);
    }
    for (const [label, radios] of groups) {
      const group = document.createElement("div");
      group.className = "radiogroup";
      group.setAttribute("role", "radiogroup");
      group.setAttribute("aria-labelledby", controlId(number, label));
      group.setAttribute("aria-owns", radios.join(" "));
      client.appendChild(group);
    }
  }

  function makeControl(number, c, lineHeight) {
    let element;
    let input = null;  // the element that takes input and focus
    switch (c.kind) {
      case "static":
        element = document.createElement("div");
        if (c.h >= 2 * lineHeight) element.classList.add("wrap");
        break;
      case "group":
        element = document.createElement("div");
        element.appendChild(document.createElement("span")).className = "legend";
        break;
      case "edit":
        element = input = document.createElement("input");
        input.spellcheck = false;
        input.autocomplete = "off";
        input.addEventListener("input", () => post(number, "type", c.index, 0, input.value));
        break;
      case "list":
        element = input = document.createElement("select");
        input.addEventListener("change", () => post(number, "select", c.index, input.selectedIndex));
        break;
      case "check":
      case "radio":
        element = document.createElement("label");
        input = document.createElement("input");
        input.type = c.kind === "check" ? "checkbox" : "radio";
        element.appendChild(input);
        element.appendChild(document.createElement("span"));
        input.addEventListener("click", () => post(number, "click", c.index, 0));
        break;
      case "button":
        element = input = document.createElement("button");
        input.type = "button";
        input.addEventListener("click", () => post(number, "click", c.index, 0));
        break;
      case "icon":
        element = document.createElement("img");
        element.src = "icon-192.png";
        element.alt = "";
        break;
      default:
        element = document.createElement("div");
    }
    element.classList.add("ctl", c.kind);
    element.id = controlId(number, c.index);
    element.dataset.index = c.index;
    if (c.id >= 0) element.dataset.id = c.id;
    if (input) {
      input.addEventListener("focus", () => {
        post(number, "focus", c.index, tabbing ? 1 : 0);
        tabbing = false;
      });
      if (input !== element) {
        input.dataset.index = c.index;
        input.id = `${element.id}-input`;
      }
    }
    return { element, input };
  }

  function applyControl(number, entry, c, lineHeight) {
    const { element, input } = entry;
    element.style.left = `${c.x}px`;
    element.style.top = `${c.y}px`;
    element.style.width = `${c.w}px`;
    // A drop-down list's template height is that of the opened list; the closed box is as tall
    // as its font needs. An icon has the system's icon size.
    if (c.kind === "list") {
      element.style.height = `${lineHeight + 8}px`;
    } else if (c.kind === "icon") {
      element.style.width = element.style.height = "32px";
    } else {
      element.style.height = `${c.h}px`;
    }
    element.classList.toggle("hidden", !c.visible);
    element.classList.toggle("disabled", !c.enabled);
    // Push buttons centre their text unless the template puts it on the right.
    element.style.textAlign = c.kind === "button" && c.align === "left" ? "center" : c.align;
    // The colours the program chose for the control in its state (push buttons keep the page's
    // button look), and its focus ring's.
    element.style.setProperty("--focus", c.look.focus);
    if (!c.look.native) {
      element.style.color = c.look.text;
      element.style.backgroundColor = c.look.fill ?? "transparent";
    }
    switch (c.kind) {
      case "static":
        element.textContent = c.text;
        break;
      case "group": {
        const legend = element.firstChild;
        legend.textContent = c.text;
        legend.style.top = `${-Math.round(lineHeight / 2)}px`;
        element.style.top = `${c.y + Math.round(lineHeight / 2)}px`;
        element.style.height = `${Math.max(0, c.h - Math.round(lineHeight / 2))}px`;
        break;
      }
      case "edit":
        input.type = c.password ? "password" : "text";
        input.classList.toggle("border", c.border);
        // The limit applies to typing; a longer text the program set is shown whole.
        input.maxLength = Math.max(c.limit > 0 ? c.limit : 32767, c.text.length);
        if (input.value !== c.text && !typingQueued(number, c.index)) input.value = c.text;
        break;
      case "list": {
        // The entry's text stands in the field the program gives it, beside the narrow button
        // (the list's border is a pixel of it).
        input.style.paddingLeft = `${c.field[0] - 1}px`;
        input.style.paddingRight = `${c.field[1] - 1}px`;
        // An entry's value is the program's text; what it shows keeps runs of blanks, which
        // an option's text would fold into one ("5M  2592x1944").
        const same = input.options.length === c.items.length &&
                     c.items.every((text, i) => input.options[i].value === text);
        if (!same) {
          input.replaceChildren(...c.items.map((text) => new Option(text.replace(/  /g, " \u00a0"), text)));
        }
        input.selectedIndex = c.selection;
        break;
      }
      case "check":
      case "radio":
        input.checked = c.check !== 0;
        element.lastChild.textContent = c.text;
        break;
      case "button":
        element.textContent = c.text;
        element.classList.toggle("default", c.defaultButton);
        break;
      default:
        break;
    }
    if (input) {
      input.disabled = !c.enabled;
      input.tabIndex = c.tabStop ? 0 : -1;
    }
    nameControl(number, input, c);
  }

  function openWindow(number, w) {
    const layer = document.createElement("div");
    layer.className = "layer";
    layer.dataset.window = number;
    layer.dataset.template = w.template;
    const frame = document.createElement("div");
    frame.className = "window";
    frame.tabIndex = -1;
    const menu = windowMenuButton(number, w.menu);
    frame.appendChild(titleBar(w.caption, () => post(number, "close", -1, 0), menu));
    nameDialog(frame, "dialog");
    const client = document.createElement("div");
    client.className = "client";
    client.style.width = `${w.width}px`;
    client.style.height = `${w.height}px`;
    client.style.fontFamily = w.font;
    client.style.fontSize = `${w.fontPixels}px`;
    if (w.background) client.style.setProperty("--dialog-bg", w.background);
    client.style.setProperty("--ring-width", `${w.ring[0]}px`);
    client.style.setProperty("--ring-gap", `${w.ring[1]}px`);
    frame.appendChild(client);
    layer.appendChild(frame);
    const controls = [];
    for (const c of w.controls) {
      const entry = makeControl(number, c, w.lineHeight);
      applyControl(number, entry, c, w.lineHeight);
      client.appendChild(entry.element);
      controls.push(entry);
    }
    groupRadios(number, client, w.controls);
    // Enter and Escape go to the dialog object, which decides what they press; so do the arrow
    // keys on a radio button, which move to the next button of its group and click it.
    frame.addEventListener("keydown", (event) => {
      // Alt+Space opens the window menu, as on the desktop; the menu key and Shift+F10 ask the
      // program for its own entries.
      if (event.altKey && !event.ctrlKey && !event.metaKey && event.key === " ") {
        event.preventDefault();
        openMenu(number, w.menu, menu);
        return;
      }
      if (event.key === "ContextMenu" || (event.shiftKey && event.key === "F10")) {
        event.preventDefault();
        post(number, "menu", -1, 0);
        return;
      }
      if (tabRound(frame, event)) return;
      if (event.altKey || event.ctrlKey || event.metaKey || event.shiftKey) return;
      const arrow = { ArrowRight: 1, ArrowDown: 1, ArrowLeft: -1, ArrowUp: -1 }[event.key];
      if (arrow && event.target.type === "radio") {
        event.preventDefault();
        post(number, "arrow", -1, arrow);
      } else if (event.key === "Enter") {
        event.preventDefault();
        post(number, "enter", -1, 0);
      } else if (event.key === "Escape") {
        event.preventDefault();
        post(number, "escape", -1, 0);
      }
    });
    // The browser's own menu stays away where the menu key asks the program.
    frame.addEventListener("contextmenu", (event) => {
      if (event.button < 0 || event.pointerType === "") event.preventDefault();
    });
    windows.set(number, { layer, frame, client, controls, menu, items: w.menu,
                          lineHeight: w.lineHeight, width: w.width, height: w.height });
    if (w.column) arrangeWindow(number, w.column);
    stackLayer(layer);
    if (windows.size === 1) {
      statusLine().textContent = "";
      // When the main window is on screen: the frame that shows it has been painted.
      performance.mark("tarnwick-main-window");
      requestAnimationFrame(() => setTimeout(() => performance.mark("tarnwick-main-window-painted"), 0));
    }
  }

  // The width a window's dialog has: the viewport's, less the desktop's margins and a window's
  // frame. The program compares it with the dialog's width to choose its arrangement.
  function windowRoom() {
    const style = getComputedStyle(desktop());
    const margins = parseFloat(style.paddingLeft) + parseFloat(style.paddingRight);
    return Math.floor(document.documentElement.clientWidth - margins - 2);
  }

  // A page used by touch alone: no pointer can aim finer than a fingertip.
  function touchOnly() {
    return matchMedia("(any-pointer: coarse)").matches && !matchMedia("(any-pointer: fine)").matches;
  }

  // A changed viewport (a phone turned, a window resized) asks the program to arrange its
  // windows again; one such request waiting is enough.
  window.addEventListener("resize", () => {
    if (!queue.some((line) => line.startsWith("0\tresize\t"))) post(0, "resize", -1, 0);
  });

  // The program's arrangement of a window: its controls where the template puts them (null), or
  // in rows down one column, the rows of a group box inside it ([[group, index, ...], ...]).
  // The controls keep their elements, ids and state; only where they stand changes.
  function arrangeWindow(number, rows) {
    const w = windows.get(number);
    if (!w) return;
    for (const row of w.client.querySelectorAll(".row")) row.replaceWith(...row.childNodes);
    for (const { element } of w.controls) element.classList.remove("unplaced");
    const column = Array.isArray(rows);
    w.frame.classList.toggle("column", column);
    w.client.classList.toggle("column", column);
    w.client.style.width = column ? "" : `${w.width}px`;
    w.client.style.height = column ? "" : `${w.height}px`;
    const radios = w.client.querySelectorAll(".radiogroup");
    if (!column) {
      // Back in the template's order, which is the order of tab and of what is drawn on top.
      w.client.prepend(...w.controls.map((entry) => entry.element));
      return;
    }
    const placed = new Set();
    for (const [group, ...indices] of rows) {
      let into = w.client;
      if (group >= 0) {
        into = w.controls[group].element;
        if (!placed.has(group)) w.client.appendChild(into);
        placed.add(group);
      }
      const line = document.createElement("div");
      line.className = "row";
      for (const index of indices) {
        line.appendChild(w.controls[index].element);
        placed.add(index);
      }
      into.appendChild(line);
    }
    w.controls.forEach((entry, index) => entry.element.classList.toggle("unplaced", !placed.has(index)));
    w.client.append(...radios);
  }

  function updateControl(number, index, c) {
    const w = windows.get(number);
    if (w && w.controls[index]) applyControl(number, w.controls[index], c, w.lineHeight);
  }

  function setCaption(number, caption) {
    const w = windows.get(number);
    if (!w) return;
    w.frame.querySelector(".caption").textContent = caption;
  }

  function setBackground(number, colour) {
    const w = windows.get(number);
    if (!w) return;
    if (colour) w.client.style.setProperty("--dialog-bg", colour);
    else w.client.style.removeProperty("--dialog-bg");
  }

  function focusControl(number, index, selectText) {
    const w = windows.get(number);
    const input = w?.controls[index]?.input;
    if (!input) return;
    if (document.activeElement !== input) input.focus();
    // Typing that has not reached the program yet is not selected away.
    if (selectText && input.select && !typingQueued(number, index)) input.select();
  }

  function scrollIntoView(number, index) {
    const w = windows.get(number);
    const element = w?.controls[index]?.element;
    if (element) element.scrollIntoView({ block: "nearest", inline: "nearest" });
  }

  function openWindowMenu(number, index) {
    const w = windows.get(number);
    if (!w) return;
    const anchor = w.controls[index]?.element ?? w.menu;
    openMenu(number, w.items, anchor);
  }

  function closeWindow(number) {
    const w = windows.get(number);
    if (!w) return;
    closeMenu();
    windows.delete(number);
    unstackLayer(w.layer);
  }

  const glyphs = { exclamation: "\u26a0", information: "\u2139", question: "?", none: "" };

  // An in-page message box with the program's text and buttons. Enter presses the default
  // button (Yes or OK, or No when the program asks for it: the button has the focus);
  // Escape and the close box answer No, or OK when OK is the only button.
  function messageBox(m) {
    answering += 1;
    return new Promise((resolve) => {
      const layer = document.createElement("div");
      layer.className = "layer message";
      const frame = document.createElement("div");
      frame.className = "window";
      frame.tabIndex = -1;
      const escapeAnswer = m.yesNo ? 7 : 1;
      const answer = (value) => {
        unstackLayer(layer);
        answering -= 1;
        resolve(value);
      };
      frame.appendChild(titleBar(m.caption, () => answer(escapeAnswer), null));
      nameDialog(frame, "alertdialog");
      const client = document.createElement("div");
      client.className = "client";
      const body = document.createElement("div");
      body.className = "body";
      if (glyphs[m.icon]) {
        const glyph = document.createElement("span");
        glyph.className = `glyph ${m.icon}`;
        glyph.textContent = glyphs[m.icon];
        body.appendChild(glyph);
      }
      const text = document.createElement("div");
      text.className = "text";
      text.textContent = m.text;
      // What a screen reader reads out with the box's caption.
      text.id = `${frame.querySelector(".caption").id}-text`;
      frame.setAttribute("aria-describedby", text.id);
      body.appendChild(text);
      client.appendChild(body);
      const buttons = document.createElement("div");
      buttons.className = "buttons";
      const choices = m.yesNo ? [["Yes", 6], ["No", 7]] : [["OK", 1]];
      const defaultIndex = m.defaultButton ?? 0;
      for (const [index, [label, value]] of choices.entries()) {
        const button = document.createElement("button");
        button.type = "button";
        button.textContent = label;
        button.classList.toggle("default", index === defaultIndex);
        button.addEventListener("click", () => answer(value));
        buttons.appendChild(button);
      }
      client.appendChild(buttons);
      frame.appendChild(client);
      layer.appendChild(frame);
      frame.addEventListener("keydown", (event) => {
        if (tabRound(frame, event)) return;
        if (event.key === "Escape") { event.preventDefault(); answer(escapeAnswer); }
      });
      stackLayer(layer);
      (buttons.children[defaultIndex] ?? buttons.firstChild).focus();
    });
  }

  // The browser's file-system pickers, where it has them: Load keeps the picked file's handle
  // and Save writes back onto that file (a card's menu.cfg) or one the user picks. Elsewhere
  // Load is a file input and Save a download.
  const filePickers = typeof window.showOpenFilePicker === "function" &&
                      typeof window.showSaveFilePicker === "function";
  let loadedFile = null;  // the handle of the file loaded last
  let saveTarget = null;  // where the save in progress goes: a handle, or null for a download

  // The program's filter (pickerTypesJson) as the pickers take it; they offer every file besides.
  function pickerOptions(types) {
    return { excludeAcceptAllOption: false,
             types: types.map((t) => ({ description: t.description,
                                        accept: { "application/octet-stream": t.extensions } })) };
  }

  // The file's first `limit` bytes (all of them for 0): a settings file uses its first 1792, and
  // a huge file costs neither the time nor the memory of reading it whole.
  async function readStart(file, limit) {
    try {
      const part = limit > 0 ? file.slice(0, limit) : file;
      return { status: "read", name: file.name, bytes: new Uint8Array(await part.arrayBuffer()) };
    } catch (error) {
      return { status: "unreadable", name: file.name, text: error.message };
    }
  }

  function pickWithInput(types) {
    return new Promise((resolve) => {
      const input = document.createElement("input");
      input.type = "file";
      input.accept = types.flatMap((t) => t.extensions).join(",");
      input.style.display = "none";
      document.body.appendChild(input);
      const done = (file) => {
        input.remove();
        resolve(file);
      };
      input.addEventListener("cancel", () => done(null));
      input.addEventListener("change", () => done(input.files[0] ?? null));
      input.click();
    });
  }

  // Load's picker: the picked file's name and first bytes, or why they cannot be read, or
  // "cancelled". Nothing is written anywhere.
  async function pickFile(types, limit) {
    answering += 1;
    try {
      // A picker the browser will not show (it shows one only right after the user's click or
      // key) counts as cancelled, so the program never waits for a picker that is not there.
      if (filePickers) {
        let handle;
        try {
          [handle] = await window.showOpenFilePicker(pickerOptions(types));
        } catch {
          return { status: "cancelled" };
        }
        loadedFile = handle;
        try {
          return await readStart(await handle.getFile(), limit);
        } catch (error) {
          return { status: "unreadable", name: handle.name, text: error.message };
        }
      }
      if (navigator.userActivation?.isActive === false) return { status: "cancelled" };
      const file = await pickWithInput(types);
      if (!file) return { status: "cancelled" };
      return await readStart(file, limit);
    } finally {
      answering -= 1;
    }
  }

  async function mayWrite(handle) {
    try {
      const mode = { mode: "readwrite" };
      return (await handle.queryPermission(mode)) === "granted" ||
             (await handle.requestPermission(mode)) === "granted";
    } catch {
      return false;
    }
  }

  // Where a save goes: back onto the loaded file when the browser lets the page write it (it
  // asks the user), else a file the user picks, with the program's name proposed, in the loaded
  // file's folder when there is one, else a download.
  async function chooseSaveTarget(name, types) {
    answering += 1;
    try {
      saveTarget = null;
      if (loadedFile && await mayWrite(loadedFile)) {
        saveTarget = loadedFile;
        return { status: "file", name: saveTarget.name };
      }
      if (filePickers) {
        try {
          const where = loadedFile ? { startIn: loadedFile } : {};
          saveTarget = await window.showSaveFilePicker({ ...pickerOptions(types), ...where,
                                                         suggestedName: name });
          return { status: "file", name: saveTarget.name };
        } catch (error) {
          if (error.name === "AbortError") return { status: "cancelled" };
        }
      }
      return { status: "download", name };
    } finally {
      answering -= 1;
    }
  }

  function saveProblem(error) {
    if (error.name === "NotFoundError") return "the file is no longer there (was the card taken out?)";
    if (error.name === "NotAllowedError") return "the browser was not allowed to write it";
    return error.message;
  }

  // Writes the save onto its file and reads the file back for the program to compare, or
  // hands it over as a download.
  async function saveFile(name, bytes) {
    const handle = saveTarget;
    saveTarget = null;
    if (!handle) {
      download(name, bytes);
      fileNote(`${name} went to your browser's downloads (its downloads folder, or where you ` +
               "told it). Copy it to the root folder of the camera's memory card, not into a " +
               "folder on it.");
      return { status: "downloaded" };
    }
    fileNote("");
    let writable = null;
    try {
      writable = await handle.createWritable();
      await writable.write(bytes);
      await writable.close();
      writable = null;
      const back = await readStart(await handle.getFile(), bytes.length + 1);
      return back.status === "read" ? { status: "written", bytes: back.bytes }
                                    : { status: "failed", text: back.text };
    } catch (error) {
      await writable?.abort().catch(() => {});
      return { status: "failed", text: saveProblem(error) };
    }
  }

  function download(name, bytes) {
    const url = URL.createObjectURL(new Blob([bytes], { type: "application/octet-stream" }));
    const link = document.createElement("a");
    link.href = url;
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  function fileNote(text) {
    document.getElementById("file-note").textContent = text;
  }

  // The page's own file inputs (the operator table): the program reads the picked file when it
  // takes this input, after every input the user gave before.
  function pageFilePicked(id) {
    post(0, "pagefile", -1, 0, id);
  }

  // The file picked in one of them, no more than `limit` bytes of it.
  async function readPageFile(id, limit) {
    const file = document.getElementById(id)?.files?.[0];
    if (!file) return { status: "none" };
    if (file.size > limit) return { status: "too-large", name: file.name };
    return readStart(file, limit);
  }

  function showPageFileNote(id, text) {
    document.getElementById(`${id}-note`).textContent = text;
  }

  function programEnded() {
    unsavedWork = false;
    statusLine().textContent = "The program has ended. Reload the page to start it again.";
  }

  // Installing the site as an app, and using it offline: both only over HTTP(S). Opened from
  // disk a browser would refuse to read the manifest, and runs no service worker.
  const overHttp = /^https?:$/.test(location.protocol);
  if (overHttp) {
    const manifest = document.createElement("link");
    manifest.rel = "manifest";
    manifest.href = "manifest.webmanifest";
    document.head.appendChild(manifest);
  }

  // The service worker keeps the site's files. A new version of the site installs beside the
  // running page, which goes on as it is, and is used from the next load.
  function registerServiceWorker() {
    if (!overHttp || !("serviceWorker" in navigator)) return;
    const updating = navigator.serviceWorker.controller !== null;
    navigator.serviceWorker.addEventListener("controllerchange", () => {
      if (!updating) return;
      document.getElementById("update-note").textContent =
        "A new version of Tarnwick has been installed: it is used from the next time this page " +
        "is loaded. This page goes on as it is.";
    });
    navigator.serviceWorker.register("sw.js").catch(() => {});
  }

  // While the program holds settings that are not saved, leaving or reloading the page asks
  // first (the browser's own question; its wording is the browser's).
  function setUnsavedWork(unsaved) { unsavedWork = unsaved; }
  window.addEventListener("beforeunload", (event) => {
    if (!unsavedWork) return;
    event.preventDefault();
    event.returnValue = "";
  });

  return { nextEvent, idle, measureFont, measureText, windowRoom, touchOnly, arrangeWindow,
           openWindow, updateControl, setCaption, setBackground, focusControl, scrollIntoView, openWindowMenu, closeWindow, messageBox,
           pickFile, chooseSaveTarget, saveFile, readPageFile, showPageFileNote, pageFilePicked,
           programEnded, registerServiceWorker, setUnsavedWork, unsavedWork: () => unsavedWork,
           currentEvent: null, reply: null };
})();

var Module = {
  page: TarnwickPage,
  print: (text) => console.log(text),
  printErr: (text) => console.error(text),
  onAbort: () => {
    document.getElementById("status").textContent =
      "The program stopped because of an internal error. Reload the page to start it again.";
  },
};

document.getElementById("oper-table").addEventListener("change", (event) => {
  TarnwickPage.pageFilePicked(event.target.id);
});
window.addEventListener("load", () => TarnwickPage.registerServiceWorker());
