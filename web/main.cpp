// The browser edition: the main window on the web page's backend. The page (page.js) loads this
// program; when the main window closes, the program ends and the page says so.

#include "ui/main/CTarnwickApp.h"
#include "ui/toolkit/Backend.h"
#include "ui/toolkit/web/WebBackend.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {
tarnwick::CTarnwickApp theApp;
}

int main() {
  // emscripten's file system starts with a umask of 0777: a file the program created would get
  // mode 0 and could not be read back. Start from the usual mask.
  ::umask(022);
  // The working folder of the in-memory file system: the page puts the operator table the user
  // picks here as oper.db, where the network window looks for it each time it opens.
  ::mkdir("/files", 0755);
  ::chdir("/files");

  tarnwick::tk::web::WebBackend backend;
  tarnwick::tk::setBackend(&backend);
  theApp.InitInstance();
  tarnwick::tk::setBackend(nullptr);
  return 0;
}
