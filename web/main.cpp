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
  // emscripten's file system starts with a umask of 0777: every file the program created would
  // get mode 0, and reading a saved file back for its download would fail.
  ::umask(022);
  // Files the user opens are copied into this folder under their own names, oper.db among them,
  // and the program finds them by those names, as it finds them in its working folder elsewhere.
  ::mkdir("/files", 0755);
  ::chdir("/files");

  tarnwick::tk::web::WebBackend backend;
  tarnwick::tk::setBackend(&backend);
  theApp.InitInstance();
  tarnwick::tk::setBackend(nullptr);
  return 0;
}
