#include "ui/toolkit/WindowFit.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace tarnwick::tk {

PixelSize WindowFit::view(int scrollBar) const {
  return {std::max(window.width - (vertical ? scrollBar : 0), 0),
          std::max(window.height - (horizontal ? scrollBar : 0), 0)};
}

WindowFit fitWindow(PixelSize content, PixelSize available, int scrollBar) {
  WindowFit fit;
  const int roomX = std::max(available.width, 1);
  const int roomY = std::max(available.height, 1);
  fit.horizontal = content.width > roomX;
  fit.vertical = content.height > roomY;
  // A bar along one side takes room the other direction needed.
  if (fit.horizontal && !fit.vertical) fit.vertical = content.height + scrollBar > roomY;
  if (fit.vertical && !fit.horizontal) fit.horizontal = content.width + scrollBar > roomX;
  fit.window.width = std::min(content.width + (fit.vertical ? scrollBar : 0), roomX);
  fit.window.height = std::min(content.height + (fit.horizontal ? scrollBar : 0), roomY);
  fit.window.width = std::max(fit.window.width, 1);
  fit.window.height = std::max(fit.window.height, 1);
  return fit;
}

int scrollToShow(int position, int view, int start, int length, int content) {
  const int last = std::max(content - view, 0);
  int p = std::clamp(position, 0, last);
  if (start + length > p + view) p = start + length - view;
  if (start < p) p = start;
  return std::clamp(p, 0, last);
}

Arrangement arrangementFor(int dialogWidth, int room, bool touchOnly) {
  return touchOnly || dialogWidth > room ? Arrangement::OneColumn : Arrangement::Template;
}

namespace {
// The middle of a control's first line of text, in dialog units: a drop-down list's rectangle
// includes its opened list, and a text of several lines starts at its top.
int lineMiddle(const Rect& r) {
  constexpr int kLine = 14;  // a box's height; a line of text is 8
  return r.y + std::min(r.height, kLine) / 2;
}

bool onOneLine(const Rect& a, const Rect& b) {
  constexpr int kNear = 6;  // three quarters of a line of text
  return std::abs(lineMiddle(a) - lineMiddle(b)) < kNear;
}
}  // namespace

std::vector<ColumnRow> oneColumnRows(std::span<const ControlState> controls,
                                     std::span<const Accessible> said) {
  const std::size_t n = std::min(controls.size(), said.size());
  std::vector<bool> labelling(n, false);
  for (std::size_t i = 0; i < n; ++i) {
    const int label = said[i].labelIndex;
    if (label >= 0 && static_cast<std::size_t>(label) < n) labelling[static_cast<std::size_t>(label)] = true;
  }
  // The rows in tab order, each with the section it belongs to: its group box, or (outside any)
  // the run of ungrouped rows it is part of, numbered below -1.
  std::vector<ColumnRow> rows;
  std::vector<int> sections;
  int runs = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (controls[i].kind == ControlKind::GroupBox) continue;
    const int group = said[i].groupIndex;
    const bool newRow =
        rows.empty() || rows.back().group != group || labelling[i] ||
        !onOneLine(controls[static_cast<std::size_t>(rows.back().controls.front())].rect,
                   controls[i].rect);
    if (newRow) {
      if (group < 0 && (rows.empty() || rows.back().group >= 0)) ++runs;
      rows.push_back({group, {}});
      sections.push_back(group >= 0 ? group : -1 - runs);
    }
    rows.back().controls.push_back(static_cast<int>(i));
  }
  // Each section where its first row comes; the rows keep their order within it.
  std::map<int, std::size_t> firstRow;
  for (std::size_t r = 0; r < rows.size(); ++r) firstRow.try_emplace(sections[r], r);
  std::vector<std::size_t> order(rows.size());
  for (std::size_t r = 0; r < order.size(); ++r) order[r] = r;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return firstRow.at(sections[a]) < firstRow.at(sections[b]);
  });
  std::vector<ColumnRow> arranged;
  arranged.reserve(rows.size());
  for (const std::size_t r : order) arranged.push_back(std::move(rows[r]));
  return arranged;
}

}  // namespace tarnwick::tk
