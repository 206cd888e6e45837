#include "ToolRun.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#include <csignal>
#include <fstream>
#include <iterator>
#include <random>

namespace tarnwick::cli::test {

namespace {
std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

namespace {
#ifdef _WIN32
// One argument quoted for CommandLineToArgvW, the rule the C runtime's argv follows: quotes
// around it, backslashes doubled only where they precede a quote.
std::wstring quoteArgument(const std::wstring& arg) {
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, L'\\');
  out.push_back(L'"');
  return out;
}

// The program runs as a child process in the test's folder, with its standard output and
// error in files and standard input on NUL; arguments are passed as UTF-16, as Windows does.
ToolResult runToolReading(const std::vector<std::string>& args,
                          const std::filesystem::path& workDir, const std::string* input) {
  const std::filesystem::path outFile = workDir / ".tool-stdout";
  const std::filesystem::path errFile = workDir / ".tool-stderr";
  const std::filesystem::path program = std::filesystem::u8path(TARNWICK_CFG_PATH);
  std::wstring commandLine = quoteArgument(program.wstring());
  for (const std::string& a : args) {
    commandLine += L" " + quoteArgument(std::filesystem::u8path(a).wstring());
  }
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  auto openFile = [&](const std::filesystem::path& p, bool write) {
    return CreateFileW(p.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE out = openFile(outFile, true);
  HANDLE err = openFile(errFile, true);
  const std::filesystem::path inFile = workDir / ".tool-stdin";
  if (input != nullptr) {
    std::ofstream(inFile, std::ios::binary) << *input;
  }
  HANDLE in = openFile(input != nullptr ? inFile : std::filesystem::path(L"NUL"), false);
  ToolResult result;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  if (out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE && in != INVALID_HANDLE_VALUE &&
      CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     workDir.c_str(), &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) result.status = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (HANDLE h : {out, err, in}) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  result.out = readAll(outFile);
  result.err = readAll(errFile);
  std::filesystem::remove(outFile);
  std::filesystem::remove(errFile);
  if (input != nullptr) std::filesystem::remove(inFile);
  return result;
}
#else
// Standard input is a pipe the input is written into (or /dev/null without input).
ToolResult runToolReading(const std::vector<std::string>& args,
                          const std::filesystem::path& workDir, const std::string* input) {
  // Output goes to files beside the test's own files, so a large output cannot fill a pipe.
  const std::filesystem::path outFile = workDir / ".tool-stdout";
  const std::filesystem::path errFile = workDir / ".tool-stderr";
  std::vector<std::string> argvStore{TARNWICK_CFG_PATH};
  argvStore.insert(argvStore.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argvStore) argv.push_back(a.data());
  argv.push_back(nullptr);

  // fork, chdir, exec: the child runs in the test's folder; between fork and exec it calls
  // only async-signal-safe functions.
  int pipeFds[2] = {-1, -1};
  if (input != nullptr && pipe(pipeFds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (input != nullptr) close(pipeFds[1]);
    const int in = input != nullptr ? pipeFds[0] : open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0 || chdir(workDir.c_str()) != 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execve(argv[0], argv.data(), environ);
    _exit(127);
  }
  if (input != nullptr) {
    close(pipeFds[0]);
    // A program that ends without reading everything must not take the test down with SIGPIPE.
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    std::size_t done = 0;
    while (pid > 0 && done < input->size()) {
      const ssize_t n = write(pipeFds[1], input->data() + done, input->size() - done);
      if (n <= 0) break;  // the program stopped reading
      done += static_cast<std::size_t>(n);
    }
    close(pipeFds[1]);
    std::signal(SIGPIPE, previous);
  }
  ToolResult result;
  int wstatus = 0;
  if (pid > 0 && waitpid(pid, &wstatus, 0) == pid && WIFEXITED(wstatus)) {
    result.status = WEXITSTATUS(wstatus);
  }
  result.out = readAll(outFile);
  result.err = readAll(errFile);
  std::filesystem::remove(outFile);
  std::filesystem::remove(errFile);
  return result;
}
#endif

}  // namespace

ToolResult runTool(const std::vector<std::string>& args, const std::filesystem::path& workDir) {
  return runToolReading(args, workDir, nullptr);
}

ToolResult runToolWithInput(const std::vector<std::string>& args,
                            const std::filesystem::path& workDir, const std::string& input) {
  return runToolReading(args, workDir, &input);
}

ConfigRecord randomRecord(std::uint32_t seed) {
  std::mt19937 rng(seed);
  ConfigRecord record;
  // Alternate the byte distributions: uniform, then biased towards the values that matter to
  // the encodings (0x00, 0x20, 0x80, 0xFF, digits and small numbers).
  static constexpr std::uint8_t kSpecial[] = {0x00, 0x20, 0x80, 0xFF, 0x01, 0x09, 0x0A,
                                              0x3B, 0x7F, 0x9F, 0xE9, 0x5C, 0x22};
  for (std::uint8_t& b : record.bytes()) {
    if (seed % 2 == 0) {
      b = static_cast<std::uint8_t>(rng() & 0xFF);
    } else {
      b = kSpecial[rng() % std::size(kSpecial)];
    }
  }
  return record;
}

}  // namespace tarnwick::cli::test
