#include <iostream>

#include "cli/Cli.h"
#include "cli/Commands.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  int status = tarnwick::cli::runCli(argc, argv, std::cout, std::cerr);
  // Output that could not be written (a full disk, a closed pipe) is a failure, never success.
  std::cout.flush();
  if (!std::cout.good()) {
    std::cerr << "tarnwick-cfg: standard output: the output could not be written\n";
    if (status == tarnwick::cli::kExitOk) status = tarnwick::cli::kExitFailed;
  }
  return status;
}
