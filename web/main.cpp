// The browser edition: the main window on the web page's backend. The page (page.js) loads this
// program; when the main window closes, the program ends and the page says so.

#include "network/OperatorDb.h"
#include "ui/main/CTarnwickApp.h"
#include "ui/toolkit/Backend.h"
#include "ui/toolkit/web/PageBridge.h"
#include "ui/toolkit/web/WebBackend.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace {
tarnwick::CTarnwickApp theApp;

constexpr const char* kOperatorTableInput = "oper-table";
// Where the network window looks for the operator table each time it opens.
constexpr const char* kOperatorDbPath = "/files/oper.db";

// The table the user picked on the page becomes the working folder's oper.db, read no further
// than the reader's limit, and the page says at once whether the network window can use it: a
// file the reader refuses would otherwise leave the built-in table in place without a word.
void operatorTablePicked() {
  namespace page = tarnwick::tk::web::page;
  std::remove(kOperatorDbPath);
  const page::FileReply file =
      page::readPageFile(kOperatorTableInput, tarnwick::kMaxOperatorDbSize);
  if (file.status == "none") {
    page::showPageFileNote(kOperatorTableInput, "");
    return;
  }
  tarnwick::FileError refused{file.name, file.text, 0, tarnwick::FileErrorKind::CannotOpen};
  std::optional<tarnwick::FileError> error;
  if (file.status == "too-large") {
    refused.kind = tarnwick::FileErrorKind::TooLarge;
    error = refused;
  } else if (file.status != "read") {
    error = refused;
  } else {
    if (std::FILE* out = std::fopen(kOperatorDbPath, "wb")) {
      std::fwrite(file.bytes.data(), 1, file.bytes.size(), out);
      std::fclose(out);
    }
    tarnwick::OperatorTable table;
    error = tarnwick::loadOperatorDb(table, kOperatorDbPath);
    if (!error) {
      const std::uint32_t countries = table.countryCount();
      page::showPageFileNote(kOperatorTableInput,
                             "The MMS / 4G Setup window uses " + file.name + ": " +
                                 std::to_string(countries) +
                                 (countries == 1 ? " country." : " countries."));
      tarnwick::releaseOperatorTable(table);
      return;
    }
    std::remove(kOperatorDbPath);
  }
  page::showPageFileNote(kOperatorTableInput,
                         file.name + " cannot be used: " + tarnwick::operatorDbRefusal(*error) +
                             ". The MMS / 4G Setup window uses the built-in table.");
}
}  // namespace

int main() {
  // emscripten's file system starts with a umask of 0777: a file the program created would get
  // mode 0 and could not be read back. Start from the usual mask.
  ::umask(022);
  // The working folder of the in-memory file system: the operator table the user picks on the
  // page goes here as oper.db, where the network window looks for it each time it opens.
  ::mkdir("/files", 0755);
  ::chdir("/files");

  tarnwick::tk::web::WebBackend backend;
  backend.onPageFile([](const std::string& input) {
    if (input == kOperatorTableInput) operatorTablePicked();
  });
  tarnwick::tk::setBackend(&backend);
  theApp.InitInstance();
  tarnwick::tk::setBackend(nullptr);
  return 0;
}
