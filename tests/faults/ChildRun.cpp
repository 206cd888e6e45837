#include "ChildRun.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "config/TextConversions.h"
#include "ui/main/CTarnwickApp.h"
#include "ui/toolkit/Backend.h"
#include "ui/toolkit/headless/HeadlessBackend.h"
#include "ui/toolkit/headless/ScriptRunner.h"

extern char** environ;

#ifdef TARNWICK_FAULTS_COVERAGE
extern "C" void __gcov_dump(void);
#endif

namespace tarnwick::faults {

namespace {

// Reads both pipes to their end without letting either fill up and stall the child.
void collect(int outFd, int errFd, std::string& out, std::string& err) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {&out, &err};
  int open = 2;
  char buffer[4096];
  while (open > 0) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

// Coverage builds: a restricted child cannot (or must not) write the build's counter files;
// its counters go to a throwaway folder instead, and the tool's complaints about them are not
// part of what the program says.
std::string withoutProfilingLines(const std::string& text) {
#ifdef TARNWICK_FAULTS_COVERAGE
  std::istringstream in(text);
  std::string kept;
  for (std::string line; std::getline(in, line);) {
    const bool counters =
        line.rfind("profiling:", 0) == 0 || line.rfind("libgcov profiling error:", 0) == 0;
    if (!counters) kept += line + "\n";
  }
  return kept;
#else
  return text;
#endif
}

}  // namespace

ChildRun runChild(const std::string& folder, const Limits& limits,
                  const std::function<int()>& body) {
  ChildRun run;
  const std::optional<Account> account = unprivilegedAccount();
  if (limits.runner == Runner::Unprivileged && !account) {
    run.err = "no unprivileged account to switch to";
    return run;
  }
  int outPipe[2];
  int errPipe[2];
  if (::pipe2(outPipe, O_CLOEXEC) != 0) return run;
  if (::pipe2(errPipe, O_CLOEXEC) != 0) {
    ::close(outPipe[0]);
    ::close(outPipe[1]);
    return run;
  }
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);

  const pid_t pid = ::fork();
  if (pid == 0) {
    const int in = ::open("/dev/null", O_RDONLY);
    ::dup2(in, 0);
    ::dup2(outPipe[1], 1);
    ::dup2(errPipe[1], 2);
    if (::chdir(folder.c_str()) != 0) ::_exit(125);
    ::alarm(kWatchdogSeconds);
    rlimit original{};
    ::getrlimit(RLIMIT_FSIZE, &original);
    if (limits.fileSizeLimit != 0) {
      std::signal(SIGXFSZ, SIG_IGN);
      rlimit limit = original;
      limit.rlim_cur = static_cast<rlim_t>(limits.fileSizeLimit);
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(124);
    }
    if (limits.memoryLimit != 0) {
      const rlimit limit{static_cast<rlim_t>(limits.memoryLimit),
                         static_cast<rlim_t>(limits.memoryLimit)};
      if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(124);
    }
    if (limits.runner == Runner::Unprivileged) {
      if (::setgroups(0, nullptr) != 0 || ::setgid(account->gid) != 0 ||
          ::setuid(account->uid) != 0 || ::getuid() == 0) {
        ::_exit(126);
      }
    }
    const int status = body();
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
#ifdef TARNWICK_FAULTS_COVERAGE
    // The counters of what the child ran, written with the limit lifted again (the soft limit
    // may go back up to the hard one). An unprivileged child cannot write the build's files.
    if (limits.runner == Runner::Self) {
      ::setrlimit(RLIMIT_FSIZE, &original);
      __gcov_dump();
    }
#endif
    ::_exit(status);
  }
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  if (pid < 0) {
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    return run;
  }
  collect(outPipe[0], errPipe[0], run.out, run.err);
  int wstatus = 0;
  while (::waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
  }
  run.exited = WIFEXITED(wstatus);
  run.status = run.exited ? WEXITSTATUS(wstatus) : WTERMSIG(wstatus);
  return run;
}

ChildRun runCli(const std::string& folder, const Limits& limits,
                const std::vector<std::string>& args) {
  std::vector<std::string> argStore{TARNWICK_CFG_PATH};
  argStore.insert(argStore.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argStore) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::vector<std::string> envStore;
  for (char** e = environ; *e != nullptr; ++e) envStore.emplace_back(*e);
  std::string counters;
#ifdef TARNWICK_FAULTS_COVERAGE
  if (limits.runner != Runner::Self || limits.fileSizeLimit != 0) {
    counters = (std::filesystem::temp_directory_path() / "tarnwick-counters-XXXXXX").string();
    if (::mkdtemp(counters.data()) == nullptr) counters.clear();
    ::chmod(counters.c_str(), 0777);
    envStore.push_back("GCOV_PREFIX=" + counters);
  }
#endif
  std::vector<char*> envp;
  for (std::string& e : envStore) envp.push_back(e.data());
  envp.push_back(nullptr);

  ChildRun run = runChild(folder, limits, [&] {
    ::execve(argv[0], argv.data(), envp.data());
    return 127;
  });
  if (!counters.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(counters, ec);
  }
  run.err = withoutProfilingLines(run.err);
  return run;
}

std::string cliError(const std::string& file, const std::string& reason) {
  return "tarnwick-cfg: " + file + ": " + reason + "\n";
}

void PrintTo(const ShownMessage& message, std::ostream* os) {
  *os << "0x" << std::hex << message.flags << std::dec << " \"" << message.text << "\"";
}

std::string scriptQuote(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

GuiRun runGui(const std::string& folder, const Limits& limits, const std::string& script,
              const ConfigRecord& expected) {
  // The child writes one report line per finding; the parent reads them back.
  GuiRun gui;
  gui.child = runChild(folder, limits, [&] {
    programRecord() = ConfigRecord{};
    std::vector<tk::MessageBoxRequest> shown;
    const tk::ScriptOutcome outcome = tk::runScriptText(script, [&] {
      CTarnwickApp app;
      app.InitInstance();
      if (auto* backend = dynamic_cast<tk::HeadlessBackend*>(tk::activeBackend())) {
        shown = backend->shownMessages();
      }
    });
    if (!outcome.ok) std::cout << "script-failure " << outcome.message << "\n";
    for (const tk::MessageBoxRequest& m : shown) {
      std::cout << "message " << m.flags << " " << toUtf8(m.text) << "\n";
    }
    const auto actual = programRecord().bytes();
    for (std::size_t i = 0; i < kRecordSize; ++i) {
      if (actual[i] != expected.bytes()[i]) {
        std::cout << "record-difference byte " << i << " is " << int{actual[i]} << ", expected "
                  << int{expected.bytes()[i]} << "\n";
        break;
      }
    }
    return 0;
  });
  std::istringstream report(gui.child.out);
  for (std::string line; std::getline(report, line);) {
    const auto space = line.find(' ');
    const std::string key = line.substr(0, space);
    const std::string rest = space == std::string::npos ? std::string() : line.substr(space + 1);
    if (key == "script-failure") {
      gui.scriptFailure = rest;
    } else if (key == "message") {
      const auto gap = rest.find(' ');
      gui.messages.push_back(
          {static_cast<std::uint32_t>(std::stoul(rest.substr(0, gap))),
           gap == std::string::npos ? std::string() : rest.substr(gap + 1)});
    } else if (key == "record-difference") {
      gui.recordDifference = rest;
    }
  }
  return gui;
}

}  // namespace tarnwick::faults
