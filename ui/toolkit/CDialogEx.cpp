#include "ui/toolkit/CDialogEx.h"

#include "config/TextConversions.h"
#include "ui/toolkit/Backend.h"
#include "ui/toolkit/DataExchange.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace tarnwick::tk {

namespace {
// The system menu's close command.
constexpr int kScClose = 0xF060;

std::string describe(int id) { return "control " + std::to_string(id); }
}  // namespace

CDialogEx::CDialogEx(const DialogTemplate& dialogTemplate)
    : template_(&dialogTemplate), caption_(fromUtf8(dialogTemplate.caption)) {
  controls_.reserve(dialogTemplate.controls.size());
  for (const ControlTemplate& t : dialogTemplate.controls) {
    ControlState s;
    s.id = t.id;
    s.kind = t.kind;
    s.rect = t.rect;
    s.style = t.style;
    if (t.kind != ControlKind::ComboBox) s.text = fromUtf8(t.caption);
    s.enabled = (t.style & kDisabled) == 0;
    s.visible = (t.style & kHidden) == 0;
    if (t.kind == ControlKind::Edit && (t.style & kPasswordEdit) != 0) {
      s.passwordChar = kDefaultPasswordChar;
    }
    if (t.id != kNoControlId) indexById_.emplace(t.id, static_cast<int>(controls_.size()));
    controls_.push_back(std::move(s));
  }
}

CDialogEx::~CDialogEx() = default;

int CDialogEx::DoModal() {
  Backend* backend = activeBackend();
  if (backend == nullptr) return IDCANCEL;
  ended_ = false;
  result_ = IDCANCEL;
  return backend->runModal(*this);
}

void CDialogEx::EndDialog(int result) {
  ended_ = true;
  result_ = result;
}

bool CDialogEx::OnInitDialog() {
  UpdateData(false);
  return true;
}

void CDialogEx::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void CDialogEx::OnCancel() { EndDialog(IDCANCEL); }

void CDialogEx::OnClose() { OnCancel(); }

void CDialogEx::OnSysCommand(int commandId) {
  if (commandId == kScClose) OnClose();
}

void CDialogEx::DoDataExchange(DataExchange& /*dx*/) {}

void CDialogEx::OnPaint(PaintContext& /*paint*/) {}

CtlColor CDialogEx::OnCtlColor(int /*controlId*/, CtlColorType /*type*/) { return {}; }

bool CDialogEx::UpdateData(bool saveAndValidate) {
  DataExchange dx(*this, saveAndValidate);
  DoDataExchange(dx);
  return !dx.failed();
}

int CDialogEx::indexOf(int id) const {
  const auto it = indexById_.find(id);
  return it == indexById_.end() ? -1 : it->second;
}

bool CDialogEx::HasDlgItem(int id) const { return indexOf(id) >= 0; }

Control CDialogEx::GetDlgItem(int id) {
  const int index = indexOf(id);
  assert(index >= 0 && "control id not in this dialog's template");
  return Control(*this, index);
}

ControlState* CDialogEx::stateAt(int index) {
  if (index < 0 || index >= static_cast<int>(controls_.size())) return nullptr;
  return &controls_[static_cast<std::size_t>(index)];
}

void CDialogEx::notifyChanged(int index) {
  if (observer_ != nullptr) observer_->controlChanged(index);
}

void CDialogEx::GotoDlgCtrl(int id) { focusId_ = id; }

void CDialogEx::SetWindowText(const std::u16string& caption) {
  caption_ = caption;
  if (observer_ != nullptr) observer_->captionChanged();
}

void CDialogEx::AppendSystemMenuItem(int id, const std::u16string& text) {
  systemMenu_.push_back({id, text});
}

int CDialogEx::MessageBox(const std::u16string& text) {
  Backend* backend = activeBackend();
  if (backend == nullptr) return IDOK;
  MessageBoxRequest request;
  request.text = text;
  request.caption = kApplicationName;
  request.owner = this;
  return backend->showMessageBox(request);
}

bool CDialogEx::initialize() { return OnInitDialog(); }

void CDialogEx::OnNotify(int id, Notification notification, Handler handler) {
  // emplace_back, not push_back({...}): a braced pair would copy the handler, not move it.
  handlers_.emplace_back(std::make_pair(id, notification), std::move(handler));
}

void CDialogEx::dispatch(int id, Notification notification) {
  // The newest binding wins, so a derived dialog's map overrides its base's, as message maps do.
  for (auto it = handlers_.rbegin(); it != handlers_.rend(); ++it) {
    if (it->first.first == id && it->first.second == notification) {
      const Handler handler = it->second;  // a handler may bind more handlers while it runs
      handler();
      return;
    }
  }
  // The toolkit's own commands when the dialog binds nothing else to them.
  if (notification == Notification::Clicked && id == IDOK) OnOK();
  if (notification == Notification::Clicked && id == IDCANCEL) OnCancel();
}

