// File dialogs start where the user last went: a save after a load proposes the loaded file's
// folder, never the folder the program was started from each time.
#include "ui/toolkit/Backend.h"
#include "ui/toolkit/CFileDialog.h"
#include "ui/toolkit/Types.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::tk {
namespace {

// Answers every file dialog with the next path and records what it was asked.
class FileAnswers : public Backend {
 public:
  int runModal(CDialogEx&) override { return IDCANCEL; }
  int showMessageBox(const MessageBoxRequest&) override { return IDOK; }
  std::optional<std::string> showFileDialog(const FileDialogRequest& request) override {
    asked.push_back(request);
    if (next >= answers.size()) return std::nullopt;
    return answers[next++];
  }
  std::vector<std::optional<std::string>> answers;
  std::size_t next = 0;
  std::vector<FileDialogRequest> asked;
};

class FileDialogFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    setFileDialogFolder({});
    setBackend(&backend_);
  }
  void TearDown() override {
    setBackend(nullptr);
    setFileDialogFolder({});
  }
  int run(bool open) {
    CFileDialog dialog(open, u"cfg", u"menu", u"Config file(*.cfg)|*.cfg||", nullptr);
    return dialog.DoModal();
  }
  FileAnswers backend_;
};

// A folder as the system writes it: "/media/user/CARD" on POSIX systems; on Windows the same
// path on the current drive, with backslashes ("Z:\\media\\user\\CARD" under Wine).
std::string systemFolder(const char* posixFolder) {
#ifdef _WIN32
  return std::filesystem::absolute(posixFolder).make_preferred().string();
#else
  return posixFolder;
#endif
}

TEST_F(FileDialogFolder, EachDialogStartsInTheFolderOfTheLastFileChosen) {
  backend_.answers = {"/media/user/CARD/menu.cfg", std::nullopt, "/home/user/backup/copy",
                      "/tmp/x.cfg"};
  EXPECT_EQ(run(true), IDOK);    // load from the card
  EXPECT_EQ(run(false), IDCANCEL);  // a cancelled save changes nothing
  EXPECT_EQ(run(false), IDOK);   // the save starts on the card, the user goes elsewhere
  EXPECT_EQ(run(true), IDOK);
  ASSERT_EQ(backend_.asked.size(), 4u);
  EXPECT_EQ(backend_.asked[0].initialFolder, "");  // nothing chosen yet: the backend decides
  EXPECT_EQ(backend_.asked[1].initialFolder, systemFolder("/media/user/CARD"));
  EXPECT_TRUE(backend_.asked[1].save);
  EXPECT_EQ(backend_.asked[1].initialName, u"menu");
  EXPECT_EQ(backend_.asked[2].initialFolder, systemFolder("/media/user/CARD"));
  EXPECT_EQ(backend_.asked[3].initialFolder, systemFolder("/home/user/backup"));
  EXPECT_EQ(fileDialogFolder(), systemFolder("/tmp"));
}

TEST_F(FileDialogFolder, ARelativeChoiceIsRememberedAsAnAbsoluteFolder) {
  backend_.answers = {"sub/menu.cfg"};
  EXPECT_EQ(run(true), IDOK);
  EXPECT_EQ(fileDialogFolder(), (std::filesystem::current_path() / "sub").string());
}

}  // namespace
}  // namespace tarnwick::tk
