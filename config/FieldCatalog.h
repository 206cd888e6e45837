#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// The field catalogue: every named field of the settings record once, with its place, encoding,
// factory default, list texts and meaning. Defaults, forms, the command-line tool and any
// export read their offsets from here; there is no second table of offsets.

namespace tarnwick {

// How a field's bytes are read.
enum class Encoding {
  Index,         // int32 zero-based list position; -1 = no selection
  OffFlag,       // int32; 0 = feature on, anything else = off (the program writes 0 or 1)
  ByteIndex,     // uint8 list position; 0xFF = no selection
  Text,          // fixed-width 8-bit characters, no terminator, space- or zero-padded
  Digits4,       // four bytes, each a digit value 0-9 (not a character), most significant first
  ClockHM,       // uint32 hour * 256 + minute: bytes minute, hour, 0, 0
  ClockHMS,      // uint32 hour * 65536 + minute * 256 + second: bytes second, minute, hour, 0
  IntervalCode,  // uint32: 1-60 = seconds; above 60 = (value - 60) minutes; 0 kept as 0 seconds
  Seconds,       // uint32 count of seconds
  Int32,         // reserved int32, never interpreted beyond its default
  UInt8,         // reserved byte, never interpreted beyond its default
};

// What the factory defaults write into a field.
enum class DefaultKind {
  NotSet,  // the defaults leave the bytes as they are
  Value,   // defaultValue, as an int32 (4-byte fields) or a uint8 (1-byte fields)
  Spaces,  // 0x20 over the whole width
  Zeros,   // 0x00 over the whole width
};

struct FieldInfo {
  std::string_view name;      // lower camel case field name, e.g. "imageSize"
  std::uint32_t offset;       // byte offset in the record
  std::uint32_t size;         // width in bytes
  Encoding encoding;
  DefaultKind defaultKind;
  std::int32_t defaultValue;  // used when defaultKind is Value
  // Texts of the field's fixed list, position = stored value; empty when the field has no fixed
  // list. The order is part of the file format.
  std::span<const std::string_view> items;
  std::string_view label;     // the form label where the field has one, else empty
  std::string_view meaning;   // one short English line
};

// The list texts, exactly as the camera menus spell them (spacing and spelling included).
namespace fieldlists {
inline constexpr std::array<std::string_view, 4> imageSize{
    "12M 4032x3024", "5M  2592x1944", "1.3M 1280x960", "VGA 640x480"};
inline constexpr std::array<std::string_view, 3> dateStamp{"Off", "Date", "Date/Time"};
inline constexpr std::array<std::string_view, 3> shotNumber{"1 Photo", "2 Photos", "3 Photos"};
inline constexpr std::array<std::string_view, 3> videoSize{
    "FHD 1920x1080", "HD  1280x720", "VGA 640x480"};
inline constexpr std::array<std::string_view, 2> offOn{"Off", "On"};
inline constexpr std::array<std::string_view, 2> onOff{"On", "Off"};
inline constexpr std::array<std::string_view, 13> language{
    "English", "French",  "Spanish",   "Portugues", "Deutsch", "Italian", "Chinese",
    "Russian", "Japenese", "Hungarian", "Polish",   "Swedish", "Slovak"};
// Position i is the UTC offset i - 11 hours.
inline constexpr std::array<std::string_view, 24> timeZone{
    "UTC-11", "UTC-10", "UTC-9", "UTC-8", "UTC-7", "UTC-6", "UTC-5", "UTC-4",
    "UTC-3",  "UTC-2",  "UTC-1", "UTC 0", "UTC+1", "UTC+2", "UTC+3", "UTC+4",
    "UTC+5",  "UTC+6",  "UTC+7", "UTC+8", "UTC+9", "UTC+10", "UTC+11", "UTC+12"};
inline constexpr std::array<std::string_view, 3> workMode{"Picture", "Video", "Picture+Video"};
inline constexpr std::array<std::string_view, 3> pirSensitivity{"High", "Medium", "Low"};
inline constexpr std::array<std::string_view, 3> mmsOption{"VGA", "QVGA", "OFF"};
inline constexpr int kMmsOptionOff = 2;
inline constexpr std::array<std::string_view, 3> dataOption{"SMTP", "FTP", "OFF"};
inline constexpr int kDataOptionSmtp = 0;
inline constexpr int kDataOptionFtp = 1;
inline constexpr std::array<std::string_view, 3> smtpEncrypt{"No SSL", "SSL", "StartTLS"};
inline constexpr std::array<std::string_view, 2> networkMode{"Auto", "Manual"};
inline constexpr int kNetworkModeAuto = 0;
inline constexpr int kNetworkModeManual = 1;
// Units of the capture interval as the form offers them (not a record field).
inline constexpr std::array<std::string_view, 2> intervalUnit{"sec", "min"};
inline constexpr int kIntervalUnitSeconds = 0;
inline constexpr int kIntervalUnitMinutes = 1;
}  // namespace fieldlists

namespace fields {

using E = Encoding;
using D = DefaultKind;
inline constexpr std::span<const std::string_view> kNoItems{};

// Shorthands for the three common shapes of catalogue rows.
constexpr FieldInfo indexField(std::string_view name, std::uint32_t offset, std::int32_t def,
                               std::span<const std::string_view> items, std::string_view label,
                               std::string_view meaning) {
  return {name, offset, 4, E::Index, D::Value, def, items, label, meaning};
}
constexpr FieldInfo int32Field(std::string_view name, std::uint32_t offset, Encoding encoding,
                               DefaultKind kind, std::int32_t def, std::string_view meaning) {
  return {name, offset, 4, encoding, kind, def, kNoItems, {}, meaning};
}
constexpr FieldInfo textField(std::string_view name, std::uint32_t offset, std::uint32_t size,
                              DefaultKind kind, std::string_view meaning,
                              std::string_view label = {}) {
  return {name, offset, size, E::Text, kind, 0, kNoItems, label, meaning};
}

inline constexpr FieldInfo imageSize = indexField(
    "imageSize", 0x004, 1, fieldlists::imageSize, "Image Size", "picture size");
inline constexpr FieldInfo dateStamp = indexField(
    "dateStamp", 0x044, 2, fieldlists::dateStamp, "Date Stamp", "date stamp on pictures");
inline constexpr FieldInfo shotNumber =
    indexField("shotNumber", 0x05c, 0, fieldlists::shotNumber, "Shot Number",
               "photos per shot; written on save from the same control as shotNumberB");
inline constexpr FieldInfo videoSize = indexField(
    "videoSize", 0x064, 0, fieldlists::videoSize, "Video Size", "video size");
inline constexpr FieldInfo recordAudio = indexField(
    "recordAudio", 0x08c, 1, fieldlists::offOn, "Record Audio", "audio recording (1 = on)");
inline constexpr FieldInfo reservedC0 =
    int32Field("reservedC0", 0x0c0, E::Int32, D::Value, 3, "reserved; only the defaults write it");
inline constexpr FieldInfo language =
    indexField("language", 0x0cc, 0, fieldlists::language, "Language", "camera menu language");
inline constexpr FieldInfo timeZone = indexField(
    "timeZone", 0x104, 19, fieldlists::timeZone, "Local Time Zone",
    "local time zone; position i is UTC i-11");
inline constexpr FieldInfo workMode =
    indexField("workMode", 0x108, 0, fieldlists::workMode, "Mode", "capture mode");
inline constexpr FieldInfo pirSensitivity = indexField(
    "pirSensitivity", 0x10c, 1, fieldlists::pirSensitivity, "PIR Sensitivity",
    "motion sensor sensitivity");
inline constexpr FieldInfo timer1Off =
    int32Field("timer1Off", 0x110, E::OffFlag, D::Value, 1, "timer 1 off");
inline constexpr FieldInfo timer2Off =
    int32Field("timer2Off", 0x114, E::OffFlag, D::Value, 1, "timer 2 off");
inline constexpr FieldInfo timer3Off =
    int32Field("timer3Off", 0x118, E::OffFlag, D::Value, 1, "timer 3 off");
inline constexpr FieldInfo passwordOff =
    int32Field("passwordOff", 0x11c, E::OffFlag, D::Value, 1, "camera password not in use");
inline constexpr FieldInfo serialNoOff =
    int32Field("serialNoOff", 0x120, E::OffFlag, D::Value, 1, "serial number not in use");
inline constexpr FieldInfo timeLapseOff =
    int32Field("timeLapseOff", 0x124, E::OffFlag, D::Value, 1, "time-lapse not in use");
inline constexpr FieldInfo smsCtrlOff =
    int32Field("smsCtrlOff", 0x128, E::OffFlag, D::Value, 1, "SMS control not in use");
inline constexpr FieldInfo orgNameOff =
    int32Field("orgNameOff", 0x12c, E::OffFlag, D::Value, 1, "organization name not in use");
inline constexpr FieldInfo sdCycle = indexField(
    "sdCycle", 0x130, 1, fieldlists::onOff, "SD Cycle", "memory-card cycling (0 = on)");
inline constexpr FieldInfo reserved134 = int32Field(
    "reserved134", 0x134, E::Int32, D::Value, 0, "reserved; only the defaults write it");
inline constexpr FieldInfo mmsOption =
    indexField("mmsOption", 0x138, 2, fieldlists::mmsOption, "MMS Option", "MMS sending");
inline constexpr FieldInfo reserved13C = int32Field(
    "reserved13C", 0x13c, E::Int32, D::Value, 0, "reserved; only the defaults write it");
inline constexpr FieldInfo dataOption =
    indexField("dataOption", 0x140, 2, fieldlists::dataOption, "Data Option", "data sending");
inline constexpr FieldInfo shotNumberB =
    indexField("shotNumberB", 0x200, 0, fieldlists::shotNumber, "Shot Number",
               "photos per shot; the copy shown in the form");
inline constexpr FieldInfo gpsSwitch =
    indexField("gpsSwitch", 0x348, 1, fieldlists::onOff, "GPS Switch", "GPS (0 = on)");
inline constexpr FieldInfo reserved34C = int32Field(
    "reserved34C", 0x34c, E::Int32, D::Value, 0, "reserved; only the defaults write it");
inline constexpr FieldInfo ftpDirectory = textField(
    "ftpDirectory", 0x420, 32, D::Zeros, "FTP target directory; empty = the server's root");
inline constexpr FieldInfo interval = {
    "interval", 0x444, 4, E::IntervalCode, D::Value, 10, kNoItems, "Interval",
    "capture interval: 1-60 seconds, above 60 = value - 60 minutes"};
inline constexpr FieldInfo videoLength = {
    "videoLength", 0x448, 4, E::Seconds, D::Value, 30, kNoItems, "Video Length",
    "length of a video clip in seconds"};
inline constexpr FieldInfo smsInterval =
    int32Field("smsInterval", 0x44c, E::ClockHM, D::NotSet, 0, "SMS control interval");
inline constexpr FieldInfo timeLapse =
    int32Field("timeLapse", 0x450, E::ClockHMS, D::Value, 0, "time-lapse period; 0 = none");
inline constexpr FieldInfo timer1Start =
    int32Field("timer1Start", 0x454, E::ClockHM, D::Value, 0, "timer 1 start time");
inline constexpr FieldInfo timer2Start =
    int32Field("timer2Start", 0x458, E::ClockHM, D::Value, 0, "timer 2 start time");
inline constexpr FieldInfo timer3Start =
    int32Field("timer3Start", 0x45c, E::ClockHM, D::Value, 0, "timer 3 start time");
inline constexpr FieldInfo timer1Stop =
    int32Field("timer1Stop", 0x460, E::ClockHM, D::Value, 0, "timer 1 stop time");
inline constexpr FieldInfo timer2Stop =
    int32Field("timer2Stop", 0x464, E::ClockHM, D::Value, 0, "timer 2 stop time");
inline constexpr FieldInfo timer3Stop =
    int32Field("timer3Stop", 0x468, E::ClockHM, D::Value, 0, "timer 3 stop time");
inline constexpr FieldInfo serialNo =
    int32Field("serialNo", 0x46c, E::Digits4, D::Value, 0, "camera serial number, 4 digits");
inline constexpr FieldInfo password =
    int32Field("password", 0x470, E::Digits4, D::Value, 0, "camera password, 4 digits");
inline constexpr FieldInfo orgName =
    textField("orgName", 0x474, 8, D::Spaces, "organization name, 1-8 characters when set");
inline constexpr FieldInfo mmsApn =
    textField("mmsApn", 0x47c, 32, D::Spaces, "MMS access point name");
inline constexpr FieldInfo mmsAccount =
    textField("mmsAccount", 0x49c, 32, D::Spaces, "MMS access point account");
inline constexpr FieldInfo mmsPassword =
    textField("mmsPassword", 0x4bc, 32, D::Spaces, "MMS access point password");
inline constexpr FieldInfo mmscUrl =
    textField("mmscUrl", 0x4dc, 50, D::Spaces, "MMS service centre URL");
inline constexpr FieldInfo mmsProxy =
    textField("mmsProxy", 0x50e, 15, D::Spaces, "MMS proxy address", "Proxy (IP)");
inline constexpr FieldInfo mmsPort =
    textField("mmsPort", 0x51d, 5, D::Spaces, "MMS proxy port, decimal text");
inline constexpr FieldInfo phone1 =
    textField("phone1", 0x522, 16, D::Spaces, "recipient phone number 1");
inline constexpr FieldInfo phone2 =
    textField("phone2", 0x532, 16, D::Spaces, "recipient phone number 2");
inline constexpr FieldInfo phone3 =
    textField("phone3", 0x542, 16, D::Spaces, "recipient phone number 3");
inline constexpr FieldInfo dataApn =
    textField("dataApn", 0x552, 32, D::NotSet, "data (4G) access point name");
inline constexpr FieldInfo dataAccount =
    textField("dataAccount", 0x572, 32, D::NotSet, "data access point account");
inline constexpr FieldInfo dataPassword =
    textField("dataPassword", 0x592, 32, D::NotSet, "data access point password");
inline constexpr FieldInfo mailbox1 =
    textField("mailbox1", 0x5b2, 32, D::Spaces, "recipient e-mail address 1");
inline constexpr FieldInfo mailbox2 =
    textField("mailbox2", 0x5d2, 32, D::Spaces, "recipient e-mail address 2");
inline constexpr FieldInfo mailbox3 =
    textField("mailbox3", 0x5f2, 32, D::Spaces, "recipient e-mail address 3");
inline constexpr FieldInfo smtpPreset = {
    "smtpPreset", 0x612, 1, E::ByteIndex, D::Value, 0, kNoItems, {},
    "chosen row of the SMTP provider table"};
inline constexpr FieldInfo smtpEncrypt = {
    "smtpEncrypt", 0x613, 1, E::ByteIndex, D::Value, 0, fieldlists::smtpEncrypt, {},
    "SMTP connection security"};
inline constexpr FieldInfo smtpServer =
    textField("smtpServer", 0x614, 32, D::Spaces, "SMTP server host");
inline constexpr FieldInfo smtpPort =
    textField("smtpPort", 0x634, 5, D::Spaces, "SMTP port, decimal text");
inline constexpr FieldInfo smtpEmail =
    textField("smtpEmail", 0x639, 32, D::Spaces, "sender account / e-mail address");
inline constexpr FieldInfo smtpPassword =
    textField("smtpPassword", 0x659, 32, D::Spaces, "sender account password");
inline constexpr FieldInfo networkMode = {
    "networkMode", 0x679, 1, E::ByteIndex, D::NotSet, 0, fieldlists::networkMode, "Mode",
    "network parameter mode"};
inline constexpr FieldInfo countryIndex = {
    "countryIndex", 0x67a, 1, E::ByteIndex, D::NotSet, 0, kNoItems, {},
    "chosen country of the operator table"};
inline constexpr FieldInfo operatorIndex = {
    "operatorIndex", 0x67b, 1, E::ByteIndex, D::NotSet, 0, kNoItems, {},
    "chosen operator of that country"};
inline constexpr FieldInfo reserved67C = {
    "reserved67C", 0x67c, 1, E::UInt8, D::Value, 0, kNoItems, {},
    "reserved; only the defaults write it"};
inline constexpr FieldInfo ftpAccount =
    textField("ftpAccount", 0x688, 32, D::Spaces, "FTP account");
inline constexpr FieldInfo ftpPassword =
    textField("ftpPassword", 0x6a8, 32, D::Spaces, "FTP password");
inline constexpr FieldInfo ftpServer =
    textField("ftpServer", 0x6c8, 50, D::Spaces, "FTP server host");
inline constexpr FieldInfo ftpPort = textField("ftpPort", 0x6fa, 5, D::Spaces, "FTP port");

}  // namespace fields

// Every named field, in offset order.
std::span<const FieldInfo* const> fieldCatalog();

// The field of that exact name, or nullptr.
const FieldInfo* findField(std::string_view name);

// An inclusive range of bytes.
struct ByteRange {
  std::uint32_t first;
  std::uint32_t last;
  bool operator==(const ByteRange&) const = default;
};

// The bytes no field names, in offset order. They are never interpreted: only loading a file
// changes them, and saving writes them back as they are.
std::span<const ByteRange> unnamedRanges();

// The capture interval's unit list ("sec", "min"); position 1 means minutes.
std::span<const std::string_view> intervalUnitItems();

}  // namespace tarnwick
