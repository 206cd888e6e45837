#include "ui/main/CAboutDlg.h"

#include "resources/templates/AboutBoxTemplate.h"

namespace tarnwick {

CAboutDlg::CAboutDlg() : tk::CDialogEx(resources::aboutBoxTemplate()) {}

}  // namespace tarnwick
