#include "ui/toolkit/Control.h"

#include "ui/toolkit/CDialogEx.h"

#include <cassert>

namespace tarnwick::tk {

namespace {
const ControlState& emptyState() {
  static const ControlState empty;
  return empty;
}
}  // namespace

ControlState* Control::mutableState() const {
  return index_ >= 0 ? dialog_->stateAt(index_) : nullptr;
}

void Control::changed() const {
  if (index_ >= 0) dialog_->notifyChanged(index_);
}

const ControlState& Control::state() const {
  const ControlState* s = index_ >= 0 ? dialog_->stateAt(index_) : nullptr;
  return s != nullptr ? *s : emptyState();
}

int Control::GetDlgCtrlID() const { return state().id; }
ControlKind Control::kind() const { return state().kind; }

void Control::SetWindowText(const std::u16string& text) {
  if (auto* s = mutableState()) {
    s->text = text;
    changed();
  }
}

std::u16string Control::GetWindowText() const { return state().text; }

void Control::EnableWindow(bool enable) {
  if (auto* s = mutableState(); s != nullptr && s->enabled != enable) {
    s->enabled = enable;
    changed();
  }
}

bool Control::IsWindowEnabled() const { return state().enabled; }

void Control::ShowWindow(bool show) {
  if (auto* s = mutableState(); s != nullptr && s->visible != show) {
    s->visible = show;
    changed();
  }
}

bool Control::IsWindowVisible() const { return state().visible; }

int Control::AddString(const std::u16string& text) {
  auto* s = mutableState();
  if (s == nullptr) return -1;
  s->items.push_back(text);
  changed();
  return static_cast<int>(s->items.size()) - 1;
}

void Control::ResetContent() {
  if (auto* s = mutableState()) {
    s->items.clear();
    s->selection = -1;
    changed();
  }
}

int Control::SetCurSel(int position) {
  auto* s = mutableState();
  if (s == nullptr) return -1;
  const bool inList = position >= 0 && position < static_cast<int>(s->items.size());
  s->selection = inList ? position : -1;
  changed();
  return inList ? position : -1;
}

int Control::GetCurSel() const { return state().selection; }
int Control::GetCount() const { return static_cast<int>(state().items.size()); }

std::u16string Control::GetLBText(int position) const {
  const auto& items = state().items;
  if (position < 0 || position >= static_cast<int>(items.size())) return {};
  return items[static_cast<std::size_t>(position)];
}

void Control::SetCheck(int checkState) {
  if (auto* s = mutableState()) {
    s->check = checkState != 0 ? 1 : 0;
    changed();
  }
}

int Control::GetCheck() const { return state().check; }

void Control::SetPasswordChar(char16_t mask) {
  if (auto* s = mutableState()) {
    s->passwordChar = mask;
    changed();
  }
}

char16_t Control::GetPasswordChar() const { return state().passwordChar; }

void Control::LimitText(int maxChars) {
  if (auto* s = mutableState()) {
    s->textLimit = maxChars;
    changed();
  }
}

int Control::GetLimitText() const { return state().textLimit; }

void Control::SetFocus() {
  if (index_ >= 0) dialog_->GotoDlgCtrl(state().id);
}

}  // namespace tarnwick::tk
