#include "WindowCheck.h"

#include "config/TextConversions.h"
#include "ui/toolkit/Contrast.h"
#include "ui/toolkit/ControlLook.h"
#include "ui/toolkit/WindowFit.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <unordered_map>

namespace tarnwick::windowcheck {

namespace {

constexpr std::array<std::pair<std::string_view, ControlKind>, 8> kKindNames{{
    {"static", ControlKind::Static},
    {"group", ControlKind::GroupBox},
    {"edit", ControlKind::Edit},
    {"list", ControlKind::ComboBox},
    {"check", ControlKind::CheckBox},
    {"radio", ControlKind::RadioButton},
    {"button", ControlKind::PushButton},
    {"icon", ControlKind::Icon},
}};

// A pixel is ink when it stands out this much from the ground: the glyphs' edges, blended with
// the ground, are ink too, the ground's own noise (a gradient, a frame's shade) is not.
constexpr double kInkContrast = 1.8;
// Below this nothing stands out at all: the text is not there to be seen.
constexpr double kNoInk = 1.05;
// Margin around a control's focus ring in the crops the ring is judged from.
constexpr int kCropMargin = 2;

std::uint32_t packed(Rgb c) {
  return (static_cast<std::uint32_t>(c.red) << 16) | (static_cast<std::uint32_t>(c.green) << 8) |
         c.blue;
}

Rect intersected(const Rect& a, const Rect& b) {
  const int left = std::max(a.x, b.x);
  const int top = std::max(a.y, b.y);
  const int right = std::min(a.x + a.width, b.x + b.width);
  const int bottom = std::min(a.y + a.height, b.y + b.height);
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

bool contains(const Rect& outer, const Rect& inner) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

Rect grown(const Rect& r, int by) { return {r.x - by, r.y - by, r.width + 2 * by, r.height + 2 * by}; }

std::string ratio(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f : 1", value);
  return text;
}

std::string rectText(const Rect& r) {
  return std::to_string(r.width) + "x" + std::to_string(r.height) + " at " + std::to_string(r.x) +
         "," + std::to_string(r.y);
}

std::string describe(const ControlSight& c) {
  std::string text(nameOf(c.kind));
  text += " " + (c.id == tk::kNoControlId ? "#" + std::to_string(c.index) : std::to_string(c.id));
  if (!c.text.empty()) text += " \"" + toUtf8(c.text) + "\"";
  return text;
}

bool longerThan(const std::u16string& text, std::size_t characters) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char16_t c) {
           return c != u' ';
         })) > characters;
}

bool blank(const std::u16string& text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c == u' '; });
}

void checkSelection(const Sight& sight, const ControlSight& c, std::vector<std::string>& problems,
                    const char* when) {
  if (c.kind != ControlKind::Edit) return;
  const int length = static_cast<int>(c.text.size());
  if (sight.selectionStart != 0 || sight.selectionEnd != length) {
    problems.push_back(describe(c) + ": " + when + " selects " +
                       std::to_string(sight.selectionStart) + ".." +
                       std::to_string(sight.selectionEnd) + " of its " + std::to_string(length) +
                       " characters, not the whole text");
  }
}

}  // namespace

ControlKind kindOf(std::string_view name) {
  for (const auto& [n, kind] : kKindNames) {
    if (n == name) return kind;
  }
  return ControlKind::Static;
}

std::string_view nameOf(ControlKind kind) {
  for (const auto& [n, k] : kKindNames) {
    if (k == kind) return n;
  }
  return "static";
}

Picture Picture::crop(const Rect& area) const {
  Picture part;
  part.width = area.width;
  part.height = area.height;
  part.pixels.reserve(static_cast<std::size_t>(area.width) * static_cast<std::size_t>(area.height));
  for (int y = area.y; y < area.y + area.height; ++y) {
    for (int x = area.x; x < area.x + area.width; ++x) part.pixels.push_back(at(x, y));
  }
  return part;
}

const ControlSight* Sight::control(int index) const {
  for (const ControlSight& c : controls) {
    if (c.index == index) return &c;
  }
  return nullptr;
}

