#include "network/NetworkSettings.h"

#include <array>

#include "config/FieldCatalog.h"
#include "config/TextConversions.h"
#include "network/NetworkFormFields.h"
#include "network/NetworkTexts.h"

namespace tarnwick {

namespace {

struct CleanText {
  const FieldInfo* field;
  FormText text;
};

constexpr std::size_t kTextCount = networkform::kTextFields.size();

std::array<CleanText, kTextCount> cleanTexts(const NetworkFormValues& values,
                                             const SmtpPresetTable& presets,
                                             const ConfigRecord& record) {
  std::array<CleanText, kTextCount> out;
  for (std::size_t i = 0; i < kTextCount; ++i) {
    const NetworkTextField& f = networkform::kTextFields[i];
    const FormText raw = f.has(kChosenPassword) ? chooseSmtpPassword(values, presets, record)
                                                : values.*(f.value);
    out[i] = {f.field, cleanNetworkText(raw, f.cleanup)};
  }
  return out;
}

std::uint8_t lowByte(std::int32_t position) {
  return static_cast<std::uint8_t>(static_cast<std::uint32_t>(position) & 0xFFu);
}

}  // namespace

std::u16string cleanNetworkText(std::u16string text, TextCleanup cleanup) {
  switch (cleanup) {
    case TextCleanup::Trim: trimWhitespace(text); break;
    case TextCleanup::NoSpaces: removeChar(text, u' '); break;
    case TextCleanup::Url:
      removeChar(text, u' ');
      trimLeadingChar(text, u'/');
      break;
    case TextCleanup::Proxy:
      removeChar(text, u' ');
      removeChar(text, u':');
      break;
    case TextCleanup::Mailbox:
      removeChar(text, u' ');
      removeChar(text, u';');
      removeChar(text, u',');
      break;
  }
  return text;
}

const NetworkTextField* networkTextFieldFor(const FieldInfo& field) {
  for (const NetworkTextField& f : networkform::kTextFields) {
    if (f.field == &field) return &f;
  }
  return nullptr;
}

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
  if (values.mode != fieldlists::kNetworkModeAuto) return;
  record.setUInt8(fields::countryIndex, lowByte(values.country));
  record.setUInt8(fields::operatorIndex, lowByte(values.mobileOperator));
}

}  // namespace tarnwick
