#include "WindowCheckRun.h"

#include <variant>

namespace tarnwick::windowcheck {

namespace {
// Windows that stay open after a case (a message box among them) are closed from the top; a
// case that leaves more than this many is given up on.
constexpr int kCloseAttempts = 6;

Sight reportOf(Sight sight) {
  sight.picture = {};
  return sight;
}
}  // namespace

CheckRun::CheckRun(const Table& table, Edition& edition, int mainTemplate)
    : table_(table), edition_(edition), mainTemplate_(mainTemplate) {}

void CheckRun::start() {
  for (const Case& c : casesOf(table_)) queueCase(c);
  todo_.emplace_back([this] {
    finished_ = true;
    edition_.closeTop();
  });
  pump();
}

void CheckRun::schedule() {
  if (pending_ || todo_.empty()) return;
  pending_ = true;
  edition_.later([this] { pump(); });
}

void CheckRun::pump() {
  pending_ = false;
  if (todo_.empty()) return;
  std::function<void()> action = std::move(todo_.front());
  todo_.pop_front();
  ++progress_;
  // Scheduled before it runs: an action that opens a window returns only when that window has
  // closed, and the next actions run in that window's loop.
  schedule();
  action();
  schedule();
}

void CheckRun::problem(std::string text) { results_.back().problems.push_back(std::move(text)); }

void CheckRun::queueCase(const Case& c) {
  const int templateId = c.window->templateId;
  todo_.emplace_back([this, c] {
    results_.push_back({c.name(), {}});
    failedCase_ = false;
  });
  queueSteps(c.steps());
  const bool asOpened = c.state->steps.empty();
  const int focusId = c.window->focusId;
  todo_.emplace_back([this, templateId, asOpened, focusId] {
    const int top = edition_.topTemplate();
    if (top != templateId) {
      problem("the window is not open (template " + std::to_string(top) + " is on top)");
      failedCase_ = true;
      return;
    }
    const Sight sight = edition_.look(true);
    if (lookHook_) lookHook_(sight.picture, results_.back().name);
    checkTexts(sight, results_.back().problems);
    checkInView(sight, results_.back().problems);
    if (asOpened) checkFirstFocus(sight, focusId, results_.back().problems);
    if (const auto heard = edition_.announced()) {
      checkAnnounced(table_, templateId, *heard, results_.back().problems);
    }
    stops_.clear();
    stops_.push_back({reportOf(sight), cropAround(sight, sight.focused), {}});
    unread_ = selectedEdit(sight);
    queueTabStop(static_cast<int>(sight.controls.size()) + 4);
  });
  todo_.emplace_back([this] {
    if (!failedCase_) {
      checkTabCycle(stops_, results_.back().problems);
      checkTabOrder(stops_, results_.back().problems);
    }
    stops_.clear();
  });
  todo_.emplace_back([this] { closeDownToMain(kCloseAttempts); });
}

void CheckRun::closeDownToMain(int attempts) {
  if (edition_.topTemplate() == mainTemplate_) return;
  if (attempts == 0) {
    problem("windows stay open above the main window");
    return;
  }
  edition_.closeTop();
  todo_.emplace_front([this, attempts] { closeDownToMain(attempts - 1); });
}

void CheckRun::queueSteps(const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    if (step.longest()) {
      todo_.emplace_back([this] { queueLongest(); });
      continue;
    }
    todo_.emplace_back([this, step] {
      if (failedCase_) return;
      const auto parsed = tk::parseScript(step.text);
      const auto* script = std::get_if<tk::Script>(&parsed);
      if (script == nullptr || script->steps.size() != 1) {
        problem("the table's step \"" + step.text + "\" is not one UI-script step");
        failedCase_ = true;
        return;
      }
      edition_.act(script->steps.front());
    });
  }
}

// Every list that can be used, in the template's order, set to its widest entry; each is looked
// at again first, as choosing one entry may change another list's entries.
void CheckRun::queueLongest() {
  if (failedCase_) return;
  const Sight sight = edition_.look(false);
  std::vector<int> lists;
  for (const ControlSight& c : sight.controls) {
    if (c.kind == ControlKind::ComboBox) lists.push_back(c.index);
  }
  for (auto it = lists.rbegin(); it != lists.rend(); ++it) {
    const int index = *it;
    todo_.emplace_front([this, index] {
      const Sight now = edition_.look(false);
      const ControlSight* c = now.control(index);
      if (c == nullptr || !c->visible || !c->enabled || c->widestPosition < 0) return;
      tk::ScriptStep select;
      select.kind = tk::ScriptStep::Kind::Select;
      select.id = c->id;
      select.number = c->widestPosition;
      edition_.act(select);
    });
  }
}

// One Tab, then a look: where the focus went, that control focused and the one before without
// the focus. Round the window until the focus is back where it started, or `remaining` Tabs.
void CheckRun::queueTabStop(int remaining) {
  todo_.emplace_front([this, remaining] {
    const int before = stops_.back().report.focused;
    const Sight sight = edition_.look(true);
    // The edit that had its text selected in the first look is read now, the focus gone.
    if (stops_.size() == 1 && unread_ >= 0) checkTextOf(sight, unread_, results_.back().problems);
    stops_.push_back({reportOf(sight), cropAround(sight, sight.focused), cropAround(sight, before)});
    if (sight.focused != stops_.front().report.focused && remaining > 1) {
      queueTabStop(remaining - 1);
    }
  });
  todo_.emplace_front([this] { edition_.pressTab(); });
}

Table programTable(std::vector<std::string>& errors) {
  std::vector<TableError> found;
  Table table = parseTable(kTableText, found);
  for (const TableError& e : found) {
    errors.push_back("window-check.table line " + std::to_string(e.line) + ": " + e.message);
  }
  return table;
}

std::vector<std::string> problemsOf(const CheckRun& run, const Table& table) {
  std::vector<std::string> problems;
  if (!run.finished()) problems.push_back("the window check did not get through the table");
  if (run.results().size() != casesOf(table).size()) {
    problems.push_back(std::to_string(run.results().size()) + " of " +
                       std::to_string(casesOf(table).size()) + " cases were looked at");
  }
  for (const CaseResult& result : run.results()) {
    for (const std::string& p : result.problems) problems.push_back(result.name + ": " + p);
  }
  return problems;
}

}  // namespace tarnwick::windowcheck
