#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tarnwick::tk {

// One line of a UI script: a user's action, an expectation about the top dialog, or the answer
// to a message box or file dialog that the program shows (with expect-file-dialog, the folder
// and name the next file dialog must start with).
struct ScriptStep {
  enum class Kind {
    ExpectDialog, Click, Type, Select, KeyEnter, KeyEscape, KeyArrow, Close, SysMenu,
    ExpectText, ExpectSelection, ExpectCount, ExpectItem, ExpectEnabled, ExpectChecked,
    ExpectVisible, ExpectCaption, ExpectFocus, ExpectMasked,
    Message, MessageAny, Question, QuestionDefault, OpenFile, SaveFile, OpenFileCancel,
    SaveFileCancel, ExpectFileDialog,
  };
  Kind kind = Kind::Click;
  int line = 0;       // 1-based line in the script
  int id = 0;         // control or dialog id, or system command
  int number = 0;     // list position or count
  bool flag = false;  // yes / no; key: forward (right, down)
  std::u16string text;
  std::string path;   // UTF-8 file path; the folder of expect-file-dialog

  bool isAnswer() const { return kind >= Kind::Message; }
  bool isExpectation() const {
    return kind == Kind::ExpectDialog || (kind >= Kind::ExpectText && kind <= Kind::ExpectMasked);
  }
};

struct Script {
  std::vector<ScriptStep> steps;
};

struct ScriptSyntaxError {
  int line = 0;
  std::string message;
};

// Parses a whole script; the first line that does not parse is reported with its number.
std::variant<Script, ScriptSyntaxError> parseScript(std::string_view text);

// A short description of a step as written, for messages ("click 1013").
std::string describeStep(const ScriptStep& step);

}  // namespace tarnwick::tk
