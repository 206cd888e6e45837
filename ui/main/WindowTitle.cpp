#include "ui/main/WindowTitle.h"

namespace tarnwick {

const FormText& titleText() {
  static const FormText title = widenAscii(kTitleText);
  return title;
}

FormText mainWindowCaption() { return titleText() + u"v"; }

}  // namespace tarnwick