const ControlSight* Sight::controlById(int id) const {
  for (const ControlSight& c : controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

Rect cropArea(const Sight& sight, int index) {
  const ControlSight* c = sight.control(index);
  if (c == nullptr || !c->visible) return {};
  const Rect area = grown(c->box, sight.ringReach + kCropMargin);
  return intersected(intersected(area, sight.visible), {0, 0, sight.picture.width, sight.picture.height});
}

Crop cropAround(const Sight& sight, int index) {
  Crop crop;
  crop.index = index;
  const Rect area = cropArea(sight, index);
  if (area.width == 0 || sight.picture.pixels.empty()) return crop;
  const ControlSight* c = sight.control(index);
  crop.control = {c->box.x - area.x, c->box.y - area.y, c->box.width, c->box.height};
  crop.picture = sight.picture.crop(area);
  return crop;
}

Ink inkIn(const Picture& picture, const Rect& area) {
  Ink ink;
  const Rect r = intersected(area, {0, 0, picture.width, picture.height});
  if (r.width == 0) return ink;
  std::unordered_map<std::uint32_t, int> counts;
  for (int y = r.y; y < r.y + r.height; ++y) {
    for (int x = r.x; x < r.x + r.width; ++x) ++counts[packed(picture.at(x, y))];
  }
  std::uint32_t most = 0;
  int mostCount = -1;
  for (const auto& [colour, n] : counts) {
    if (n > mostCount || (n == mostCount && colour < most)) {
      most = colour;
      mostCount = n;
    }
  }
  ink.ground = Rgb{static_cast<std::uint8_t>(most >> 16), static_cast<std::uint8_t>(most >> 8),
                   static_cast<std::uint8_t>(most)};
  for (int y = r.y; y < r.y + r.height; ++y) {
    for (int x = r.x; x < r.x + r.width; ++x) {
      const double c = tk::contrastRatio(picture.at(x, y), ink.ground);
      ink.contrast = std::max(ink.contrast, c);
      if (c < kInkContrast) continue;
      ink.left = ink.left < 0 ? x : std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
    }
  }
  return ink;
}

int pixelsChanged(const Picture& before, const Picture& after, double ratio) {
  if (before.width != after.width || before.height != after.height) return 0;
  int changed = 0;
  for (std::size_t i = 0; i < before.pixels.size(); ++i) {
    if (tk::contrastRatio(before.pixels[i], after.pixels[i]) >= ratio) ++changed;
  }
  return changed;
}

namespace {
void checkText(const Sight& sight, const ControlSight& c, std::vector<std::string>& problems) {
  if (!c.visible || c.kind == ControlKind::Icon || c.textBox.width <= 0 || blank(c.text)) return;
  // A control scrolled out of sight is looked at where it can be seen.
  if (!contains(sight.visible, c.textBox)) return;
  const Ink ink = inkIn(sight.picture, c.textBox);
  if (ink.contrast < kNoInk) {
    problems.push_back(describe(c) + ": no text can be seen in its " + rectText(c.textBox));
    return;
  }
  if (ink.contrast < tk::kReadableContrast) {
    problems.push_back(describe(c) + (c.enabled ? "" : " (disabled)") + ": text contrast " +
                       ratio(ink.contrast) + ", needs " + ratio(tk::kReadableContrast));
  }
  if (ink.left >= 0 && c.oneLine && c.textWidth > 0) {
    const int shown = ink.right - ink.left + 1;
    // The glyphs' own margins at both ends are no ink; for a text of a letter or two they are
    // most of its width, so such a text is judged by its ends alone.
    const int tolerance = 3 + c.textWidth / 10;
    if (longerThan(c.text, 2) && shown < c.textWidth - tolerance) {
      problems.push_back(describe(c) + ": cut, " + std::to_string(shown) + " of its " +
                         std::to_string(c.textWidth) + " pixels can be seen");
    } else if (ink.right >= c.textBox.x + c.textBox.width - 1 &&
               c.textWidth > c.textBox.width - 2) {
      problems.push_back(describe(c) + ": runs into the end of its box (" +
                         std::to_string(c.textWidth) + " pixels of text, " +
                         std::to_string(c.textBox.width) + " of room)");
    }
  }
  if (c.kind == ControlKind::ComboBox && c.widestItem > c.textBox.width) {
    problems.push_back(describe(c) + ": its widest entry (#" + std::to_string(c.widestPosition) +
                       ") needs " + std::to_string(c.widestItem) + " pixels, the box has " +
                       std::to_string(c.textBox.width));
  }
}
}  // namespace

int selectedEdit(const Sight& sight) {
  const ControlSight* c = sight.control(sight.focused);
  if (c == nullptr || c->kind != ControlKind::Edit) return -1;
  return sight.selectionStart != sight.selectionEnd ? c->index : -1;
}

void checkTexts(const Sight& sight, std::vector<std::string>& problems, bool skipSelected) {
  const int skip = skipSelected ? selectedEdit(sight) : -1;
  for (const ControlSight& c : sight.controls) {
    if (c.index != skip) checkText(sight, c, problems);
  }
}

void checkTextOf(const Sight& sight, int index, std::vector<std::string>& problems) {
  if (const ControlSight* c = sight.control(index)) checkText(sight, *c, problems);
}

void checkInView(const Sight& sight, std::vector<std::string>& problems) {
  if (!sight.onScreen) problems.push_back("the window does not lie inside the screen's free area");
  const ControlSight* c = sight.control(sight.focused);
  if (c == nullptr) return;
  // A control at the dialog's edge has no room for all of its ring.
  const Rect ring = intersected(grown(c->box, sight.ringReach), sight.content);
  if (!contains(sight.visible, ring)) {
    problems.push_back(describe(*c) + " has the focus but is not in view: " + rectText(ring) +
                       " with its ring, " + rectText(sight.visible) + " of " +
                       rectText(sight.content) + " can be seen");
  }
}

void checkAnnounced(const Table& table, int templateId, const std::vector<Announced>& controls,
                    std::vector<std::string>& problems) {
  auto rowOf = [&](int id) -> const ControlRow* {
    for (const ControlRow& row : table.controls) {
      if (row.templateId == templateId && row.id == id) return &row;
    }
    return nullptr;
  };
  for (const Announced& c : controls) {
    const std::string which = "control " + std::to_string(c.id);
    if (!c.interactive || !c.visible) continue;
    if (c.name.empty()) problems.push_back(which + " has no name");
    if (!c.value.empty() && c.name == c.value) {
      problems.push_back(which + " is named by its value \"" + c.value + "\"");
    }
    const ControlRow* row = rowOf(c.id);
    if (row == nullptr) {
      problems.push_back("no row in the table for: control " + std::to_string(templateId) + " " +
                         std::to_string(c.id) + " " + c.role + " \"" + c.name + "\"" +
                         (c.description.empty() ? "" : " \"" + c.description + "\""));
      continue;
    }
    auto expect = [&](const char* what, const std::string& want, const std::string& got) {
      if (want != got) {
        problems.push_back(which + "'s " + what + " is \"" + got + "\", not \"" + want + "\"");
      }
    };
    expect("role", row->role, c.role);
    expect("name", row->name, c.name);
    expect("description", row->description, c.description);
    if (c.statesHeard && *c.statesHeard != c.states) {
      problems.push_back(which + " says it is \"" + *c.statesHeard + "\", not \"" + c.states + "\"");
    }
  }
  for (const ControlRow& row : table.controls) {
    if (row.templateId != templateId) continue;
    const bool shown = std::any_of(controls.begin(), controls.end(),
                                   [&](const Announced& c) { return c.id == row.id; });
    if (!shown) problems.push_back("control " + std::to_string(row.id) + " is not in the window");
  }
}

void checkFirstFocus(const Sight& sight, int focusId, std::vector<std::string>& problems) {
  const ControlSight* expected = sight.controlById(focusId);
  const ControlSight* focused = sight.control(sight.focused);
  if (expected == nullptr || focused != expected) {
    problems.push_back("opens with the focus on " +
                       (focused != nullptr ? describe(*focused) : std::string("nothing")) +
                       ", not on control " + std::to_string(focusId));
    return;
  }
  checkSelection(sight, *focused, problems, "the first focus");
  // A window that shows only part of its dialog opens at its top left corner, moved no further
  // than it takes to show the first focus with its ring.
  const Rect ring = intersected(grown(focused->box, sight.ringReach), sight.content);
  const int needX = tk::scrollToShow(0, sight.visible.width, ring.x - sight.content.x, ring.width,
                                     sight.content.width);
  const int needY = tk::scrollToShow(0, sight.visible.height, ring.y - sight.content.y,
                                     ring.height, sight.content.height);
  const int atX = sight.visible.x - sight.content.x;
  const int atY = sight.visible.y - sight.content.y;
  if (atX > needX || atY > needY) {
    problems.push_back("opens scrolled to " + std::to_string(atX) + "," + std::to_string(atY) +
                       " of its dialog, where showing " + describe(*focused) + " needs " +
                       std::to_string(needX) + "," + std::to_string(needY));
  }
}

void checkTabCycle(const std::vector<TabStop>& stops, std::vector<std::string>& problems) {
  if (stops.size() < 2) return;
  const int start = stops.front().report.focused;
  if (stops.back().report.focused != start) {
    problems.push_back("Tab does not come back round to where the focus started");
  }
  for (std::size_t k = 1; k < stops.size(); ++k) {
    const Sight& report = stops[k].report;
    if (const ControlSight* c = report.control(report.focused)) {
      checkSelection(report, *c, problems, "Tab");
    }
    checkInView(report, problems);
  }
  for (std::size_t k = 0; k + 1 < stops.size(); ++k) {
    const Crop& on = stops[k].focused;
    const Crop& off = stops[k + 1].previous;
    const ControlSight* c = stops[k].report.control(on.index);
    // A window with one control keeps the focus on it: its look without the focus is not seen.
    if (c == nullptr || on.picture.pixels.empty() || off.index != on.index ||
        off.picture.pixels.empty() || stops[k + 1].report.focused == on.index) {
      continue;
    }
    // The ring is judged where both looks show it whole (a window that scrolled between them
    // may show less of the control the second time).
    const int reach = stops[k].report.ringReach;
    const Rect ringOn = grown(on.control, reach);
    const Rect ringOff = grown(off.control, reach);
    const Rect wholeOn{0, 0, on.picture.width, on.picture.height};
    const Rect wholeOff{0, 0, off.picture.width, off.picture.height};
    if (!contains(wholeOn, ringOn) || !contains(wholeOff, ringOff)) continue;
    const Picture focused = on.picture.crop(ringOn);
    const Picture unfocused = off.picture.crop(ringOff);
    const int changed = pixelsChanged(unfocused, focused, tk::kFocusContrast);
    const int outline = 2 * (c->box.width + c->box.height);
    if (changed < outline) {
      problems.push_back(describe(*c) + ": its focus indicator changes " + std::to_string(changed) +
                         " pixels by " + ratio(tk::kFocusContrast) + " or more, fewer than its " +
                         std::to_string(outline) + "-pixel outline");
    }
  }
}

void checkTabOrder(const std::vector<TabStop>& stops, std::vector<std::string>& problems) {
  // A Tab round that did not come back is reported by checkTabCycle.
  if (stops.size() < 2 || stops.back().report.focused != stops.front().report.focused) return;
  const Sight& first = stops.front().report;
  std::vector<bool> reached(first.controls.size(), false);
  std::string order;
  int wraps = 0;
  int last = -1;
  for (const TabStop& stop : stops) {
    const ControlSight* c = first.control(stop.report.focused);
    if (c == nullptr) continue;  // the focus outside the dialog (a title bar's button)
    // Where the control stands in the window's own list of its controls: the template's order,
    // or, where the page lays a window out in one column, that column from top to bottom.
    const int at = static_cast<int>(c - first.controls.data());
    order += (order.empty() ? "" : " ") + std::to_string(c->id);
    reached[static_cast<std::size_t>(at)] = true;
    if (last >= 0 && at <= last) ++wraps;
    last = at;
  }
  if (wraps != 1) problems.push_back("Tab goes round out of the order the controls stand in: " + order);
  const auto usable = [](const ControlSight& c) { return c.visible && c.enabled; };
  for (std::size_t i = 0; i < first.controls.size(); ++i) {
    const ControlSight& c = first.controls[i];
    if (c.kind == ControlKind::RadioButton) {
      // A row of radio buttons is one stop: the arrow keys move within it.
      bool any = false;
      bool usableRow = false;
      std::size_t end = i;
      for (; end < first.controls.size() && first.controls[end].kind == ControlKind::RadioButton; ++end) {
        any = any || reached[end];
        usableRow = usableRow || usable(first.controls[end]);
      }
      if (usableRow && !any) problems.push_back("Tab never reaches the radio buttons from " + describe(c));
      i = end - 1;
      continue;
    }
    const bool takesTab = c.kind == ControlKind::PushButton || c.kind == ControlKind::CheckBox ||
                          c.kind == ControlKind::Edit || c.kind == ControlKind::ComboBox;
    if (takesTab && usable(c) && !reached[i]) problems.push_back("Tab never reaches " + describe(c));
  }
}

}  // namespace tarnwick::windowcheck
