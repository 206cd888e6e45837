#include "ui/toolkit/DialogHost.h"

#include <algorithm>

namespace tarnwick::tk {

namespace {
bool takesInput(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::ComboBox ||
         kind == ControlKind::CheckBox || kind == ControlKind::RadioButton ||
         kind == ControlKind::PushButton;
}

bool tabStopsGiven(const std::vector<ControlState>& controls) {
  return std::any_of(controls.begin(), controls.end(),
                     [](const ControlState& s) { return (s.style & kTabStop) != 0; });
}

bool focusable(const ControlState& s) { return takesInput(s.kind) && s.enabled && s.visible; }
}  // namespace

int initialFocusIndex(const CDialogEx& dialog, bool firstControl) {
  const std::vector<ControlState>& controls = dialog.controls();
  if (!firstControl) {
    const int chosen = dialog.indexOf(dialog.focusedControlId());
    if (chosen >= 0 && focusable(controls[static_cast<std::size_t>(chosen)])) return chosen;
  }
  const bool marked = tabStopsGiven(controls);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ControlState& s = controls[i];
    if (focusable(s) && (!marked || (s.style & kTabStop) != 0)) return static_cast<int>(i);
  }
  return -1;
}

int placeInitialFocus(CDialogEx& dialog, bool firstControl) {
  const int index = initialFocusIndex(dialog, firstControl);
  if (index >= 0) dialog.GotoDlgCtrl(dialog.controls()[static_cast<std::size_t>(index)].id);
  return index;
}

DialogHost::DialogHost(CDialogEx& dialog, NativeWindow& window)
    : dialog_(dialog), window_(window) {
  const std::vector<ControlState>& controls = dialog.controls();
  tabStopsGiven_ = std::any_of(controls.begin(), controls.end(),
                               [](const ControlState& s) { return (s.style & kTabStop) != 0; });
}

DialogHost::~DialogHost() { dialog_.setObserver(nullptr); }

bool DialogHost::start() {
  dialog_.setObserver(this);
  firstControlFocus_ = dialog_.initialize();
  return !dialog_.isEnded();
}

void DialogHost::showInitialState() {
  window_.showCaption();
  window_.showIcon(dialog_.iconResourceId());
  showLooks();
  // OnInitDialog returning true puts the focus on the first tab stop; false keeps the focus
  // where the dialog put it (GotoDlgCtrl). The dialog object is told, as every backend does.
  // An edit that gets the first focus has its text selected, as the desktop's dialogs do, so a
  // value typed at once replaces the one shown ("0000" in a four-character box).
  const int index = placeInitialFocus(dialog_, firstControlFocus_);
  lastFocusId_ = dialog_.focusedControlId();
  if (index >= 0) focusOn(index, isEdit(index));
}

std::string DialogHost::click(int id) {
  std::string problem = dialog_.userClick(id);
  // A native button has already toggled itself; the dialog decides what it holds.
  showTaker(id);
  afterInput();
  return problem;
}

std::string DialogHost::type(int id, const std::u16string& text) {
  std::string problem = dialog_.userType(id, text);
  // A refused or shortened text shows what the control really holds.
  showTaker(id);
  afterInput();
  return problem;
}

std::string DialogHost::select(int id, int position) {
  std::string problem = dialog_.userSelect(id, position);
  showTaker(id);
  afterInput();
  return problem;
}

void DialogHost::enter() {
  // The dialog knows where the focus is (focusedByUser keeps it told) and decides between the
  // focused button, the default button and OK.
  dialog_.userEnter();
  afterInput();
}

bool DialogHost::arrow(bool forward) {
  const int before = dialog_.focusedControlId();
  const bool taken = dialog_.userArrow(forward);
  if (!taken) return false;
  showTaker(before);
  afterInput();
  return true;
}

void DialogHost::escape() {
  dialog_.userEscape();
  afterInput();
}

void DialogHost::closeBox() {
  dialog_.userCloseBox();
  afterInput();
}

std::string DialogHost::systemCommand(int commandId) {
  std::string problem = dialog_.userSystemCommand(commandId);
  afterInput();
  return problem;
}

void DialogHost::focusedByUser(int id, bool byKeyboard) {
  // The dialog follows where the user puts the focus, so that a later move of its own (a refused
  // value) is seen as a move.
  if (id == kNoControlId || !dialog_.HasDlgItem(id)) return;
  dialog_.GotoDlgCtrl(id);
  lastFocusId_ = id;
  const int index = dialog_.indexOf(id);
  if (byKeyboard && isEdit(index)) window_.moveFocus(index, true);
  window_.bringIntoView(index);
}

bool DialogHost::contextMenu(bool byKeyboard) {
  if (dialog_.systemMenu().empty() || dialog_.isEnded()) return false;
  const int near = byKeyboard ? dialog_.indexOf(dialog_.focusedControlId()) : -1;
  if (const std::optional<int> chosen = window_.showSystemMenu(near)) systemCommand(*chosen);
  return true;
}

