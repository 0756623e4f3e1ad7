// An Env that records the calls on the caller's window instead of making
// them ("EnableWindow <h> 0|1", "SetForegroundWindow <h>", "PostMessage <h>
// <message> <wParam> <lParam>"), and forwards every other call.
#pragma once

#include <string>
#include <vector>

#include "platform/EnvWrapper.h"

namespace pv14::testing {

class WindowCallsEnv : public EnvWrapper {
 public:
  using EnvWrapper::EnvWrapper;

  bool EnableWindow(WindowHandle window, bool enable) override {
    windowCalls.push_back("EnableWindow " + std::to_string(window) + " " + (enable ? "1" : "0"));
    return true;
  }
  bool SetForegroundWindow(WindowHandle window) override {
    windowCalls.push_back("SetForegroundWindow " + std::to_string(window));
    return true;
  }
  bool PostMessage(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                   std::uint32_t lParam) override {
    windowCalls.push_back("PostMessage " + std::to_string(window) + " " + std::to_string(message) +
                          " " + std::to_string(wParam) + " " + std::to_string(lParam));
    return true;
  }

  std::vector<std::string> windowCalls;
};

}  // namespace pv14::testing
