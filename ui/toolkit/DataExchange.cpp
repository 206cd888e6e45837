#include "ui/toolkit/DataExchange.h"

#include "config/TextConversions.h"
#include "ui/toolkit/CDialogEx.h"

#include <string>

namespace tarnwick::tk {

std::u16string positiveIntegerMessage() { return u"Please enter a positive integer."; }

std::u16string byteRangeMessage() { return u"Please enter an integer between 0 and 255."; }

std::u16string maxCharsMessage(int maxChars) {
  return u"Please enter no more than " + widenAscii(std::to_string(maxChars)) + u" characters.";
}

namespace {
bool isBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
}  // namespace

bool parseUnsigned(const std::u16string& text, std::uint32_t& value) {
  // The conversion looks at no more than the first 63 characters of the edit.
  const std::size_t end = std::min<std::size_t>(text.size(), 63);
  std::size_t i = 0;
  while (i < end && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < end && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  const std::size_t firstDigit = i;
  std::uint64_t magnitude = 0;
  bool overflow = false;
  for (; i < end && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    magnitude = magnitude * 10 + static_cast<std::uint64_t>(text[i] - u'0');
    if (magnitude > 0xFFFFFFFFull) {
      overflow = true;
      magnitude = 0xFFFFFFFFull;
    }
  }
  if (i == firstDigit) return false;
  if (overflow) {
    value = 0xFFFFFFFFu;
  } else {
    const auto m = static_cast<std::uint32_t>(magnitude);
    value = negative ? static_cast<std::uint32_t>(0u - m) : m;
  }
  return true;
}

void DataExchange::refuse(int id, const std::u16string& message) {
  failed_ = true;
  dialog_.MessageBox(message);
  dialog_.GotoDlgCtrl(id);
}

void DataExchange::text(int id, std::u16string& value, int maxChars) {
  if (failed_) return;
  Control control = dialog_.GetDlgItem(id);
  if (!saving_) {
    control.SetWindowText(value);
    if (maxChars > 0) control.LimitText(maxChars);
    return;
  }
  std::u16string current = control.GetWindowText();
  if (maxChars > 0 && current.size() > static_cast<std::size_t>(maxChars)) {
    refuse(id, maxCharsMessage(maxChars));
    return;
  }
  value = std::move(current);
}

void DataExchange::byteValue(int id, std::uint8_t& value) {
  if (failed_) return;
  Control control = dialog_.GetDlgItem(id);
  if (!saving_) {
    control.SetWindowText(widenAscii(std::to_string(static_cast<unsigned>(value))));
    return;
  }
  std::uint32_t number = 0;
  if (!parseUnsigned(control.GetWindowText(), number) || static_cast<std::int32_t>(number) > 255) {
    refuse(id, byteRangeMessage());
    return;
  }
  value = static_cast<std::uint8_t>(number & 0xFFu);
}

void DataExchange::uint32Value(int id, std::uint32_t& value) {
  if (failed_) return;
  Control control = dialog_.GetDlgItem(id);
  if (!saving_) {
    control.SetWindowText(widenAscii(std::to_string(value)));
    return;
  }
  std::uint32_t number = 0;
  if (!parseUnsigned(control.GetWindowText(), number)) {
    refuse(id, positiveIntegerMessage());
    return;
  }
  value = number;
}

void DataExchange::control(int id) { (void)dialog_.GetDlgItem(id); }

}  // namespace tarnwick::tk
