#pragma once

#include <cstdint>
#include <string>

namespace tarnwick::tk {

class CDialogEx;

// One run of a dialog's data exchange, in one direction. Towards the controls every entry writes
// its member into its control; from the controls each entry reads and checks its control, and the
// first entry that refuses a text shows the toolkit's message, puts the focus on that control and
// ends the run: that member and every later one keep their values.
class DataExchange {
 public:
  DataExchange(CDialogEx& dialog, bool saveAndValidate)
      : dialog_(dialog), saving_(saveAndValidate) {}

  bool saving() const { return saving_; }
  bool failed() const { return failed_; }

  // An edit bound to a text; maxChars > 0 also limits typing and refuses a longer text.
  void text(int id, std::u16string& value, int maxChars = 0);
  // An edit bound to a byte, shown as "%u" and read as "%u": refused when the text holds no
  // number or when the number, as a signed 32-bit value, is above 255.
  void byteValue(int id, std::uint8_t& value);
  // An edit bound to an unsigned 32-bit number ("%u" both ways; a minus sign wraps).
  void uint32Value(int id, std::uint32_t& value);
  // Binds a control to the dialog without exchanging a value (checks that it exists).
  void control(int id);

 private:
  void refuse(int id, const std::u16string& message);

  CDialogEx& dialog_;
  bool saving_;
  bool failed_ = false;
};

// The toolkit's refusal messages.
std::u16string positiveIntegerMessage();
std::u16string byteRangeMessage();
std::u16string maxCharsMessage(int maxChars);

// Reads a text the way "%u" does: leading white space skipped, one optional sign, decimal digits
// up to the first other character (a minus sign negates modulo 2^32; a magnitude beyond 32 bits
// reads as 4294967295). Only the first 63 characters are looked at. Empty when no digit is found.
bool parseUnsigned(const std::u16string& text, std::uint32_t& value);

}  // namespace tarnwick::tk
