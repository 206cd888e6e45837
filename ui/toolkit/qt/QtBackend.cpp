#include "ui/toolkit/qt/QtBackend.h"

#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/qt/FileFilter.h"
#include "ui/toolkit/qt/QtDialogWindow.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QStorageInfo>
#include <QUrl>

#include <algorithm>

namespace tarnwick::tk {

namespace {
QMessageBox::Icon messageIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}
}  // namespace

int QtBackend::runModal(CDialogEx& dialog) {
  // A dialog stands over the top-most open one; a task-bar window stands on its own.
  QWidget* parent = dialog.dialogTemplate().taskbarWindow ? nullptr : ownerWidget(nullptr);
  QtDialogWindow window(dialog, parent);
  window.setShownHook(shownHook_);
  open_.push_back(&window);
  const int result = window.runModal();
  open_.erase(std::find(open_.begin(), open_.end(), &window));
  return result;
}

QtDialogWindow* QtBackend::windowFor(const CDialogEx* dialog) const {
  for (QtDialogWindow* window : open_) {
    if (&window->model() == dialog) return window;
  }
  return nullptr;
}

QWidget* QtBackend::ownerWidget(const CDialogEx* owner) const {
  if (QtDialogWindow* window = windowFor(owner)) return window;
  return topWindow();
}

int QtBackend::showMessageBox(const MessageBoxRequest& request) {
  const bool yesNo = request.buttons == MessageButtons::YesNo;
  QMessageBox box(messageIcon(request.icon), QString::fromStdU16String(request.caption),
                  QString::fromStdU16String(request.text),
                  yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                  ownerWidget(request.owner));
  // The text is the program's message, never markup.
  box.setTextFormat(Qt::PlainText);
  if (yesNo) {
    box.setDefaultButton(request.defaultButton == DefaultButton::Second ? QMessageBox::No
                                                                        : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  }
  box.exec();
  const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
  if (clicked == QMessageBox::Yes) return IDYES;
  if (yesNo) return IDNO;
  return IDOK;
}

std::optional<std::string> QtBackend::showFileDialog(const FileDialogRequest& request) {
  // The dialog starts where the user last chose a file in this run, so that a save after loading
  // the card's menu.cfg proposes the card; never simply the folder the program was started in.
  const QString folder = startingFolder(QString::fromStdString(request.initialFolder),
                                        QDir::currentPath(), QDir::homePath());
  QFileDialog dialog(ownerWidget(request.owner),
                     request.save ? QStringLiteral("Save As") : QStringLiteral("Open"), folder);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  // The side bar: home, the starting folder, and the memory cards and sticks plugged in.
  QList<QUrl> places{QUrl::fromLocalFile(QDir::homePath()), QUrl::fromLocalFile(folder)};
  QStringList mountPoints;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (volume.isValid() && volume.isReady()) mountPoints.append(volume.rootPath());
  }
  for (const QString& media : removableMediaFolders(mountPoints)) {
    places.append(QUrl::fromLocalFile(media));
  }
  QList<QUrl> unique;
  for (const QUrl& place : places) {
    if (!unique.contains(place)) unique.append(place);
  }
  dialog.setSidebarUrls(unique);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // The program asks for neither an overwrite confirmation nor a must-exist check: a name that
  // does not exist reaches the program, which says "No Config File!", and a save replaces the
  // file without a question.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  const QStringList filters = qtNameFilters(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  // The dialog adds the extension to a name typed without one.
  if (!request.defaultExtension.empty()) {
    dialog.setDefaultSuffix(QString::fromStdU16String(request.defaultExtension));
  }
  if (!request.initialName.empty())
    dialog.selectFile(QString::fromStdU16String(request.initialName));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
  return chosen.first().toStdString();
}

bool QtBackend::grabTopDialog(const std::string& path) const {
  QtDialogWindow* window = topWindow();
  if (window == nullptr) return false;
  return window->grab().save(QString::fromStdString(path), "PNG");
}

}  // namespace tarnwick::tk
