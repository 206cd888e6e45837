#include "resources/templates/MmsSetupTemplate.h"

#include <array>

namespace tarnwick::resources {

namespace {
using tk::ControlKind;
using tk::ControlTemplate;
using tk::kNoControlId;
using namespace ids::mmsSetupDlg;

constexpr std::uint32_t kPlain = tk::kStyleNone;
// Drop-down lists: a choice, no typing.
constexpr std::uint32_t kList = tk::kTabStop | tk::kVScroll;
// Single-line boxes with a border that scroll sideways as the user types.
constexpr std::uint32_t kBox = tk::kBorder | tk::kAutoHScroll | tk::kTabStop;
constexpr std::uint32_t kButton = tk::kTabStop;

constexpr ControlTemplate group(std::string_view caption, tk::Rect rect) {
  return {kNoControlId, ControlKind::GroupBox, caption, rect, kPlain};
}
constexpr ControlTemplate label(std::string_view caption, tk::Rect rect) {
  return {kNoControlId, ControlKind::Static, caption, rect, kPlain};
}
constexpr ControlTemplate list(int id, tk::Rect rect) {
  return {id, ControlKind::ComboBox, "", rect, kList};
}
constexpr ControlTemplate box(int id, tk::Rect rect) {
  return {id, ControlKind::Edit, "", rect, kBox};
}

// The group boxes come first so that they lie beneath their controls; after them the controls
// follow in tab order, each label just before the control it names (labels take no tab stop).
constexpr std::array<ControlTemplate, 75> kControls{{
    group("Setup", {3, 3, 287, 79}),
    group("MMS APN", {3, 87, 287, 72}),
    group("MMS Server", {3, 163, 290, 56}),
    group("Phone Number", {3, 225, 291, 73}),
    group("Data APN", {309, 0, 288, 70}),
    group("SMTP Server", {309, 73, 287, 96}),
    group("FTP Server", {309, 173, 287, 101}),
    group("Recipient Email", {310, 281, 287, 70}),

    label("Mode", {10, 16, 38, 8}),
    list(kModeList, {51, 14, 97, 30}),
    label("Country", {10, 38, 38, 8}),
    list(kCountryList, {51, 36, 98, 30}),
    label("Operator", {10, 62, 38, 8}),
    list(kOperatorList, {51, 60, 97, 30}),

    label("Phone 1", {10, 241, 44, 8}),
    box(kPhone1Edit, {57, 238, 224, 14}),
    label("Phone 2", {10, 261, 44, 8}),
    box(kPhone2Edit, {57, 258, 224, 14}),
    label("Phone 3", {10, 282, 44, 8}),
    box(kPhone3Edit, {57, 279, 224, 14}),

    label("MailBox 1", {316, 296, 42, 8}),
    box(kMailbox1Edit, {360, 293, 224, 14}),
    label("MailBox 2", {316, 316, 42, 8}),
    box(kMailbox2Edit, {360, 313, 224, 14}),
    label("MailBox 3", {316, 336, 42, 8}),
    box(kMailbox3Edit, {360, 333, 224, 14}),

    label("APN", {10, 102, 46, 8}),
    box(kMmsApnEdit, {59, 99, 220, 14}),
    label("Account", {10, 122, 46, 8}),
    box(kMmsAccountEdit, {59, 119, 220, 14}),
    label(" Password", {10, 142, 46, 8}),
    box(kMmsPasswordEdit, {59, 139, 220, 14}),

    label("URL (MMSC)", {10, 179, 46, 8}),
    box(kMmscUrlEdit, {59, 176, 222, 14}),
    label("Proxy (IP)", {10, 200, 46, 8}),
    box(kMmsProxyEdit, {59, 197, 168, 14}),
    label("Port", {231, 200, 17, 8}),
    box(kMmsPortEdit, {250, 197, 31, 14}),

    {tk::IDOK, ControlKind::PushButton, "OK", {61, 314, 72, 31}, kButton | tk::kDefaultButton},
    {tk::IDCANCEL, ControlKind::PushButton, "Cancel", {167, 314, 72, 31}, kButton},

    label("Type", {316, 88, 40, 8}),
    list(kSmtpTypeList, {360, 86, 75, 30}),
    label("Server", {316, 108, 40, 8}),
    box(kSmtpServerEdit, {360, 105, 164, 14}),
    label("Port", {531, 107, 19, 8}),
    box(kSmtpPortEdit, {552, 104, 31, 14}),
    label("Email", {316, 129, 40, 8}),
    box(kSmtpEmailEdit, {360, 126, 224, 14}),
    label("Password", {316, 150, 40, 8}),
    box(kSmtpPasswordEdit, {360, 147, 224, 14}),
    label("Encrypt", {484, 88, 32, 8}),
    list(kEncryptList, {518, 86, 64, 30}),

    label("APN", {316, 14, 40, 8}),
    box(kDataApnEdit, {360, 11, 224, 14}),
    label("Account", {316, 34, 40, 8}),
    box(kDataAccountEdit, {360, 31, 224, 14}),
    label("Password", {316, 54, 40, 8}),
    box(kDataPasswordEdit, {360, 51, 224, 14}),

    label("MMS Option", {162, 16, 50, 8}),
    list(kMmsOptionList, {215, 14, 63, 30}),
    label("Data Option", {162, 38, 50, 8}),
    list(kDataOptionList, {215, 36, 63, 30}),
    {kShowParameters, ControlKind::CheckBox, "Show 4G Parameters", {162, 62, 83, 10}, kButton},

    label("Server", {316, 191, 40, 8}),
    box(kFtpServerEdit, {359, 188, 166, 14}),
    label("Port", {531, 190, 19, 8}),
    box(kFtpPortEdit, {552, 187, 31, 14}),
    label("Account", {316, 212, 40, 8}),
    box(kFtpAccountEdit, {359, 209, 224, 14}),
    label("Password", {316, 233, 40, 8}),
    box(kFtpPasswordEdit, {359, 230, 224, 14}),
    label("FTP Directory", {316, 255, 52, 8}),
    list(kFtpDirectoryList, {370, 253, 54, 12}),
    box(kFtpDirectoryEdit, {426, 252, 121, 14}),
    label("Must Existed", {550, 255, 42, 8}),
}};

constexpr tk::DialogTemplate kTemplateData{
    kTemplate, "MMS / 4G Setup", 605, 357, "MS Shell Dlg", 8, false, false, kControls};
}  // namespace

const tk::DialogTemplate& mmsSetupTemplate() { return kTemplateData; }

}  // namespace tarnwick::resources
