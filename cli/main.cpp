#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/Commands.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// shellapi.h after windows.h: CommandLineToArgvW.
#include <shellapi.h>

namespace {

std::string toUtf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string out(static_cast<std::size_t>(size - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}

// Windows hands a console program its arguments as UTF-16; the C runtime's argv holds them in
// the active code page, which loses every character outside it. The tool works in UTF-8
// throughout, so it reads the UTF-16 command line itself.
std::vector<std::string> utf8Arguments() {
  std::vector<std::string> args;
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 0; i < count; ++i) args.push_back(toUtf8(wide[i]));
    LocalFree(wide);
  }
  return args;
}

// Standard output carries menu.cfg images and oper.db files: in the C runtime's default text
// mode every 0x0A byte would become 0D 0A. Text output uses "\n" line ends, as on other systems.
// A console shows the UTF-8 text as UTF-8.
void prepareStandardStreams() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
}

}  // namespace
#endif

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
#ifdef _WIN32
  prepareStandardStreams();
  const std::vector<std::string> args = utf8Arguments();
  std::vector<const char*> utf8Argv;
  for (const std::string& a : args) utf8Argv.push_back(a.c_str());
  utf8Argv.push_back(nullptr);
  if (!args.empty()) {
    argc = static_cast<int>(args.size());
  }
  const char* const* arguments = args.empty() ? argv : utf8Argv.data();
#else
  const char* const* arguments = argv;
#endif
  int status = tarnwick::cli::runCli(argc, arguments, std::cout, std::cerr);
  // Output that could not be written (a full disk, a closed pipe) is a failure, never success.
  std::cout.flush();
  if (!std::cout.good()) {
    std::cerr << "tarnwick-cfg: standard output: the output could not be written\n";
    if (status == tarnwick::cli::kExitOk) status = tarnwick::cli::kExitFailed;
  }
  return status;
}
