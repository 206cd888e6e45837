// The window check's rules for an edition that cannot run them itself: the browser tests write
// what the page showed for each case of the table (the page's report of its controls, focus and
// scrolling as JSON, pictures as binary PPM files) and this program applies the same rules as
// the Qt and Windows tests do.
//
//   tarnwick_window_check_tool REPORT.json
//
// Prints one line per problem ("CASE: problem") and ends with status 1 when there is any, 2 when
// the report cannot be read.

#include "WindowCheck.h"
#include "WindowCheckRun.h"

#include "config/TextConversions.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>

namespace tarnwick::windowcheck {
namespace {

using nlohmann::json;

// A binary PPM (P6, 8 bits per channel), as the browser tests write them.
Picture readPpm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::string magic;
  int width = 0;
  int height = 0;
  int maximum = 0;
  in >> magic >> width >> height >> maximum;
  in.get();
  if (magic != "P6" || maximum != 255 || width <= 0 || height <= 0 || width > 20000 ||
      height > 20000) {
    throw std::runtime_error(path + " is not an 8-bit binary PPM");
  }
  Picture picture;
  picture.width = width;
  picture.height = height;
  std::string bytes(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, '\0');
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    throw std::runtime_error(path + " is shorter than its size says");
  }
  picture.pixels.reserve(bytes.size() / 3);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    picture.pixels.push_back({static_cast<std::uint8_t>(bytes[i]),
                              static_cast<std::uint8_t>(bytes[i + 1]),
                              static_cast<std::uint8_t>(bytes[i + 2])});
  }
  return picture;
}

Rect rectOf(const json& value) {
  if (!value.is_array() || value.size() != 4) return {};
  return {value[0].get<int>(), value[1].get<int>(), value[2].get<int>(), value[3].get<int>()};
}

Sight sightOf(const json& value) {
  Sight sight;
  if (value.contains("picture") && value["picture"].is_string()) {
    sight.picture = readPpm(value["picture"].get<std::string>());
  }
  sight.visible = rectOf(value.at("visible"));
  sight.content = rectOf(value.at("content"));
  sight.onScreen = value.value("onScreen", true);
  sight.ringReach = value.value("ringReach", 3);
  sight.focused = value.value("focused", -1);
  if (value.contains("selection")) {
    sight.selectionStart = value["selection"][0].get<int>();
    sight.selectionEnd = value["selection"][1].get<int>();
  }
  for (const json& c : value.at("controls")) {
    ControlSight control;
    control.index = c.at("index").get<int>();
    control.id = c.value("id", tk::kNoControlId);
    control.kind = kindOf(c.at("kind").get<std::string>());
    control.enabled = c.value("enabled", true);
    control.visible = c.value("visible", true);
    control.box = rectOf(c.at("box"));
    if (c.contains("textBox")) control.textBox = rectOf(c["textBox"]);
    control.text = fromUtf8(c.value("text", std::string()));
    control.textWidth = c.value("textWidth", 0);
    control.oneLine = c.value("oneLine", false);
    control.widestItem = c.value("widestItem", 0);
    control.widestPosition = c.value("widestPosition", -1);
    sight.controls.push_back(std::move(control));
  }
  return sight;
}

std::vector<Announced> announcedOf(const json& value) {
  std::vector<Announced> out;
  for (const json& c : value) {
    out.push_back({c.at("id").get<int>(), c.value("role", std::string()), c.value("name", std::string()),
                   c.value("description", std::string()), c.value("value", std::string()),
                   c.value("interactive", true), c.value("visible", true)});
  }
  return out;
}

Crop cropOf(const json& value) {
  Crop crop;
  if (!value.is_object()) return crop;
  crop.index = value.at("index").get<int>();
  crop.control = rectOf(value.at("control"));
  crop.picture = readPpm(value.at("picture").get<std::string>());
  return crop;
}

int run(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open " + path);
  const json report = json::parse(in);
  std::vector<std::string> tableErrors;
  const Table table = programTable(tableErrors);
  if (!tableErrors.empty()) throw std::runtime_error("the table: " + tableErrors.front());
  int problems = 0;
  for (const json& c : report.at("cases")) {
    const std::string name = c.at("case").get<std::string>();
    std::vector<std::string> found;
    for (const json& p : c.value("problems", json::array())) found.push_back(p.get<std::string>());
    if (c.contains("first")) {
      const Sight first = sightOf(c["first"]);
      checkTexts(first, found);
      checkInView(first, found);
      if (c.value("asOpened", false)) checkFirstFocus(first, c.at("focusId").get<int>(), found);
    }
    std::vector<TabStop> stops;
    for (const json& s : c.value("stops", json::array())) {
      stops.push_back({sightOf(s.at("report")), cropOf(s.value("focused", json())),
                       cropOf(s.value("previous", json()))});
    }
    // The edit whose text the first look showed selected is read after the first Tab.
    if (stops.size() > 1 && !stops[1].report.picture.pixels.empty()) {
      const int unread = selectedEdit(stops[0].report);
      if (unread >= 0) checkTextOf(stops[1].report, unread, found);
    }
    checkTabCycle(stops, found);
    checkTabOrder(stops, found);
    if (c.contains("announced")) checkAnnounced(table, c.at("template").get<int>(), announcedOf(c["announced"]), found);
    for (const std::string& p : found) std::cout << name << ": " << p << "\n";
    problems += static_cast<int>(found.size());
  }
  std::cout << report.at("cases").size() << " cases, " << problems << " problems\n";
  return problems == 0 ? 0 : 1;
}

}  // namespace
}  // namespace tarnwick::windowcheck

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: tarnwick_window_check_tool REPORT.json\n";
    return 2;
  }
  try {
    return tarnwick::windowcheck::run(argv[1]);
  } catch (const std::exception& e) {
    std::cerr << "tarnwick_window_check_tool: " << e.what() << "\n";
    return 2;
  }
}
