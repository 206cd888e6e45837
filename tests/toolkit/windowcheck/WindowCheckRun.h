#pragma once

#include "WindowCheck.h"

#include "ui/toolkit/headless/Script.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::windowcheck {

// What an edition does for the window check when the check runs inside its program (Qt, and
// Windows under Wine). Every call concerns the window on top.
class Edition {
 public:
  virtual ~Edition() = default;
  // Runs `action` soon from the edition's event loop (also from a nested window's loop).
  virtual void later(std::function<void()> action) = 0;
  // The template of the window on top; 0 when what is on top is no dialog of the program.
  virtual int topTemplate() = 0;
  // One user action (a UI-script step: click, select, type, key, sysmenu), as native input.
  virtual void act(const tk::ScriptStep& step) = 0;
  // The Tab key.
  virtual void pressTab() = 0;
  // A look at the window: the report, and the picture when `picture`.
  virtual Sight look(bool picture) = 0;
  // What a screen reader hears of each control of the window on top, asked of the platform's
  // own accessibility interface; nothing from an edition whose platform cannot be asked there.
  virtual std::optional<std::vector<Announced>> announced() { return std::nullopt; }
  // Ends the window on top as cancelled (a message box: answered).
  virtual void closeTop() = 0;
};

struct CaseResult {
  std::string name;
  std::vector<std::string> problems;
};

// Runs every case of the table, one after the other, from the main window: each opens its
// window by the table's steps, reaches its state, is looked at and checked, goes round with
// Tab, and is closed again down to the main window. Start it once the main window is shown;
// the run goes on from the edition's event loop, one action at a time (an action that opens a
// window returns only once that window has closed, so the next one is always scheduled first),
// and ends by closing the main window.
class CheckRun {
 public:
  CheckRun(const Table& table, Edition& edition, int mainTemplate);
  void start();
  // Called with each case's first look (for pictures a person can open).
  void setLookHook(std::function<void(const Picture&, const std::string&)> hook) {
    lookHook_ = std::move(hook);
  }
  bool finished() const { return finished_; }
  const std::vector<CaseResult>& results() const { return results_; }
  // How many actions have run: a watchdog sees progress from it.
  std::size_t progress() const { return progress_; }

 private:
  void schedule();
  void pump();
  void queueCase(const Case& c);
  void queueSteps(const std::vector<Step>& steps);
  void queueLongest();
  void queueTabStop(int remaining);
  void closeDownToMain(int attempts);
  void problem(std::string text);

  const Table& table_;
  Edition& edition_;
  int mainTemplate_;
  std::function<void(const Picture&, const std::string&)> lookHook_;
  std::deque<std::function<void()>> todo_;
  std::vector<CaseResult> results_;
  std::vector<TabStop> stops_;
  bool pending_ = false;
  bool finished_ = false;
  bool failedCase_ = false;
  int unread_ = -1;
  std::size_t progress_ = 0;
};

// The program's table (window-check.table); what does not read comes back in `errors`.
Table programTable(std::vector<std::string>& errors);
// Every problem a run found, each named by its case, and whether the run got through the table.
std::vector<std::string> problemsOf(const CheckRun& run, const Table& table);

}  // namespace tarnwick::windowcheck
