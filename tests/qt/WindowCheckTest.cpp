// The window check on the Qt edition: every state of the table (window-check.table) opened
// through the program's own windows, looked at from what Qt draws (the window's picture) and
// what its widgets report (focus, selection, scrolling), and checked by the table's rules. Run
// on a desktop-sized screen and, by qt_small_scaled_screen, on a small screen at 150 %.

#include "WindowCheckRun.h"

#include "config/ConfigRecord.h"
#include "config/TextConversions.h"
#include "resources/templates/MainWindowIds.h"
#include "ui/main/CTarnwickDlg.h"
#include "ui/toolkit/qt/QtBackend.h"
#include "ui/toolkit/qt/QtDialogWindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tarnwick::tk::testing {
namespace {

using windowcheck::ControlSight;
using windowcheck::Sight;

Rect scaled(const QRect& r, double by) {
  return {static_cast<int>(std::lround(r.x() * by)), static_cast<int>(std::lround(r.y() * by)),
          static_cast<int>(std::lround(r.width() * by)),
          static_cast<int>(std::lround(r.height() * by))};
}

windowcheck::Picture pictureOf(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  windowcheck::Picture picture;
  picture.width = rgb.width();
  picture.height = rgb.height();
  picture.pixels.reserve(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
  for (int y = 0; y < rgb.height(); ++y) {
    for (int x = 0; x < rgb.width(); ++x) {
      const QRgb p = rgb.pixel(x, y);
      picture.pixels.push_back({static_cast<std::uint8_t>(qRed(p)),
                                static_cast<std::uint8_t>(qGreen(p)),
                                static_cast<std::uint8_t>(qBlue(p))});
    }
  }
  return picture;
}

// Where a control draws its text, on the widget, as Qt's style lays it out.
QRect textRectOf(QWidget* widget, const QString& text) {
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = false;
    option.frame = combo->hasFrame();
    // The label keeps a pixel from each side of the field.
    return combo->style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
        .adjusted(1, 0, -1, 0);
  }
  if (qobject_cast<QCheckBox*>(widget) != nullptr || qobject_cast<QRadioButton*>(widget) != nullptr) {
    QStyleOptionButton option;
    option.initFrom(widget);
    option.text = text;
    const bool check = qobject_cast<QCheckBox*>(widget) != nullptr;
    return widget->style()->subElementRect(
        check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, widget);
  }
  if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    const QFontMetrics metrics(group->font());
    return {metrics.averageCharWidth(), 0, metrics.horizontalAdvance(text) + 4, metrics.height()};
  }
  if (qobject_cast<QLabel*>(widget) != nullptr) return widget->rect();
  return widget->rect().adjusted(3, 3, -3, -3);
}

// A role as the window check's table names it.
std::string roleText(QAccessible::Role role) {
  switch (role) {
    case QAccessible::RadioButton: return "radio button";
    case QAccessible::CheckBox: return "check box";
    case QAccessible::PushButton: return "button";
    case QAccessible::ComboBox: return "list";
    case QAccessible::EditableText: return "edit";
    default: return "role " + std::to_string(static_cast<int>(role));
  }
}

class QtEdition : public windowcheck::Edition {
 public:
  explicit QtEdition(QtBackend& backend) : backend_(backend) {}

  void later(std::function<void()> action) override {
    QTimer::singleShot(0, qApp, std::move(action));
  }

  int topTemplate() override {
    QtDialogWindow* w = top();
    return w != nullptr ? w->model().templateId() : 0;
  }

