// Fuzz target for the UI script reader: any text parses to steps or to one error naming a line
// within the text, and every parsed step can be described again.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "ui/toolkit/headless/Script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  int lines = 1;
  for (const char c : text) lines += c == '\n' ? 1 : 0;

  auto parsed = tarnwick::tk::parseScript(text);
  if (const auto* error = std::get_if<tarnwick::tk::ScriptSyntaxError>(&parsed)) {
    require(error->line >= 1 && error->line <= lines);
    require(!error->message.empty());
    return 0;
  }
  const auto& script = std::get<tarnwick::tk::Script>(parsed);
  int previous = 0;
  for (const tarnwick::tk::ScriptStep& step : script.steps) {
    require(step.line > previous && step.line <= lines);
    previous = step.line;
    require(!tarnwick::tk::describeStep(step).empty());
  }
  return 0;
}