std::string DialogHost::handle(const InputEvent& event) {
  switch (event.kind) {
    case InputEvent::Kind::Click:
      return click(event.id);
    case InputEvent::Kind::Type:
      return type(event.id, event.text);
    case InputEvent::Kind::Select:
      return select(event.id, event.position);
    case InputEvent::Kind::Enter:
      enter();
      return {};
    case InputEvent::Kind::Escape:
      escape();
      return {};
    case InputEvent::Kind::CloseBox:
      closeBox();
      return {};
    case InputEvent::Kind::SystemCommand:
      return systemCommand(event.id);
    case InputEvent::Kind::FocusIn:
      focusedByUser(event.id, event.position == 1);
      return {};
    case InputEvent::Kind::MenuKey:
      contextMenu(true);
      return {};
    case InputEvent::Kind::Arrow:
      arrow(event.position > 0);
      return {};
  }
  return {};
}

int DialogHost::runModal(InputSource& source) {
  while (!dialog_.isEnded()) {
    std::optional<InputEvent> event = source.nextInput();
    if (!event) break;
    handle(*event);
  }
  finish();
  if (!closed_) {
    closed_ = true;
    window_.closeWindow(dialog_.result());
  }
  return dialog_.result();
}

int DialogHost::finish() {
  if (!dialog_.isEnded()) dialog_.EndDialog(IDCANCEL);
  return dialog_.result();
}

bool DialogHost::closeRequested() {
  if (!dialog_.isEnded()) dialog_.userCloseBox();
  return dialog_.isEnded();
}

PaintContext DialogHost::paint() {
  PaintContext paint;
  dialog_.OnPaint(paint);
  return paint;
}

CtlColorType DialogHost::colourRequestOf(const ControlState& state) {
  switch (state.kind) {
    case ControlKind::Edit:
      return state.enabled ? CtlColorType::Edit : CtlColorType::Static;
    case ControlKind::ComboBox:
      return CtlColorType::ListBox;
    case ControlKind::PushButton:
      return CtlColorType::Button;
    default:
      return CtlColorType::Static;
  }
}

CtlColor DialogHost::coloursOf(int index) {
  const ControlState* state = dialog_.stateAt(index);
  // Push buttons keep the native look, as themed buttons do: they make no colour request.
  if (state == nullptr || state->kind == ControlKind::PushButton) return {};
  return dialog_.OnCtlColor(state->id, colourRequestOf(*state));
}

ControlLook DialogHost::lookOf(int index) {
  const ControlState* state = dialog_.stateAt(index);
  if (state == nullptr) return {};
  return controlLook(*state, coloursOf(index), paint().fill(), window_.nativePalette());
}

void DialogHost::showLooks() {
  for (int i = 0; i < static_cast<int>(dialog_.controls().size()); ++i) {
    window_.showLook(i, lookOf(i));
  }
}

bool DialogHost::takesFocus(int index) const {
  if (index < 0 || index >= static_cast<int>(dialog_.controls().size())) return false;
  return takesInput(dialog_.controls()[static_cast<std::size_t>(index)].kind);
}

bool DialogHost::isTabStop(int index) const {
  if (!takesFocus(index)) return false;
  return !tabStopsGiven_ ||
         (dialog_.controls()[static_cast<std::size_t>(index)].style & kTabStop) != 0;
}

bool DialogHost::canFocus(int index) const {
  if (!takesFocus(index)) return false;
  const ControlState& s = dialog_.controls()[static_cast<std::size_t>(index)];
  return s.enabled && s.visible;
}

void DialogHost::showTaker(int id) {
  if (const int index = dialog_.indexOf(id); index >= 0) window_.showControl(index);
}

void DialogHost::controlChanged(int index) { window_.showControl(index); }

void DialogHost::captionChanged() { window_.showCaption(); }

void DialogHost::afterInput() {
  if (dialog_.isEnded()) {
    if (!closed_) {
      closed_ = true;
      window_.closeWindow(dialog_.result());
    }
    return;
  }
  window_.showIcon(dialog_.iconResourceId());
  followFocus();
  showLooks();
  window_.repaintBackground();
}

void DialogHost::followFocus() {
  const int id = dialog_.focusedControlId();
  if (id == lastFocusId_) return;
  lastFocusId_ = id;
  const int index = dialog_.indexOf(id);
  if (index < 0 || !canFocus(index)) return;
  // Moving to an edit selects its text, so that a refused value can be typed over.
  focusOn(index, isEdit(index));
}

void DialogHost::focusOn(int index, bool selectText) {
  window_.moveFocus(index, selectText);
  window_.bringIntoView(index);
}

bool DialogHost::isEdit(int index) const {
  return index >= 0 && index < static_cast<int>(dialog_.controls().size()) &&
         dialog_.controls()[static_cast<std::size_t>(index)].kind == ControlKind::Edit;
}

std::optional<InputEvent> InputQueue::pop() {
  if (events_.empty()) return std::nullopt;
  InputEvent event = std::move(events_.front());
  events_.pop_front();
  return event;
}

}  // namespace tarnwick::tk