  void act(const ScriptStep& step) override {
    QtDialogWindow* w = top();
    if (w == nullptr) return;
    QWidget* widget = w->widgetFor(step.id);
    using K = ScriptStep::Kind;
    switch (step.kind) {
      case K::Click:
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
          QTest::mouseClick(button, Qt::LeftButton);
        }
        break;
      case K::Select:
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
          combo->setFocus(Qt::MouseFocusReason);
          combo->setCurrentIndex(step.number);
          emit combo->activated(step.number);
        }
        break;
      case K::Type:
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
          edit->setFocus(Qt::MouseFocusReason);
          edit->selectAll();
          QTest::keyClicks(edit, QString::fromStdU16String(step.text));
        }
        break;
      case K::KeyEnter:
      case K::KeyEscape:
      case K::KeyArrow: {
        int key = step.kind == K::KeyEnter ? Qt::Key_Return : Qt::Key_Escape;
        if (step.kind == K::KeyArrow) {
          key = step.text == u"up" ? Qt::Key_Up : step.text == u"down" ? Qt::Key_Down
                : step.text == u"left" ? Qt::Key_Left : Qt::Key_Right;
        }
        QWidget* target = w->focusWidget() != nullptr ? w->focusWidget() : w;
        QTest::keyClick(target, static_cast<Qt::Key>(key));
        break;
      }
      case K::SysMenu:
        // The entry's command, as the window's menu gives it (the menu itself is checked by
        // the keyboard test of the About box).
        w->model().userSystemCommand(step.id);
        break;
      default:
        break;
    }
  }

  void pressTab() override {
    QtDialogWindow* w = top();
    if (w == nullptr) return;
    // A person presses Tab in the active window; a window just opened offscreen is activated
    // by a later event, and the focus moves without focus events until it is.
    if (!w->isActiveWindow()) QApplication::setActiveWindow(w);
    QTest::keyClick(w->focusWidget() != nullptr ? w->focusWidget() : w, Qt::Key_Tab);
  }

  std::optional<std::vector<windowcheck::Announced>> announced() override {
    QtDialogWindow* w = top();
    if (w == nullptr) return std::nullopt;
    std::vector<windowcheck::Announced> heard;
    const CDialogEx& model = w->model();
    for (std::size_t i = 0; i < model.controls().size(); ++i) {
      const ControlState& s = model.controls()[i];
      QWidget* widget = w->widgetAt(static_cast<int>(i));
      QAccessibleInterface* said = QAccessible::queryAccessibleInterface(widget);
      if (said == nullptr) continue;
      const std::string value = toUtf8(
          s.kind == ControlKind::Edit ? s.text
          : s.kind == ControlKind::ComboBox && s.selection >= 0
              ? s.items[static_cast<std::size_t>(s.selection)]
              : std::u16string());
      heard.push_back({s.id, roleText(said->role()), said->text(QAccessible::Name).toStdString(),
                       said->text(QAccessible::Description).toStdString(), value,
                       s.kind != ControlKind::Static && s.kind != ControlKind::GroupBox &&
                           s.kind != ControlKind::Icon,
                       widget->isVisibleTo(w)});
    }
    return heard;
  }

  Sight look(bool picture) override {
    Sight sight;
    QtDialogWindow* w = top();
    if (w == nullptr) return sight;
    // The scroll area lays itself out from posted events: a window just shown has them pending
    // (only these are sent: the check's own next step is a posted event too).
    for (QObject* o : std::initializer_list<QObject*>{w, w->scrollArea(), w->scrollArea()->viewport()}) {
      QCoreApplication::sendPostedEvents(o, 0);
    }
    // The picture is in device pixels; the widgets report in logical ones.
    double by = 1.0;
    if (picture) {
      const QImage image = w->grab().toImage();
      by = image.devicePixelRatio();
      sight.picture = pictureOf(image);
    } else {
      by = w->devicePixelRatioF();
    }
    QWidget* viewport = w->scrollArea()->viewport();
    sight.visible = scaled(QRect(viewport->mapTo(w, QPoint(0, 0)), viewport->size()), by);
    // The ring is drawn in logical pixels: its outer edge may fall inside a device pixel.
    sight.ringReach = static_cast<int>(kFocusRingReach * by);
    QWidget* content = w->contentWidget();
    sight.content = scaled(QRect(content->mapTo(w, QPoint(0, 0)), content->size()), by);
    if (const QScreen* screen = w->screen()) {
      sight.onScreen = screen->availableGeometry().contains(w->frameGeometry());
    }
    const CDialogEx& model = w->model();
    for (std::size_t i = 0; i < model.controls().size(); ++i) {
      QWidget* widget = w->widgetAt(static_cast<int>(i));
      const ControlState& s = model.controls()[i];
      ControlSight c;
      c.index = static_cast<int>(i);
      c.id = s.id;
      c.kind = s.kind;
      c.enabled = widget->isEnabled();
      c.visible = widget->isVisibleTo(w);
      const QRect box(widget->mapTo(w, QPoint(0, 0)), widget->size());
      c.box = scaled(box, by);
      QString text;
      if (auto* label = qobject_cast<QLabel*>(widget)) {
        text = label->text();
        c.oneLine = !label->wordWrap();
      } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        text = group->title();
        c.oneLine = true;
      } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        text = edit->displayText();
      } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        text = combo->currentText();
        c.oneLine = true;
        for (int item = 0; item < combo->count(); ++item) {
          const int width = combo->fontMetrics().horizontalAdvance(combo->itemText(item));
          if (width > c.widestItem) {
            c.widestItem = width;
            c.widestPosition = item;
          }
        }
        c.widestItem = static_cast<int>(std::lround(c.widestItem * by));
      } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        text = button->text();
        c.oneLine = true;
      }
      c.text = text.toStdU16String();
      if (s.kind != ControlKind::Icon && !text.isEmpty()) {
        c.textBox = scaled(textRectOf(widget, text).translated(box.topLeft()), by);
        c.textWidth = static_cast<int>(
            std::lround(widget->fontMetrics().horizontalAdvance(text.trimmed()) * by));
      }
      sight.controls.push_back(std::move(c));
      if (widget == w->focusWidget()) {
        sight.focused = static_cast<int>(i);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
          sight.selectionStart = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
          sight.selectionEnd = edit->hasSelectedText()
                                   ? edit->selectionStart() + static_cast<int>(edit->selectedText().size())
                                   : edit->cursorPosition();
        }
      }
    }
    return sight;
  }

  void closeTop() override {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      popup->close();
    } else if (QtDialogWindow* w = top()) {
      w->closeWith(IDCANCEL);
    } else if (QWidget* modal = QApplication::activeModalWidget()) {
      modal->close();
    }
  }

 private:
  // The program's window on top, or nullptr when a message box or a menu stands above it.
  QtDialogWindow* top() const {
    const std::vector<QtDialogWindow*>& open = backend_.openWindows();
    if (open.empty() || QApplication::activePopupWidget() != nullptr) return nullptr;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && std::find(open.begin(), open.end(), modal) == open.end()) return nullptr;
    return open.back();
  }

  QtBackend& backend_;
};

