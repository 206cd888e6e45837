#include "ui/toolkit/headless/ScriptRunner.h"

#include "config/TextConversions.h"

namespace tarnwick::tk {

namespace {
using K = ScriptStep::Kind;

std::string quote(const std::u16string& text) { return "\"" + toUtf8(text) + "\""; }
std::string yesNo(bool b) { return b ? "yes" : "no"; }
}  // namespace

void ScriptUser::fail(const ScriptStep& step, const std::string& what) {
  if (backend_ != nullptr) {
    backend_->fail("line " + std::to_string(step.line) + ": " + describeStep(step) + ": " + what);
  }
}

bool ScriptUser::check(const ScriptStep& step, CDialogEx& top) {
  if (step.kind == K::ExpectDialog) {
    if (top.templateId() != step.id) {
      fail(step, "the open dialog is " + std::to_string(top.templateId()));
      return false;
    }
    return true;
  }
  if (step.kind == K::ExpectCaption) {
    const std::u16string& caption = top.GetWindowText();
    if (caption.compare(0, step.text.size(), step.text) != 0) {
      fail(step, "the caption is " + quote(caption));
      return false;
    }
    return true;
  }
  if (step.kind == K::ExpectFocus) {
    if (top.focusedControlId() != step.id) {
      fail(step, top.focusedControlId() == kNoControlId
                     ? std::string("no control has the focus")
                     : "the focus is on " + std::to_string(top.focusedControlId()));
      return false;
    }
    return true;
  }
  if (!top.HasDlgItem(step.id)) {
    fail(step, "dialog " + std::to_string(top.templateId()) + " has no control " +
                   std::to_string(step.id));
    return false;
  }
  const ControlState& s = top.controls()[static_cast<std::size_t>(top.indexOf(step.id))];
  switch (step.kind) {
    case K::ExpectText:
      if (s.text != step.text) return fail(step, "the text is " + quote(s.text)), false;
      break;
    case K::ExpectSelection:
      if (s.selection != step.number) {
        return fail(step, "the selection is " + std::to_string(s.selection)), false;
      }
      break;
    case K::ExpectCount:
      if (static_cast<int>(s.items.size()) != step.number) {
        return fail(step, "the list holds " + std::to_string(s.items.size()) + " items"), false;
      }
      break;
    case K::ExpectItem:
      if (step.number < 0 || step.number >= static_cast<int>(s.items.size())) {
        return fail(step, "the list holds " + std::to_string(s.items.size()) + " items"), false;
      }
      if (s.items[static_cast<std::size_t>(step.number)] != step.text) {
        return fail(step, "the item is " + quote(s.items[static_cast<std::size_t>(step.number)])),
               false;
      }
      break;
    case K::ExpectEnabled:
      if (s.enabled != step.flag) return fail(step, "it is " + yesNo(s.enabled)), false;
      break;
    case K::ExpectChecked:
      if ((s.check != 0) != step.flag) return fail(step, "it is " + yesNo(s.check != 0)), false;
      break;
    case K::ExpectVisible:
      if (s.visible != step.flag) return fail(step, "it is " + yesNo(s.visible)), false;
      break;
    case K::ExpectMasked:
      if ((s.passwordChar != 0) != step.flag) {
        return fail(step, "it is " + yesNo(s.passwordChar != 0)), false;
      }
      break;
    default:
      break;
  }
  return true;
}

void ScriptUser::perform(const ScriptStep& step, CDialogEx& top) {
  std::string problem;
  switch (step.kind) {
    case K::Click: problem = top.userClick(step.id); break;
    case K::Type: problem = top.userType(step.id, step.text); break;
    case K::Select: problem = top.userSelect(step.id, step.number); break;
    case K::KeyEnter: top.userEnter(); break;
    case K::KeyEscape: top.userEscape(); break;
    case K::KeyArrow: top.userArrow(step.flag); break;
    case K::Close: top.userCloseBox(); break;
    case K::SysMenu: problem = top.userSystemCommand(step.id); break;
    default: break;
  }
  if (!problem.empty()) fail(step, problem);
}

void ScriptUser::act(CDialogEx& top) {
  while (!finished()) {
    const ScriptStep& step = script_.steps[next_++];
    if (step.isAnswer()) {
      fail(step, "no message box or file dialog is open (dialog " +
                     std::to_string(top.templateId()) + " is)");
      return;
    }
    if (step.isExpectation()) {
      if (!check(step, top)) return;
      continue;
    }
    perform(step, top);
    return;
  }
  if (backend_ != nullptr) {
    backend_->fail("the script ended while dialog " + std::to_string(top.templateId()) +
                   " is still open");
  }
}

int ScriptUser::answerMessageBox(const MessageBoxRequest& request) {
  const std::string shown = "the program shows the message " + quote(request.text);
  if (finished()) {
    if (backend_ != nullptr) backend_->fail("the script ended while " + shown);
    return IDOK;
  }
  const ScriptStep& step = script_.steps[next_++];
  const bool yesNo = request.buttons == MessageButtons::YesNo;
  switch (step.kind) {
    case K::MessageAny:
      if (!yesNo) return IDOK;
      break;
    case K::Message:
      if (!yesNo && request.text == step.text) return IDOK;
      break;
    case K::Question:
      if (yesNo && request.text == step.text) return step.flag ? IDYES : IDNO;
      break;
    case K::QuestionDefault:
      if (yesNo && request.text == step.text) {
        return request.defaultButton == DefaultButton::Second ? IDNO : IDYES;
      }
      break;
    default:
      break;
  }
  fail(step, shown + (yesNo ? " with Yes and No" : ""));
  return yesNo ? IDNO : IDOK;
}

std::optional<std::string> ScriptUser::answerFileDialog(const FileDialogRequest& request) {
  const std::string shown =
      std::string("the program shows the ") + (request.save ? "save-file" : "open-file") + " dialog";
  if (finished()) {
    if (backend_ != nullptr) backend_->fail("the script ended while " + shown);
    return std::nullopt;
  }
  // What the dialog starts with is checked before it is answered.
  while (script_.steps[next_].kind == K::ExpectFileDialog) {
    const ScriptStep& expected = script_.steps[next_++];
    if (request.initialFolder != expected.path || request.initialName != expected.text) {
      fail(expected, shown + " in \"" + request.initialFolder + "\" with the name " +
                         quote(request.initialName));
      return std::nullopt;
    }
    if (finished()) {
      if (backend_ != nullptr) backend_->fail("the script ended while " + shown);
      return std::nullopt;
    }
  }
  const ScriptStep& step = script_.steps[next_++];
  if (request.save) {
    if (step.kind == K::SaveFile) return step.path;
    if (step.kind == K::SaveFileCancel) return std::nullopt;
  } else {
    if (step.kind == K::OpenFile) return step.path;
    if (step.kind == K::OpenFileCancel) return std::nullopt;
  }
  fail(step, shown);
  return std::nullopt;
}

ScriptOutcome runScript(const Script& script, const std::function<void()>& program) {
  ScriptUser user(script);
  HeadlessBackend backend(user);
  user.attach(backend);
  {
    ScopedBackend scoped(backend);
    program();
  }
  if (!backend.failed() && !user.finished()) {
    const ScriptStep* step = user.nextStep();
    backend.fail("line " + std::to_string(step->line) + ": " + describeStep(*step) +
                 ": the program has already ended");
  }
  if (backend.failed()) return {false, backend.failure()};
  return {true, {}};
}

ScriptOutcome runScriptText(std::string_view text, const std::function<void()>& program) {
  auto parsed = parseScript(text);
  if (auto* error = std::get_if<ScriptSyntaxError>(&parsed)) {
    return {false, "line " + std::to_string(error->line) + ": " + error->message};
  }
  return runScript(std::get<Script>(parsed), program);
}

}  // namespace tarnwick::tk
