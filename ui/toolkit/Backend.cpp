#include "ui/toolkit/Backend.h"

#include <utility>

namespace tarnwick::tk {

namespace {
Backend* currentBackend = nullptr;
}

std::optional<ChosenFile> Backend::chooseFile(const FileDialogRequest& request) {
  std::optional<std::string> path = showFileDialog(request);
  if (!path || path->empty()) return std::nullopt;
  ChosenFile chosen;
  chosen.path = std::move(*path);
  return chosen;
}

std::optional<std::string> Backend::showFileDialog(const FileDialogRequest& /*request*/) {
  return std::nullopt;
}

std::optional<std::string> Backend::deliverFile(const ChosenFile& /*file*/,
                                                std::span<const std::uint8_t> /*bytes*/) {
  return "this front end cannot deliver files";
}

void setBackend(Backend* backend) { currentBackend = backend; }

Backend* activeBackend() { return currentBackend; }

}  // namespace tarnwick::tk