// What a person looks at: each case's first look, as a PNG under the build folder.
void savePicture(const windowcheck::Picture& picture, const std::string& caseName) {
  QImage image(picture.width, picture.height, QImage::Format_RGB32);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const Rgb p = picture.at(x, y);
      image.setPixel(x, y, qRgb(p.red, p.green, p.blue));
    }
  }
  QString name = QString::fromStdString(caseName).toLower();
  name.replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
  const QString folder = QStringLiteral(TARNWICK_SCREENSHOT_DIR) + QStringLiteral("/window-check");
  QDir().mkpath(folder);
  const bool small = QApplication::primaryScreen()->availableGeometry().width() < 1280;
  image.save(folder + QStringLiteral("/qt-") + (small ? QStringLiteral("small-") : QString()) +
             name + QStringLiteral(".png"));
}

TEST(WindowCheck, EveryStateOfEveryWindowInTheTable) {
  std::vector<std::string> errors;
  const windowcheck::Table table = windowcheck::programTable(errors);
  ASSERT_TRUE(errors.empty()) << errors.front();

  programRecord() = ConfigRecord{};
  QtBackend backend;
  Backend* previous = activeBackend();
  setBackend(&backend);
  QtEdition edition(backend);
  windowcheck::CheckRun run(table, edition, resources::ids::tarnwickDlg::kTemplate);
  run.setLookHook(savePicture);
  bool started = false;
  backend.setShownHook([&](QtDialogWindow& window) {
    if (started || window.model().templateId() != resources::ids::tarnwickDlg::kTemplate) return;
    started = true;
    run.start();
  });
  // A run that stops making progress (a window nobody closes) fails instead of hanging.
  QTimer watchdog;
  std::size_t seen = 0;
  QObject::connect(&watchdog, &QTimer::timeout, [&] {
    if (run.progress() != seen) {
      seen = run.progress();
      return;
    }
    ADD_FAILURE() << "the window check stopped making progress";
    edition.closeTop();
  });
  watchdog.start(10000);
  CTarnwickDlg main;
  main.DoModal();
  watchdog.stop();
  setBackend(previous);
  programRecord() = ConfigRecord{};

  for (const std::string& p : windowcheck::problemsOf(run, table)) ADD_FAILURE() << p;
}

}  // namespace
}  // namespace tarnwick::tk::testing
