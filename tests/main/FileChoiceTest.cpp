// Loading and saving through a front end without paths (a browser): "open" hands over the
// uploaded file's bytes, "save" names a file and takes the written bytes back as a download.
// The messages are the ones the path way shows.

#include "ui/main/CTarnwickDlg.h"

#include "config/ConfigFile.h"
#include "config/ConfigRecord.h"
#include "config/FieldCatalog.h"
#include "resources/templates/MainWindowTemplate.h"
#include "ui/main/CTarnwickApp.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

namespace ids = resources::ids::tarnwickDlg;

struct PathlessSession {
  PathlessSession() {
    user.backend = &backend;
    user.onAct = [this](tk::CDialogEx& top) {
      if (clicks.empty()) return top.userEscape();
      const int id = clicks.front();
      clicks.erase(clicks.begin());
      beforeClick = programRecord();
      EXPECT_EQ(top.userClick(id), "");
    };
    user.onMessage = [](const tk::MessageBoxRequest&) { return tk::IDOK; };
    user.onChoose = [this](const tk::FileDialogRequest& request) {
      readLimits.push_back(request.readLimit);
      return answer;
    };
    user.onDeliver = [this](const tk::ChosenFile& file, std::span<const std::uint8_t> bytes) {
      deliveredName = file.name;
      delivered.assign(bytes.begin(), bytes.end());
      return deliveryProblem;
    };
  }

  void run(const ConfigRecord& start = ConfigRecord{}) {
    programRecord() = start;
    tk::ScopedBackend scoped(backend);
    CTarnwickApp().InitInstance();
  }

  std::vector<std::u16string> texts() const {
    std::vector<std::u16string> out;
    for (const tk::MessageBoxRequest& r : backend.shownMessages()) out.push_back(r.text);
    return out;
  }

  tk::CallbackUser user;
  tk::HeadlessBackend backend{user};
  std::vector<int> clicks;
  std::optional<tk::ChosenFile> answer;
  std::optional<std::string> deliveryProblem;
  std::string deliveredName;
  std::vector<std::uint8_t> delivered;
  std::vector<std::uint64_t> readLimits;
  ConfigRecord beforeClick;
};

ConfigRecord sampleRecord() {
  ConfigRecord record;
  record.setUInt32(fields::interval, 0x0102);
  return record;
}

TEST(FileChoiceTest, AnUploadedFileLoadsFromItsFirst1792Bytes) {
  const auto image = encodeConfigImage(sampleRecord());
  std::vector<std::uint8_t> upload(image.begin(), image.end());
  upload.resize(upload.size() + 40, 0x55);  // a longer file loads from its first 1792 bytes

  PathlessSession s;
  s.clicks = {ids::kLoadConfigButton};
  s.answer = tk::ChosenFile{{}, "menu.cfg", upload, {}};
  s.run();
  EXPECT_FALSE(s.backend.failed()) << s.backend.failure();
  EXPECT_TRUE(s.texts().empty());
  EXPECT_EQ(programRecord(), sampleRecord());
  // The front end is told to read no more than the record: a huge file costs no memory.
  EXPECT_EQ(s.readLimits, std::vector<std::uint64_t>{kRecordSize});
}

// A file the browser refused to read (too large for it, or taken away) is one that cannot be
// opened.
TEST(FileChoiceTest, AnUploadTheFrontEndCouldNotReadIsNoConfigFile) {
  PathlessSession s;
  s.clicks = {ids::kLoadConfigButton};
  s.answer = tk::ChosenFile{{}, "menu.cfg", std::nullopt, "The requested file could not be read"};
  s.run(sampleRecord());
  EXPECT_EQ(s.texts(), std::vector<std::u16string>{u"No Config File!"});
  EXPECT_EQ(programRecord(), s.beforeClick);
  EXPECT_FALSE(s.backend.failed()) << s.backend.failure();
}

TEST(FileChoiceTest, AShortUploadIsASizeErrorAndLeavesTheRecord) {
  PathlessSession s;
  s.clicks = {ids::kLoadConfigButton};
  s.answer = tk::ChosenFile{{}, "menu.cfg", std::vector<std::uint8_t>(kRecordSize - 1, 0xFF), {}};
  s.run(sampleRecord());
  EXPECT_EQ(s.texts(), std::vector<std::u16string>{u"File Size Error!"});
  EXPECT_EQ(programRecord(), s.beforeClick);

  // Neither a path nor bytes: nothing was chosen, nothing is said.
  PathlessSession empty;
  empty.clicks = {ids::kLoadConfigButton};
  empty.answer = tk::ChosenFile{{}, "menu.cfg", std::nullopt, {}};
  empty.run(sampleRecord());
  EXPECT_TRUE(empty.texts().empty());
  EXPECT_FALSE(empty.backend.failed()) << empty.backend.failure();
}

TEST(FileChoiceTest, ASaveWithoutAPathDeliversTheFileImageUnderItsName) {
  PathlessSession s;
  s.clicks = {ids::kSaveConfigButton};
  s.answer = tk::ChosenFile{{}, "camera", std::nullopt, {}};
  s.run(sampleRecord());
  EXPECT_EQ(s.texts(), std::vector<std::u16string>{u"Save Config File OK!"});
  EXPECT_EQ(s.deliveredName, "camera.cfg");  // the default extension, as for a path
  ASSERT_EQ(s.delivered.size(), kRecordSize);
  ConfigRecord back;
  ASSERT_EQ(errorKind(readConfigBytes(s.delivered, back)), std::nullopt);
  // The record as the form collected it before the save: what a path save would write.
  EXPECT_EQ(back, programRecord());
}

TEST(FileChoiceTest, AFailedDeliveryIsReportedAsAFailedSave) {
  PathlessSession s;
  s.clicks = {ids::kSaveConfigButton};
  s.answer = tk::ChosenFile{{}, "camera.cfg", std::nullopt, {}};
  s.deliveryProblem = "the download was refused";
  s.run();
  EXPECT_EQ(s.texts(),
            std::vector<std::u16string>{u"Cannot save camera.cfg: the download was refused"});
  ASSERT_EQ(s.backend.shownMessages().size(), 1u);
  EXPECT_EQ(s.backend.shownMessages()[0].flags, 0x30u);

  // A save answered with no name at all was cancelled: nothing delivered, nothing said.
  PathlessSession unnamed;
  unnamed.clicks = {ids::kSaveConfigButton};
  unnamed.answer = tk::ChosenFile{};
  unnamed.run();
  EXPECT_TRUE(unnamed.texts().empty());
  EXPECT_TRUE(unnamed.delivered.empty());
}

}  // namespace
}  // namespace tarnwick
