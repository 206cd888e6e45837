#include "ui/toolkit/web/WebDialogWindow.h"

#include "config/TextConversions.h"
#include "ui/toolkit/web/PageBridge.h"

#include <algorithm>

namespace tarnwick::tk::web {

namespace {
// Which colours a control asks its dialog for. Labels, group boxes, check boxes, radio buttons,
// icons and disabled edits ask for static colours.
CtlColorType colourRequestOf(const ControlState& s) {
  switch (s.kind) {
    case ControlKind::Edit:
      return s.enabled ? CtlColorType::Edit : CtlColorType::Static;
    case ControlKind::ComboBox:
      return CtlColorType::ListBox;
    case ControlKind::PushButton:
      return CtlColorType::Button;
    default:
      return CtlColorType::Static;
  }
}

bool takesInput(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::ComboBox ||
         kind == ControlKind::CheckBox || kind == ControlKind::RadioButton ||
         kind == ControlKind::PushButton;
}
}  // namespace

WebDialogWindow::WebDialogWindow(CDialogEx& model, int windowNumber)
    : model_(model), number_(windowNumber) {
  const DialogTemplate& t = model.dialogTemplate();
  const page::BaseUnits units = page::measureFont(cssFontFamilies(t.fontName), fontPixels(t.pointSize));
  baseX_ = units.x;
  baseY_ = units.y;
  const std::vector<ControlState>& controls = model.controls();
  // A template that marks no tab stops at all gets one on every control that takes input.
  tabStopsGiven_ = std::any_of(controls.begin(), controls.end(),
                               [](const auto& s) { return (s.style & kTabStop) != 0; });
  colours_.resize(controls.size());
}

WebDialogWindow::~WebDialogWindow() {
  model_.setObserver(nullptr);
  if (shown_) page::closeWindow(number_);
}

Rect WebDialogWindow::pixelsOf(const ControlState& state) const {
  return dialogUnitsToPixels(state.rect, baseX_, baseY_);
}

ControlColours WebDialogWindow::coloursOf(int index) {
  const ControlState* s = model_.stateAt(index);
  if (s == nullptr || s->kind == ControlKind::PushButton) return {};
  return coloursFor(s->kind, model_.OnCtlColor(s->id, colourRequestOf(*s)));
}

void WebDialogWindow::sendControl(int index) {
  const ControlState* s = model_.stateAt(index);
  if (s == nullptr) return;
  const bool tabStop =
      takesInput(s->kind) && (!tabStopsGiven_ || (s->style & kTabStop) != 0);
  colours_[static_cast<std::size_t>(index)] = coloursOf(index);
  page::updateControl(number_, index,
                      controlJson(index, *s, pixelsOf(*s), tabStop,
                                  colours_[static_cast<std::size_t>(index)]));
}

void WebDialogWindow::open(bool firstControl) {
  const DialogTemplate& t = model_.dialogTemplate();
  const Rect client = dialogUnitsToPixels({0, 0, t.width, t.height}, baseX_, baseY_);
  PaintContext paint;
  model_.OnPaint(paint);
  background_ = jsonColour(paint.fill());
  std::string json = "{\"window\":" + std::to_string(number_) +
                     ",\"template\":" + std::to_string(t.id) +
                     ",\"caption\":" + jsonString(model_.GetWindowText()) +
                     ",\"width\":" + std::to_string(client.width) +
                     ",\"height\":" + std::to_string(client.height) +
                     ",\"font\":" + jsonString(cssFontFamilies(t.fontName)) +
                     ",\"fontPixels\":" + std::to_string(fontPixels(t.pointSize)) +
                     ",\"lineHeight\":" + std::to_string(baseY_) +
                     ",\"background\":" + background_ + ",\"menu\":[";
  const std::vector<SystemMenuItem>& menu = model_.systemMenu();
  for (std::size_t i = 0; i < menu.size(); ++i) {
    if (i > 0) json += ',';
    json += "{\"id\":" + std::to_string(menu[i].id) + ",\"text\":" + jsonString(menu[i].text) + "}";
  }
  json += "],\"controls\":[";
  const std::vector<ControlState>& controls = model_.controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const int index = static_cast<int>(i);
    const ControlState& s = controls[i];
    const bool tabStop = takesInput(s.kind) && (!tabStopsGiven_ || (s.style & kTabStop) != 0);
    colours_[i] = coloursOf(index);
    if (i > 0) json += ',';
    json += controlJson(index, s, pixelsOf(s), tabStop, colours_[i]);
  }
  json += "]}";
  page::openWindow(number_, json);
  shown_ = true;

