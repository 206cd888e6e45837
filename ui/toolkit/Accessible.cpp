#include "ui/toolkit/Accessible.h"

#include <algorithm>
#include <map>
#include <string>

namespace tarnwick::tk {

namespace {

using Controls = std::span<const ControlState>;

std::u16string trimmed(std::u16string_view s) {
  while (!s.empty() && s.front() == u' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == u' ') s.remove_suffix(1);
  return std::u16string(s);
}

// A static text with a word in it; a lone ":" between two boxes names nothing.
bool isWording(const ControlState& c) {
  if (c.kind != ControlKind::Static) return false;
  for (const char16_t ch : c.text) {
    if ((ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z') ||
        ch >= 0x80) {
      return true;
    }
  }
  return false;
}

bool isBox(const ControlState& c) {
  return c.kind == ControlKind::Edit || c.kind == ControlKind::ComboBox;
}

// The label of the control at `i`: for a box, the text before it, past other boxes the same
// label names and lone punctuation; for a radio button, the text before its group.
int labelOf(Controls controls, std::size_t i) {
  const ControlState& self = controls[i];
  if (!isBox(self) && self.kind != ControlKind::RadioButton) return -1;
  for (std::size_t j = i; j-- > 0;) {
    const ControlState& c = controls[j];
    if (isWording(c)) return static_cast<int>(j);
    const bool passable =
        isBox(self) ? (isBox(c) || c.kind == ControlKind::Static)
                    : (c.kind == ControlKind::RadioButton && (controls[j + 1].style & kGroupStart) == 0);
    if (!passable) return -1;
  }
  return -1;
}

bool inside(const Rect& inner, const Rect& outer) {
  const int cx = inner.x + inner.width / 2;
  const int cy = inner.y + inner.height / 2;
  return cx >= outer.x && cx < outer.x + outer.width && cy >= outer.y && cy < outer.y + outer.height;
}

// The smallest captioned group box the control lies in, or -1.
int groupOf(Controls controls, std::size_t i) {
  int best = -1;
  for (std::size_t g = 0; g < controls.size(); ++g) {
    const ControlState& box = controls[g];
    if (g == i || box.kind != ControlKind::GroupBox || trimmed(box.text).empty()) continue;
    if (!inside(controls[i].rect, box.rect)) continue;
    if (best < 0 || box.rect.width * box.rect.height <
                        controls[static_cast<std::size_t>(best)].rect.width *
                            controls[static_cast<std::size_t>(best)].rect.height) {
      best = static_cast<int>(g);
    }
  }
  return best;
}

AccessibleRole roleOf(const ControlState& c) {
  switch (c.kind) {
    case ControlKind::Static: return AccessibleRole::Label;
    case ControlKind::GroupBox: return AccessibleRole::Group;
    case ControlKind::Icon: return AccessibleRole::Graphic;
    case ControlKind::PushButton: return AccessibleRole::Button;
    case ControlKind::CheckBox: return AccessibleRole::CheckBox;
    case ControlKind::RadioButton: return AccessibleRole::RadioButton;
    case ControlKind::ComboBox: return AccessibleRole::List;
    case ControlKind::Edit: return AccessibleRole::Edit;
  }
  return AccessibleRole::Label;
}

std::u16string counted(std::size_t number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

void append(std::u16string& to, const std::u16string& part) {
  if (part.empty()) return;
  if (!to.empty()) to += u", ";
  to += part;
}

}  // namespace

std::string_view roleName(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::Label: return "label";
    case AccessibleRole::Group: return "group";
    case AccessibleRole::Graphic: return "graphic";
    case AccessibleRole::Button: return "button";
    case AccessibleRole::CheckBox: return "check box";
    case AccessibleRole::RadioButton: return "radio button";
    case AccessibleRole::List: return "list";
    case AccessibleRole::Edit: return "edit";
  }
  return "label";
}

std::vector<Accessible> accessibleOf(Controls controls) {
  const std::size_t n = controls.size();
  std::vector<Accessible> out(n);
  std::vector<int> labels(n, -1);
  std::map<int, std::vector<std::size_t>> named;  // label -> the boxes it names, in order
  std::vector<bool> labelling(n, false);
  std::map<std::u16string, int> captions;          // caption -> controls that show it
  for (std::size_t i = 0; i < n; ++i) {
    labels[i] = labelOf(controls, i);
    if (labels[i] >= 0) {
      labelling[static_cast<std::size_t>(labels[i])] = true;
      if (isBox(controls[i])) named[labels[i]].push_back(i);
    }
    const ControlKind k = controls[i].kind;
    if (k == ControlKind::CheckBox || k == ControlKind::RadioButton) ++captions[trimmed(controls[i].text)];
  }

  // A text after a row of boxes that names nothing after it is their hint ("(5s-30s)").
  std::map<int, int> hintOf;  // label -> hint
  std::vector<bool> hint(n, false);
  for (std::size_t s = 1; s < n; ++s) {
    if (!isWording(controls[s]) || labelling[s] || !isBox(controls[s - 1])) continue;
    const int label = labels[s - 1];
    if (label < 0) continue;
    hintOf[label] = static_cast<int>(s);
    hint[s] = true;
  }

  // A text above a box that neither names nor hints is a column heading ("HH" over the hours).
  auto headingOf = [&](std::size_t i) {
    int best = -1;
    const Rect& r = controls[i].rect;
    for (std::size_t h = 0; h < n; ++h) {
      const ControlState& c = controls[h];
      if (!isWording(c) || labelling[h] || hint[h]) continue;
      const int bottom = c.rect.y + c.rect.height;
      const int overlap = std::min(r.x + r.width, c.rect.x + c.rect.width) - std::max(r.x, c.rect.x);
      if (bottom > r.y || r.y - bottom > r.height || overlap * 2 < std::min(r.width, c.rect.width)) {
        continue;
      }
      if (best < 0 || bottom > controls[static_cast<std::size_t>(best)].rect.y +
                                   controls[static_cast<std::size_t>(best)].rect.height) {
        best = static_cast<int>(h);
      }
    }
    return best;
  };

  for (std::size_t i = 0; i < n; ++i) {
    const ControlState& c = controls[i];
    Accessible& a = out[i];
    a.role = roleOf(c);
    a.labelIndex = labels[i];
    a.interactive = c.kind != ControlKind::Static && c.kind != ControlKind::GroupBox &&
                    c.kind != ControlKind::Icon;
    a.hidden = !c.visible;
    const int group = groupOf(controls, i);
    a.groupIndex = group;
    if (group >= 0) a.group = trimmed(controls[static_cast<std::size_t>(group)].text);
    const std::u16string label =
        labels[i] >= 0 ? trimmed(controls[static_cast<std::size_t>(labels[i])].text) : u"";

    if (!isBox(c)) {
      a.name = trimmed(c.text);
      const bool shared = a.interactive && c.kind != ControlKind::PushButton && captions[a.name] > 1;
      const std::u16string& qualifier = !label.empty() ? label : a.group;
      if (shared && !qualifier.empty()) a.name = qualifier + u": " + a.name;
      if (a.interactive && (!shared || qualifier != a.group)) append(a.description, a.group);
      continue;
    }

    const int heading = headingOf(i);
    const std::u16string headingText =
        heading >= 0 ? trimmed(controls[static_cast<std::size_t>(heading)].text) : u"";
    a.name = !label.empty() ? label : !headingText.empty() ? headingText : a.group;
    if (a.name != a.group) append(a.description, a.group);
    if (a.name != headingText) append(a.description, headingText);
    if (labels[i] >= 0) {
      const std::vector<std::size_t>& boxes = named[labels[i]];
      if (boxes.size() > 1 && headingText.empty()) {
        std::size_t place = 1;
        while (boxes[place - 1] != i) ++place;
        append(a.description, counted(place) + u" of " + counted(boxes.size()));
      }
      const auto h = hintOf.find(labels[i]);
      if (h != hintOf.end()) append(a.description, trimmed(controls[static_cast<std::size_t>(h->second)].text));
    }
  }
  return out;
}

}  // namespace tarnwick::tk
