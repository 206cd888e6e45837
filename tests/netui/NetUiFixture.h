#pragma once

#include "config/ConfigRecord.h"
#include "config/Defaults.h"
#include "config/FieldCatalog.h"
#include "config/TextConversions.h"
#include "network/AnsiText.h"
#include "network/OperatorDb.h"
#include "network/OperatorDbWriter.h"
#include "ui/network/CMmsSetupDlg.h"
#include "ui/toolkit/headless/HeadlessBackend.h"
#include "ui/toolkit/headless/ScriptRunner.h"

#include <gtest/gtest.h>
#include "ScratchFolder.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace tarnwick::netui_test {

// Every test runs in a fresh, empty working directory (the window reads oper.db from there),
// on a record that has been through the factory defaults, with the built-in operator table.
class NetUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    dir_ = tarnwick::test_support::makeScratchFolder("tarnwick-netui");
    ASSERT_FALSE(dir_.empty());
    std::filesystem::current_path(dir_);
    programRecord() = ConfigRecord{};
    applyDefaults(programRecord());
    resetOperatorTable();
  }

  void TearDown() override {
    releaseOperatorTable();
    resetOperatorTable();
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  static ConfigRecord& record() { return programRecord(); }

  // Opens the window once and lets the script play the user.
  static ::testing::AssertionResult play(std::string_view script) {
    const tk::ScriptOutcome outcome = tk::runScriptText(script, [] {
      CMmsSetupDlg dialog;
      dialog.DoModal();
    });
    if (outcome.ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << outcome.message;
  }

  static void setText(const FieldInfo& field, std::u16string_view text) {
    textToField(FormText(text), record().field(field));
  }
  static std::string textOf(const FieldInfo& field) {
    return toUtf8(fieldToText(record().field(field)));
  }
  static bool allZero(const FieldInfo& field) {
    for (std::uint8_t b : record().field(field)) {
      if (b != 0) return false;
    }
    return true;
  }

  std::filesystem::path dir_;

 private:
  std::filesystem::path previous_;
};

// The text the window shows for field `number` (1-9) of a built-in operator, cut to the width
// of the record field it is stored to, as UTF-8 for scripts.
inline std::string builtinParameter(int country, int op, std::size_t number, std::size_t width) {
  const OperatorEntry* row = programOperatorTable().operatorAt(country, op);
  if (row == nullptr) return {};
  std::u16string text = ansiToFormText(row->field(number));
  if (text.size() > width) text.resize(width);
  return toUtf8(text);
}

// Escapes a text for a script's double-quoted string.
inline std::string scriptString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace tarnwick::netui_test
