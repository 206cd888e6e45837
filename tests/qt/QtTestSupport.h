#pragma once

#include "ui/toolkit/Backend.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/qt/QtBackend.h"
#include "ui/toolkit/qt/QtDialogWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace tarnwick::tk::testing {

// A Qt backend made active for one test. A watchdog ends every window that is still open after
// a few seconds, so that a test whose script went wrong fails instead of hanging.
class ActiveQtBackend {
 public:
  ActiveQtBackend() : previous_(activeBackend()) {
    setBackend(&backend_);
    // Closes what is open from the top: a menu or box first, then the dialog windows.
    QObject::connect(&watchdog_, &QTimer::timeout, [this] {
      ADD_FAILURE() << "a window was still open after the time limit";
      if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
      QWidget* modal = QApplication::activeModalWidget();
      const auto& open = backend_.openWindows();
      if (modal != nullptr && std::find(open.begin(), open.end(), modal) == open.end()) {
        modal->close();
      } else if (!open.empty()) {
        open.back()->closeWith(IDCANCEL);
      }
      watchdog_.start(500);
    });
    watchdog_.start(10000);
  }
  ~ActiveQtBackend() { setBackend(previous_); }
  ActiveQtBackend(const ActiveQtBackend&) = delete;
  ActiveQtBackend& operator=(const ActiveQtBackend&) = delete;

  QtBackend& operator*() { return backend_; }
  QtBackend* operator->() { return &backend_; }

 private:
  QtBackend backend_;
  Backend* previous_;
  QTimer watchdog_;
};

// Runs `action` on the next modal widget of type T (a message box, a file dialog, a menu)
// once it is open, from the nested event loop that shows it.
template <class T>
void onNextModal(std::function<void(T&)> action) {
  auto* poll = new QTimer;
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  QObject::connect(poll, &QTimer::timeout, [poll, action, started] {
    // A menu is a popup above the modal dialog that opened it.
    QWidget* widget = QApplication::activePopupWidget();
    if (qobject_cast<T*>(widget) == nullptr) widget = QApplication::activeModalWidget();
    if (auto* target = qobject_cast<T*>(widget); target != nullptr && target->isVisible()) {
      poll->stop();
      poll->deleteLater();
      action(*target);
    } else if (started->elapsed() > 5000) {
      poll->stop();
      poll->deleteLater();
      ADD_FAILURE() << "the expected modal window did not open";
    }
  });
  poll->start(5);
}

}  // namespace tarnwick::tk::testing