  // The focus starts where the initialisation put it, or else on the first control Tab reaches.
  lastFocusId_ = model_.focusedControlId();
  int target = firstControl ? -1 : model_.indexOf(lastFocusId_);
  if (target < 0) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const ControlState& s = controls[i];
      if (takesInput(s.kind) && s.enabled && s.visible &&
          (!tabStopsGiven_ || (s.style & kTabStop) != 0)) {
        target = static_cast<int>(i);
        break;
      }
    }
  }
  if (target >= 0) {
    const ControlState* s = model_.stateAt(target);
    if (s != nullptr && s->id != kNoControlId) {
      model_.GotoDlgCtrl(s->id);
      lastFocusId_ = s->id;
    }
    page::focusControl(number_, target, false);
  }
}

int WebDialogWindow::runModal() {
  const bool firstControl = model_.initialize();
  if (model_.isEnded()) return model_.result();
  model_.setObserver(this);
  open(firstControl);
  while (!model_.isEnded()) {
    const std::optional<PageEvent> event = parsePageEvent(page::nextEvent());
    // Input for a window below this one cannot happen (the page blocks it); stale input for a
    // window that has gone is dropped.
    if (!event || event->window != number_) continue;
    handle(*event);
  }
  return model_.result();
}

void WebDialogWindow::handle(const PageEvent& event) {
  const ControlState* s = model_.stateAt(event.index);
  const int id = s == nullptr ? kNoControlId : s->id;
  switch (event.kind) {
    case PageEventKind::Click:
      model_.userClick(id);
      // The browser has already toggled a box; the dialog object decides what it holds.
      sendControl(event.index);
      break;
    case PageEventKind::Type:
      model_.userType(id, event.text);
      // A refused or shortened text shows what the control really holds.
      sendControl(event.index);
      break;
    case PageEventKind::Select:
      model_.userSelect(id, event.number);
      sendControl(event.index);
      break;
    case PageEventKind::Focus:
      // The dialog object follows where the user puts the focus, so that a later move of its
      // own (a refused value) is seen as a move.
      if (id != kNoControlId) {
        model_.GotoDlgCtrl(id);
        lastFocusId_ = id;
      }
      return;
    case PageEventKind::Enter:
      model_.userEnter();
      break;
    case PageEventKind::Escape:
      model_.userEscape();
      break;
    case PageEventKind::Close:
      model_.userCloseBox();
      break;
    case PageEventKind::SystemCommand:
      model_.userSystemCommand(event.number);
      break;
  }
  afterInput();
}

void WebDialogWindow::afterInput() {
  if (model_.isEnded()) return;
  followModelFocus();
  refreshColours();
}

void WebDialogWindow::refreshColours() {
  // A handler may change what the dialog paints or the colours it answers (a switch that turns
  // a label red): ask again after every input and send what changed.
  PaintContext paint;
  model_.OnPaint(paint);
  if (std::string background = jsonColour(paint.fill()); background != background_) {
    background_ = std::move(background);
    page::setBackground(number_, background_);
  }
  for (int i = 0; i < static_cast<int>(colours_.size()); ++i) {
    if (coloursOf(i) != colours_[static_cast<std::size_t>(i)]) sendControl(i);
  }
}

void WebDialogWindow::followModelFocus() {
  const int id = model_.focusedControlId();
  if (id == lastFocusId_) return;
  lastFocusId_ = id;
  const int index = model_.indexOf(id);
  const ControlState* s = model_.stateAt(index);
  if (s == nullptr || !s->enabled || !s->visible) return;
  // Moving to an edit selects its text, so that a refused value can be typed over.
  page::focusControl(number_, index, s->kind == ControlKind::Edit);
}

void WebDialogWindow::controlChanged(int index) {
  if (shown_) sendControl(index);
}

void WebDialogWindow::captionChanged() {
  if (shown_) page::setCaption(number_, toUtf8(model_.GetWindowText()));
}

}  // namespace tarnwick::tk::web
