#pragma once

#include "ui/toolkit/headless/HeadlessBackend.h"
#include "ui/toolkit/headless/Script.h"

#include <functional>
#include <string>

namespace tarnwick::tk {

// Plays a parsed script as the user of a headless run.
class ScriptUser : public ScriptedUser {
 public:
  explicit ScriptUser(const Script& script) : script_(script) {}
  void attach(HeadlessBackend& backend) { backend_ = &backend; }

  void act(CDialogEx& top) override;
  int answerMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> answerFileDialog(const FileDialogRequest& request) override;

  bool finished() const { return next_ >= script_.steps.size(); }
  std::size_t position() const override { return next_; }
  const ScriptStep* nextStep() const { return finished() ? nullptr : &script_.steps[next_]; }

 private:
  void fail(const ScriptStep& step, const std::string& what);
  bool check(const ScriptStep& step, CDialogEx& top);  // false after a failed expectation
  void perform(const ScriptStep& step, CDialogEx& top);

  const Script& script_;
  std::size_t next_ = 0;
  HeadlessBackend* backend_ = nullptr;
};

struct ScriptOutcome {
  bool ok = false;
  std::string message;  // "line N: ..." when not ok
};

// Runs `program` (which opens the program's windows and returns when they have all closed) on
// the headless backend, driven by `script`.
ScriptOutcome runScript(const Script& script, const std::function<void()>& program);

// Parses and runs a script text; syntax errors come back as a failed outcome.
ScriptOutcome runScriptText(std::string_view text, const std::function<void()>& program);

}  // namespace tarnwick::tk
