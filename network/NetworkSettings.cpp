#include "network/NetworkSettings.h"

#include <array>

#include "config/FieldCatalog.h"
#include "config/TextConversions.h"
#include "network/NetworkTexts.h"

namespace tarnwick {

namespace {

enum class Cleanup {
  Trim,          // white space at both ends
  NoSpaces,      // every ' '
  Url,           // every ' ', then the leading run of '/'
  Proxy,         // every ' ' and every ':'
  Mailbox,       // every ' ', ';' and ','
};

struct TextRule {
  std::u16string NetworkFormValues::*member;  // nullptr: the chosen SMTP password
  Cleanup cleanup;
  const FieldInfo* field;
};

// The texts in the order they are stored.
const std::array<TextRule, 24> kTextRules{{
    {&NetworkFormValues::mmsApn, Cleanup::Trim, &fields::mmsApn},
    {&NetworkFormValues::dataApn, Cleanup::Trim, &fields::dataApn},
    {&NetworkFormValues::mmsAccount, Cleanup::Trim, &fields::mmsAccount},
    {&NetworkFormValues::dataAccount, Cleanup::Trim, &fields::dataAccount},
    {&NetworkFormValues::mmsPassword, Cleanup::Trim, &fields::mmsPassword},
    {&NetworkFormValues::dataPassword, Cleanup::Trim, &fields::dataPassword},
    {&NetworkFormValues::mmscUrl, Cleanup::Url, &fields::mmscUrl},
    {&NetworkFormValues::mmsProxy, Cleanup::Proxy, &fields::mmsProxy},
    {&NetworkFormValues::mmsPort, Cleanup::NoSpaces, &fields::mmsPort},
    {&NetworkFormValues::smtpServer, Cleanup::NoSpaces, &fields::smtpServer},
    {&NetworkFormValues::smtpPort, Cleanup::NoSpaces, &fields::smtpPort},
    {&NetworkFormValues::smtpEmail, Cleanup::NoSpaces, &fields::smtpEmail},
    {nullptr, Cleanup::NoSpaces, &fields::smtpPassword},
    {&NetworkFormValues::phone1, Cleanup::NoSpaces, &fields::phone1},
    {&NetworkFormValues::phone2, Cleanup::NoSpaces, &fields::phone2},
    {&NetworkFormValues::phone3, Cleanup::NoSpaces, &fields::phone3},
    {&NetworkFormValues::mailbox1, Cleanup::Mailbox, &fields::mailbox1},
    {&NetworkFormValues::mailbox2, Cleanup::Mailbox, &fields::mailbox2},
    {&NetworkFormValues::mailbox3, Cleanup::Mailbox, &fields::mailbox3},
    {&NetworkFormValues::ftpServer, Cleanup::NoSpaces, &fields::ftpServer},
    {&NetworkFormValues::ftpPort, Cleanup::NoSpaces, &fields::ftpPort},
    {&NetworkFormValues::ftpAccount, Cleanup::NoSpaces, &fields::ftpAccount},
    {&NetworkFormValues::ftpPassword, Cleanup::NoSpaces, &fields::ftpPassword},
    {&NetworkFormValues::ftpDirectory, Cleanup::Trim, &fields::ftpDirectory},
}};

FormText clean(FormText text, Cleanup cleanup) {
  switch (cleanup) {
    case Cleanup::Trim: trimWhitespace(text); break;
    case Cleanup::NoSpaces: removeChar(text, u' '); break;
    case Cleanup::Url:
      removeChar(text, u' ');
      trimLeadingChar(text, u'/');
      break;
    case Cleanup::Proxy:
      removeChar(text, u' ');
      removeChar(text, u':');
      break;
    case Cleanup::Mailbox:
      removeChar(text, u' ');
      removeChar(text, u';');
      removeChar(text, u',');
      break;
  }
  return text;
}

struct CleanText {
  const FieldInfo* field;
  FormText text;
};

std::array<CleanText, kTextRules.size()> cleanTexts(const NetworkFormValues& values,
                                                    const SmtpPresetTable& presets,
                                                    const ConfigRecord& record) {
  std::array<CleanText, kTextRules.size()> out;
  for (std::size_t i = 0; i < kTextRules.size(); ++i) {
    const TextRule& r = kTextRules[i];
    const FormText raw =
        r.member != nullptr ? values.*(r.member) : chooseSmtpPassword(values, presets, record);
    out[i] = {r.field, clean(raw, r.cleanup)};
  }
  return out;
}

std::uint8_t lowByte(std::int32_t position) {
  return static_cast<std::uint8_t>(static_cast<std::uint32_t>(position) & 0xFFu);
}

}  // namespace

std::u16string chooseSmtpPassword(const NetworkFormValues& values,
                                  const SmtpPresetTable& presets, const ConfigRecord& record) {
  if (values.smtpPasswordBox == parameterMask) {
    if (const SmtpPreset* row = presets.row(values.smtpType)) {
      // On a fixed row the mask stands for the row's password. On the row the record was
      // stored with it stands for the password the record holds, which the window masks when
      // it opens; on a row chosen since, for that row's (empty) password.
      if (values.smtpType >= fixedPresetCount &&
          values.smtpType == record.getUInt8(fields::smtpPreset)) {
        return fieldToText(record.field(fields::smtpPassword));
      }
      return row->password;
    }
  }
  return values.smtpPasswordBox;
}

void storeNetworkSettings(const NetworkFormValues& values, const SmtpPresetTable& presets,
                          ConfigRecord& record) {
  // Every text is chosen and cleaned before anything is stored: the kept SMTP password and the
  // row it was stored with are read from the record as it was.
  const auto texts = cleanTexts(values, presets, record);
  record.setUInt8(fields::smtpEncrypt, lowByte(values.encrypt));
  record.setUInt8(fields::smtpPreset, lowByte(values.smtpType));
  record.setUInt8(fields::networkMode, lowByte(values.mode));
  record.setInt32(fields::mmsOption, values.mmsOption);
  record.setInt32(fields::dataOption, values.dataOption);

  for (const CleanText& t : texts) {
    const auto field = record.field(*t.field);
    // Cut at the field's width: nothing is ever written outside a field.
    textToField(t.text.substr(0, field.size()), field);
  }
}

std::vector<std::string> overlongFields(const NetworkFormValues& values,
                                        const SmtpPresetTable& presets,
                                        const ConfigRecord& record) {
  std::vector<std::string> names;
  for (const CleanText& t : cleanTexts(values, presets, record)) {
    if (t.text.size() > t.field->size) names.emplace_back(t.field->name);
  }
  return names;
}

void storeOperatorSelection(const NetworkFormValues& values, ConfigRecord& record) {
  if (values.mode != 0) return;
  record.setUInt8(fields::countryIndex, lowByte(values.country));
  record.setUInt8(fields::operatorIndex, lowByte(values.mobileOperator));
}

}  // namespace tarnwick
