#include "ui/toolkit/Backend.h"

namespace tarnwick::tk {

namespace {
Backend* currentBackend = nullptr;
}

void setBackend(Backend* backend) { currentBackend = backend; }

Backend* activeBackend() { return currentBackend; }

}  // namespace tarnwick::tk