void CDialogEx::checkRadioInGroup(int index) {
  // A radio group runs from the control that starts it to the next control that starts a group.
  int first = index;
  while (first > 0 && (controls_[static_cast<std::size_t>(first)].style & kGroupStart) == 0) --first;
  int last = index + 1;
  while (last < static_cast<int>(controls_.size()) &&
         (controls_[static_cast<std::size_t>(last)].style & kGroupStart) == 0) {
    ++last;
  }
  for (int i = first; i < last; ++i) {
    ControlState& s = controls_[static_cast<std::size_t>(i)];
    if (s.kind != ControlKind::RadioButton) continue;
    const int want = i == index ? 1 : 0;
    if (s.check != want) {
      s.check = want;
      notifyChanged(i);
    }
  }
}

std::string CDialogEx::userClick(int id) {
  const int index = indexOf(id);
  if (index < 0) return describe(id) + " does not exist in dialog " + std::to_string(templateId());
  ControlState& s = controls_[static_cast<std::size_t>(index)];
  if (!s.visible) return describe(id) + " is hidden";
  if (!s.enabled) return describe(id) + " is disabled";
  switch (s.kind) {
    case ControlKind::PushButton:
      break;
    case ControlKind::RadioButton:
      checkRadioInGroup(index);
      break;
    case ControlKind::CheckBox:
      s.check = s.check != 0 ? 0 : 1;
      notifyChanged(index);
      break;
    default:
      return describe(id) + " is not a button";
  }
  focusId_ = id;
  dispatch(id, Notification::Clicked);
  return {};
}

std::string CDialogEx::userType(int id, const std::u16string& text) {
  const int index = indexOf(id);
  if (index < 0) return describe(id) + " does not exist in dialog " + std::to_string(templateId());
  ControlState& s = controls_[static_cast<std::size_t>(index)];
  if (s.kind != ControlKind::Edit) return describe(id) + " is not an edit box";
  if (!s.visible) return describe(id) + " is hidden";
  if (!s.enabled) return describe(id) + " is disabled";
  std::u16string typed = text;
  if (s.textLimit > 0 && typed.size() > static_cast<std::size_t>(s.textLimit)) {
    typed.resize(static_cast<std::size_t>(s.textLimit));
  }
  s.text = std::move(typed);
  focusId_ = id;
  notifyChanged(index);
  return {};
}

std::string CDialogEx::userSelect(int id, int position) {
  const int index = indexOf(id);
  if (index < 0) return describe(id) + " does not exist in dialog " + std::to_string(templateId());
  ControlState& s = controls_[static_cast<std::size_t>(index)];
  if (s.kind != ControlKind::ComboBox) return describe(id) + " is not a list";
  if (!s.visible) return describe(id) + " is hidden";
  if (!s.enabled) return describe(id) + " is disabled";
  if (position < 0 || position >= static_cast<int>(s.items.size())) {
    return describe(id) + " has no position " + std::to_string(position) + " (it holds " +
           std::to_string(s.items.size()) + " items)";
  }
  s.selection = position;
  focusId_ = id;
  notifyChanged(index);
  dispatch(id, Notification::SelectionChanged);
  return {};
}

void CDialogEx::userEnter() {
  // A push button with the focus takes Enter itself. Anywhere else Enter presses the default
  // push button, and without one it is the toolkit's OK command.
  if (const int focused = focusId_ == kNoControlId ? -1 : indexOf(focusId_); focused >= 0) {
    const ControlState& s = controls_[static_cast<std::size_t>(focused)];
    if (s.kind == ControlKind::PushButton && s.visible && s.enabled) {
      dispatch(s.id, Notification::Clicked);
      return;
    }
  }
  for (const ControlState& s : controls_) {
    if (s.kind == ControlKind::PushButton && (s.style & kDefaultButton) != 0 && s.visible &&
        s.enabled) {
      dispatch(s.id, Notification::Clicked);
      return;
    }
  }
  dispatch(IDOK, Notification::Clicked);
}

bool CDialogEx::userArrow(bool forward) {
  const int focused = focusId_ == kNoControlId ? -1 : indexOf(focusId_);
  if (focused < 0 || controls_[static_cast<std::size_t>(focused)].kind != ControlKind::RadioButton) {
    return false;
  }
  // The group runs from the control that starts it to the next control that starts a group.
  int first = focused;
  while (first > 0 && (controls_[static_cast<std::size_t>(first)].style & kGroupStart) == 0) {
    --first;
  }
  int end = focused + 1;
  while (end < static_cast<int>(controls_.size()) &&
         (controls_[static_cast<std::size_t>(end)].style & kGroupStart) == 0) {
    ++end;
  }
  const int size = end - first;
  for (int step = 1; step < size; ++step) {
    const int offset = forward ? step : size - step;
    const int i = first + (focused - first + offset) % size;
    const ControlState& s = controls_[static_cast<std::size_t>(i)];
    if (s.kind == ControlKind::RadioButton && s.enabled && s.visible) {
      return userClick(s.id).empty();
    }
  }
  return false;
}

void CDialogEx::userEscape() { dispatch(IDCANCEL, Notification::Clicked); }

void CDialogEx::userCloseBox() { OnClose(); }

std::string CDialogEx::userSystemCommand(int commandId) {
  const bool listed = std::any_of(systemMenu_.begin(), systemMenu_.end(), [&](const auto& item) {
    return item.id == commandId && commandId != 0;
  });
  if (!listed && commandId != kScClose) {
    return "the system menu has no command " + std::to_string(commandId);
  }
  OnSysCommand(commandId);
  return {};
}

}  // namespace tarnwick::tk
