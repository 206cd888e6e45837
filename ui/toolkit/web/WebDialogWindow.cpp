#include "ui/toolkit/web/WebDialogWindow.h"

#include "config/TextConversions.h"
#include "ui/toolkit/web/PageBridge.h"

#include <utility>

namespace tarnwick::tk::web {

WebDialogWindow::WebDialogWindow(CDialogEx& dialog, int windowNumber,
                                 const PageFileHandler& pageFile,
                                 std::function<void()> beforeWaiting)
    : dialog_(dialog),
      pageFile_(pageFile),
      host_(dialog, *this),
      number_(windowNumber),
      beforeWaiting_(std::move(beforeWaiting)) {
  const DialogTemplate& t = dialog.dialogTemplate();
  const page::FontMeasures font =
      page::measureFont(cssFontFamilies(t.fontName), fontPixels(t.pointSize));
  base_ = baseUnitsFromMeasures(font.alphabetWidth, font.height);
  looks_.resize(dialog.controls().size());
}

WebDialogWindow::~WebDialogWindow() {
  if (shown_) page::closeWindow(number_);
}

int WebDialogWindow::runModal() {
  if (!host_.start()) return host_.result();
  open();
  host_.showInitialState();
  return host_.runModal(*this);
}

std::string WebDialogWindow::controlText(int index, const Accessible& said) {
  const ControlState* s = dialog_.stateAt(index);
  return controlJson(index, *s, pixelsOf(*s), host_.isTabStop(index),
                     looks_[static_cast<std::size_t>(index)], said);
}

// The control's rectangle on the page; a label of one line as wide as its text in the page's font.
Rect WebDialogWindow::pixelsOf(const ControlState& state) {
  const Rect box = dialogUnitsToPixels(state.rect, base_);
  if (state.kind != ControlKind::Static || box.height >= 2 * base_.y) return box;
  const DialogTemplate& t = dialog_.dialogTemplate();
  const int width =
      page::measureText(cssFontFamilies(t.fontName), fontPixels(t.pointSize), toUtf8(state.text));
  return labelBox(box, state.style, width, base_.y);
}

bool WebDialogWindow::wantsOneColumn() const {
  const DialogTemplate& t = dialog_.dialogTemplate();
  const Rect client = dialogUnitsToPixels({0, 0, t.width, t.height}, base_);
  return arrangementFor(client.width, page::windowRoom(), page::touchOnly()) ==
         Arrangement::OneColumn;
}

std::string WebDialogWindow::arrangementJson() const {
  return columnJson(oneColumn_ ? std::optional(host_.oneColumn()) : std::nullopt);
}

void WebDialogWindow::rearrange() {
  if (!shown_ || wantsOneColumn() == oneColumn_) return;
  oneColumn_ = !oneColumn_;
  page::arrangeWindow(number_, arrangementJson());
}

void WebDialogWindow::open() {
  const DialogTemplate& t = dialog_.dialogTemplate();
  const Rect client = dialogUnitsToPixels({0, 0, t.width, t.height}, base_);
  oneColumn_ = wantsOneColumn();
  background_ = jsonColour(host_.paint().fill());
  std::string json = "{\"window\":" + std::to_string(number_) +
                     ",\"template\":" + std::to_string(t.id) +
                     ",\"caption\":" + jsonString(dialog_.GetWindowText()) +
                     ",\"width\":" + std::to_string(client.width) +
                     ",\"height\":" + std::to_string(client.height) +
                     ",\"font\":" + jsonString(cssFontFamilies(t.fontName)) +
                     ",\"fontPixels\":" + std::to_string(fontPixels(t.pointSize)) +
                     ",\"lineHeight\":" + std::to_string(base_.y) +
                     ",\"background\":" + background_ +
                     ",\"ring\":[" + std::to_string(kFocusRingWidth) + "," +
                     std::to_string(kFocusRingGap) + "],\"column\":" + arrangementJson() +
                     ",\"menu\":[";
  const std::vector<SystemMenuItem>& menu = dialog_.systemMenu();
  for (std::size_t i = 0; i < menu.size(); ++i) {
    if (i > 0) json += ',';
    json += "{\"id\":" + std::to_string(menu[i].id) + ",\"text\":" + jsonString(menu[i].text) + "}";
  }
  json += "],\"controls\":[";
  const std::vector<Accessible> said = host_.accessibility();
  for (std::size_t i = 0; i < looks_.size(); ++i) {
    const int index = static_cast<int>(i);
    // The first look, before showInitialState asks again, so the window never flashes.
    looks_[i] = host_.lookOf(index);
    if (i > 0) json += ',';
    json += controlText(index, said[i]);
  }
  json += "]}";
  page::openWindow(number_, json);
  shown_ = true;
}

void WebDialogWindow::showControl(int index) {
  if (shown_ && dialog_.stateAt(index) != nullptr) {
    page::updateControl(number_, index,
                        controlText(index, host_.accessibility()[static_cast<std::size_t>(index)]));
  }
}

void WebDialogWindow::showCaption() {
  if (shown_) page::setCaption(number_, toUtf8(dialog_.GetWindowText()));
}

void WebDialogWindow::showIcon(int /*iconResourceId*/) {
  // The page shows the program's one icon as its own; a dialog has no icon of its own there.
}

void WebDialogWindow::showLook(int index, const ControlLook& look) {
  if (dialog_.stateAt(index) == nullptr || looks_[static_cast<std::size_t>(index)] == look) return;
  looks_[static_cast<std::size_t>(index)] = look;
  showControl(index);
}

NativePalette WebDialogWindow::nativePalette() const { return kPagePalette; }

void WebDialogWindow::bringIntoView(int index) {
  if (shown_) page::scrollIntoView(number_, index);
}

std::optional<int> WebDialogWindow::showSystemMenu(int nearIndex) {
  // The page cannot wait here: the entry chosen comes as a system command.
  if (shown_) page::openWindowMenu(number_, nearIndex);
  return std::nullopt;
}

void WebDialogWindow::moveFocus(int index, bool selectText) {
  if (shown_) page::focusControl(number_, index, selectText);
}

void WebDialogWindow::repaintBackground() {
  std::string background = jsonColour(host_.paint().fill());
  if (background == background_) return;
  background_ = std::move(background);
  if (shown_) page::setBackground(number_, background_);
}

void WebDialogWindow::closeWindow(int /*result*/) {
  if (!shown_) return;
  shown_ = false;
  page::closeWindow(number_);
}

std::optional<InputEvent> WebDialogWindow::nextInput() {
  if (beforeWaiting_) beforeWaiting_();
  for (;;) {
    // A window below the top one learns of a changed viewport when it is on top again.
    rearrange();
    const std::optional<PageEvent> event = parsePageEvent(page::nextEvent());
    if (event && event->kind == PageEventKind::PageFile) {
      if (pageFile_) pageFile_(toUtf8(event->text));
      continue;
    }
    if (event && event->kind == PageEventKind::Resize) continue;
    // Input for another window cannot come from the page (it blocks every window but the top
    // one); a stale event for a window that has gone is dropped, as is a malformed line.
    if (!event || event->window != number_) continue;
    const ControlState* s = dialog_.stateAt(event->index);
    InputEvent input;
    input.id = s == nullptr ? kNoControlId : s->id;
    switch (event->kind) {
      case PageEventKind::Click:
        input.kind = InputEvent::Kind::Click;
        break;
      case PageEventKind::Type:
        input.kind = InputEvent::Kind::Type;
        input.text = event->text;
        break;
      case PageEventKind::Select:
        input.kind = InputEvent::Kind::Select;
        input.position = event->number;
        break;
      case PageEventKind::Focus:
        input.kind = InputEvent::Kind::FocusIn;
        input.position = event->number;  // 1: by Tab
        break;
      case PageEventKind::MenuKey:
        input.kind = InputEvent::Kind::MenuKey;
        break;
      case PageEventKind::Enter:
        input.kind = InputEvent::Kind::Enter;
        break;
      case PageEventKind::Escape:
        input.kind = InputEvent::Kind::Escape;
        break;
      case PageEventKind::Arrow:
        input.kind = InputEvent::Kind::Arrow;
        input.position = event->number > 0 ? 1 : -1;
        break;
      case PageEventKind::Close:
        input.kind = InputEvent::Kind::CloseBox;
        break;
      case PageEventKind::SystemCommand:
        input.kind = InputEvent::Kind::SystemCommand;
        input.id = event->number;
        break;
      case PageEventKind::PageFile:
      case PageEventKind::Resize:
        continue;
    }
    return input;
  }
}

}  // namespace tarnwick::tk::web
