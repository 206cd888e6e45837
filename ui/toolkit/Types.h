#pragma once

#include <cstdint>
#include <string>

namespace tarnwick::tk {

// Results of a modal run and of message boxes, with the values the dialogs compare against.
// windows.h defines the same four names as macros with the same values. They are set aside
// while the constants are declared, so a file may include windows.h before or after this one;
// in such a file the plain names are windows.h's numbers, and kIdOk... name the constants.
#pragma push_macro("IDOK")
#pragma push_macro("IDCANCEL")
#pragma push_macro("IDYES")
#pragma push_macro("IDNO")
#undef IDOK
#undef IDCANCEL
#undef IDYES
#undef IDNO
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int kIdOk = IDOK;
inline constexpr int kIdCancel = IDCANCEL;
inline constexpr int kIdYes = IDYES;
inline constexpr int kIdNo = IDNO;
#pragma pop_macro("IDNO")
#pragma pop_macro("IDYES")
#pragma pop_macro("IDCANCEL")
#pragma pop_macro("IDOK")
#if defined(IDOK) || defined(IDCANCEL) || defined(IDYES) || defined(IDNO)
static_assert(IDOK == kIdOk && IDCANCEL == kIdCancel && IDYES == kIdYes && IDNO == kIdNo,
              "windows.h and the toolkit must agree on the dialog results");
#endif

// A control without an id (most labels) carries this value; it cannot be addressed.
inline constexpr int kNoControlId = -1;

enum class ControlKind { Static, GroupBox, Edit, ComboBox, CheckBox, RadioButton, PushButton, Icon };

// Notifications a handler can be bound to.
enum class Notification { Clicked, SelectionChanged };

// Style bits of a control in a template.
enum ControlStyle : std::uint32_t {
  kStyleNone = 0,
  kDefaultButton = 1u << 0,  // the push button that Enter presses
  kPasswordEdit = 1u << 1,   // an edit whose characters are masked
  kGroupStart = 1u << 2,     // starts a new radio group (and tab group)
  kHidden = 1u << 3,         // not visible when the dialog opens
  kDisabled = 1u << 4,       // not enabled when the dialog opens
  kTabStop = 1u << 5,
  kAutoHScroll = 1u << 6,
  kBorder = 1u << 7,
  kVScroll = 1u << 8,
  kCenterText = 1u << 9,
  kRightText = 1u << 10,
};

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

// The mask character an edit with the password style shows until a program sets another one.
inline constexpr char16_t kDefaultPasswordChar = u'\u25CF';

// The application's name, used as the caption of message boxes that a dialog owns.
inline constexpr char16_t kApplicationName[] = u"Tarnwick";

}  // namespace tarnwick::tk
