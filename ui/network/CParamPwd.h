#pragma once

#include "ui/toolkit/CDialogEx.h"

namespace tarnwick {

// "Please Input Password": asks for the access code that reveals the network window's operator
// parameters. Runs modally; IDOK only when the code was entered. A wrong code shows
// "Wrong Password!" (owned by this prompt) and ends the prompt at once; an empty entry ends it
// without a message. There is no second attempt and no count of failures.
class CParamPwd : public tk::CDialogEx {
 public:
  CParamPwd();
  void OnOK() override;
};

}  // namespace tarnwick
