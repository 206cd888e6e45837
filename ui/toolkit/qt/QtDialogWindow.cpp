#include "ui/toolkit/qt/QtDialogWindow.h"

#include "ui/toolkit/WindowFit.h"
#include "ui/toolkit/qt/AccessibleWidgets.h"
#include "ui/toolkit/qt/AppIcon.h"
#include "ui/toolkit/qt/DialogFont.h"
#include "ui/toolkit/qt/GroupFrame.h"
#include "ui/toolkit/qt/ListBoxStyle.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

namespace tarnwick::tk {

namespace {
// Most characters an edit takes when the program set no limit of its own.
constexpr int kDefaultEditLimit = 32767;
// Icons stand at their template position in the system's icon size, whatever size the template
// gives them.
constexpr int kIconPixels = 32;
// Room a window manager's frame and title bar take around a window, kept free on the screen.
const QSize kWindowFrame(16, 48);
// A drop-down list opens to show this many entries before it scrolls.
constexpr int kVisibleListEntries = 30;

// An icon control's caption read as a resource number; 0 when it is not a plain number.
int iconNumberOf(const std::u16string& caption) {
  int number = 0;
  for (char16_t c : caption) {
    if (c < u'0' || c > u'9' || number > 99999) return 0;
    number = number * 10 + (c - u'0');
  }
  return number;
}

QColor toQColor(Rgb c) { return QColor(c.red, c.green, c.blue); }

Qt::Alignment textAlignment(std::uint32_t style) {
  if ((style & kCenterText) != 0) return Qt::AlignHCenter;
  if ((style & kRightText) != 0) return Qt::AlignRight;
  return Qt::AlignLeft;
}

// The control's text in every state: the host has chosen it for the state the control is in.
void setTextColour(QPalette& palette, const QColor& colour) {
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
      palette.setColor(group, role, colour);
    }
  }
}

Rgb toRgb(const QColor& c) {
  return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
             static_cast<std::uint8_t>(c.blue())};
}

bool byKeyboard(Qt::FocusReason reason) {
  return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
}
}  // namespace

// The surface the controls stand on, at the template's size: it paints the dialog's background.
// Inside a scroll area, so that a window larger than the screen can still be used whole.
class QtDialogWindow::Canvas : public QWidget {
 public:
  explicit Canvas(QtDialogWindow& window) : window_(window) {}

 protected:
  void paintEvent(QPaintEvent* event) override { window_.paintCanvas(*this, event); }

 private:
  QtDialogWindow& window_;
};

QtDialogWindow::QtDialogWindow(CDialogEx& model, QWidget* parent)
    : QDialog(parent), model_(model), host_(model, *this) {
  const DialogTemplate& t = model.dialogTemplate();
  // Fixed-size window with a caption, a system menu and a close box; a minimize box only where
  // the template asks for one. A window shown in the task bar is a window of its own.
  Qt::WindowFlags flags = (t.taskbarWindow ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint;
  if (t.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
  setWindowFlags(flags);
  setSizeGripEnabled(false);

  setFont(dialogFont(t.fontName, t.pointSize));
  baseUnits_ = dialogBaseUnits(font());
  const Rect client = dialogUnitsToPixels({0, 0, t.width, t.height}, baseUnits_);
  canvas_ = new Canvas(*this);
  canvas_->setFixedSize(client.width, client.height);
  scroller_ = new QScrollArea(this);
  scroller_->setFrameShape(QFrame::NoFrame);
  scroller_->setFocusPolicy(Qt::NoFocus);
  scroller_->setWidgetResizable(false);
  scroller_->setWidget(canvas_);
  QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  fitToScreen(screen != nullptr ? screen->availableGeometry().size() - kWindowFrame
                                : QSize(client.width, client.height));
  setWindowTitle(QString::fromStdU16String(model.GetWindowText()));

  installAccessibleWidgets();
  const std::vector<ControlState>& controls = model.controls();
  widgets_.reserve(controls.size());
  looks_.resize(controls.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    QWidget* widget = createWidget(static_cast<int>(i), controls[i]);
    applyFocusPolicy(static_cast<int>(i), widget);
    widgets_.push_back(widget);
  }
  // Group boxes frame the controls around them: they lie beneath all of them and take no clicks.
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].kind == ControlKind::GroupBox) widgets_[i]->lower();
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    mirror(static_cast<int>(i));
    connectInput(static_cast<int>(i), widgets_[i]);
    widgets_[i]->installEventFilter(this);
  }
  nameControls();
}

QtDialogWindow::~QtDialogWindow() = default;

QWidget* QtDialogWindow::createWidget(int index, const ControlState& state) {
  (void)index;
  Rect px = dialogUnitsToPixels(state.rect, baseUnits_);
  QWidget* widget = nullptr;
  switch (state.kind) {
    case ControlKind::Static: {
      auto* label = new QLabel(canvas_);
      // Program texts are shown as they are, never interpreted as markup.
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(textAlignment(state.style) | Qt::AlignTop);
      // A label tall enough for two lines wraps its text at word boundaries.
      label->setWordWrap(px.height >= 2 * QFontMetrics(font()).height());
      label->setAttribute(Qt::WA_TransparentForMouseEvents);
      widget = label;
      break;
    }
    case ControlKind::GroupBox: {
      auto* box = new GroupFrame(canvas_);
      box->setAttribute(Qt::WA_TransparentForMouseEvents);
      widget = box;
      break;
    }
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(canvas_);
      edit->setFrame((state.style & kBorder) != 0);
      edit->setAlignment(textAlignment(state.style) | Qt::AlignVCenter);
      widget = edit;
      break;
    }
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(canvas_);
      combo->setStyle(ListBoxStyle::instance());
      combo->setEditable(false);
      combo->setMaxVisibleItems(kVisibleListEntries);
      // The template's height is the opened list's; the closed box is as tall as its font needs.
      px.height = combo->sizeHint().height();
      widget = combo;
      break;
    }
    case ControlKind::CheckBox:
      widget = new QCheckBox(canvas_);
      break;
    case ControlKind::RadioButton: {
      auto* radio = new QRadioButton(canvas_);
      // The dialog object keeps the radio groups; Qt must not clear buttons on its own.
      radio->setAutoExclusive(false);
      widget = radio;
      break;
    }
    case ControlKind::PushButton: {
      auto* button = new QPushButton(canvas_);
      // Enter is the dialog's business (see keyPressEvent); only the template's default button
      // shows as default.
      button->setAutoDefault(false);
      button->setDefault((state.style & kDefaultButton) != 0);
      widget = button;
      break;
    }
    case ControlKind::Icon: {
      auto* label = new QLabel(canvas_);
      // The caption may name the icon resource; the application icon is the one the program has.
      QIcon icon = iconResource(iconNumberOf(state.text));
      if (icon.isNull()) icon = applicationIcon();
      label->setPixmap(icon.pixmap(QSize(kIconPixels, kIconPixels), devicePixelRatioF()));
      label->setAttribute(Qt::WA_TransparentForMouseEvents);
      px.width = kIconPixels;
      px.height = kIconPixels;
      widget = label;
      break;
    }
  }
  widget->setGeometry(px.x, px.y, px.width, px.height);
  return widget;
}

void QtDialogWindow::applyFocusPolicy(int index, QWidget* widget) {
  if (!host_.takesFocus(index)) {
    widget->setFocusPolicy(Qt::NoFocus);
    return;
  }
  widget->setFocusPolicy(host_.isTabStop(index) ? Qt::StrongFocus : Qt::ClickFocus);
}

void QtDialogWindow::connectInput(int index, QWidget* widget) {
  const int id = model_.controls()[static_cast<std::size_t>(index)].id;
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    connect(edit, &QLineEdit::textEdited, this,
            [this, id](const QString& text) { host_.type(id, text.toStdU16String()); });
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    connect(combo, &QComboBox::activated, this,
            [this, id](int position) { host_.select(id, position); });
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this, [this, id] { host_.click(id); });
  }
}

QWidget* QtDialogWindow::widgetAt(int index) const {
  if (index < 0 || index >= static_cast<int>(widgets_.size())) return nullptr;
  return widgets_[static_cast<std::size_t>(index)];
}

QWidget* QtDialogWindow::widgetFor(int controlId) const {
  if (controlId == kNoControlId) return nullptr;
  return widgetAt(model_.indexOf(controlId));
}

int QtDialogWindow::indexOfWidget(const QObject* widget) const {
  const auto it = std::find(widgets_.begin(), widgets_.end(), widget);
  return it == widgets_.end() ? -1 : static_cast<int>(it - widgets_.begin());
}

void QtDialogWindow::showControl(int index) {
  mirror(index);
  nameControls();
}

// What a screen reader says of each control, as the host worked it out; the label that names a
// box is its buddy.
void QtDialogWindow::nameControls() {
  const std::vector<Accessible> said = host_.accessibility();
  for (std::size_t i = 0; i < said.size() && i < widgets_.size(); ++i) {
    if (!said[i].interactive) continue;
    QWidget* widget = widgets_[i];
    const QString name = QString::fromStdU16String(said[i].name);
    const QString description = QString::fromStdU16String(said[i].description);
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
    if (widget->accessibleDescription() != description) widget->setAccessibleDescription(description);
    const int label = said[i].labelIndex;
    if (label < 0 || qobject_cast<QAbstractButton*>(widget) != nullptr) continue;
    auto* text = qobject_cast<QLabel*>(widgetAt(label));
    if (text != nullptr && text->buddy() == nullptr) text->setBuddy(widget);
  }
}

void QtDialogWindow::showCaption() {
  setWindowTitle(QString::fromStdU16String(model_.GetWindowText()));
}

void QtDialogWindow::mirror(int index) {
  const ControlState* s = model_.stateAt(index);
  QWidget* widget = widgetAt(index);
  if (s == nullptr || widget == nullptr) return;
  // The model's changes are not the user's input: no signals while the widgets follow them.
  const QSignalBlocker blocker(widget);
  const QString text = QString::fromStdU16String(s->text);
  switch (s->kind) {
    case ControlKind::Static:
      if (auto* label = static_cast<QLabel*>(widget); label->text() != text) label->setText(text);
      break;
    case ControlKind::GroupBox:
      if (auto* box = static_cast<QGroupBox*>(widget); box->title() != text) box->setTitle(text);
      break;
    case ControlKind::Edit: {
      auto* edit = static_cast<QLineEdit*>(widget);
      // The limit applies to typing; a longer text the program set is shown whole.
      const int limit = s->textLimit > 0 ? s->textLimit : kDefaultEditLimit;
      const int maxLength = std::max(limit, static_cast<int>(text.size()));
      if (edit->maxLength() != maxLength) edit->setMaxLength(maxLength);
      const QLineEdit::EchoMode echo =
          s->passwordChar == 0 ? QLineEdit::Normal : QLineEdit::Password;
      const QString sheet = s->passwordChar == 0
                                ? QString()
                                : QStringLiteral("QLineEdit { lineedit-password-character: %1; }")
                                      .arg(static_cast<int>(s->passwordChar));
      if (edit->echoMode() != echo) edit->setEchoMode(echo);
      if (edit->styleSheet() != sheet) edit->setStyleSheet(sheet);
      if (edit->text() != text) edit->setText(text);
      break;
    }
    case ControlKind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(widget);
      const int count = static_cast<int>(s->items.size());
      // Keep the entries the widget already shows when the model only appended to them.
      int same = 0;
      while (same < count && same < combo->count() &&
             combo->itemText(same) ==
                 QString::fromStdU16String(s->items[static_cast<std::size_t>(same)])) {
        ++same;
      }
      if (same < combo->count()) {
        combo->clear();
        same = 0;
      }
      for (int i = same; i < count; ++i) {
        combo->addItem(QString::fromStdU16String(s->items[static_cast<std::size_t>(i)]));
      }
      const int selection = s->selection >= 0 && s->selection < count ? s->selection : -1;
      if (combo->currentIndex() != selection) combo->setCurrentIndex(selection);
      break;
    }
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::PushButton: {
      auto* button = static_cast<QAbstractButton*>(widget);
      if (button->text() != text) button->setText(text);
      if (s->kind != ControlKind::PushButton && button->isChecked() != (s->check != 0)) {
        button->setChecked(s->check != 0);
      }
      break;
    }
    case ControlKind::Icon:
      break;
  }
  if (widget->testAttribute(Qt::WA_Disabled) == s->enabled) widget->setEnabled(s->enabled);
  if (widget->isHidden() == s->visible) widget->setVisible(s->visible);
  applyLook(index, host_.lookOf(index));
}

void QtDialogWindow::showLook(int index, const ControlLook& look) { applyLook(index, look); }

// Not virtual: mirror runs it from the constructor too.
void QtDialogWindow::applyLook(int index, const ControlLook& look) {
  const ControlState* s = model_.stateAt(index);
  QWidget* widget = widgetAt(index);
  if (s == nullptr || widget == nullptr) return;
  const bool ringChanged = looks_[static_cast<std::size_t>(index)].focus != look.focus;
  looks_[static_cast<std::size_t>(index)] = look;
  if (ringChanged && widget->hasFocus()) canvas_->update(focusRingRect(widget));
  // A push button keeps the style's own face.
  if (look.nativeFace) return;
  QPalette palette = QApplication::palette(widget);
  const QColor fill = look.fill ? toQColor(*look.fill) : QColor(Qt::transparent);
  bool autoFill = false;
  switch (s->kind) {
    case ControlKind::Edit:
      palette.setColor(QPalette::Base, fill);
      break;
    case ControlKind::ComboBox:
      palette.setColor(QPalette::Button, fill);
      palette.setColor(QPalette::Base, fill);
      break;
    case ControlKind::GroupBox:
      break;
    default:
      autoFill = look.fill.has_value();
      if (autoFill) palette.setColor(widget->backgroundRole(), fill);
      break;
  }
  setTextColour(palette, toQColor(look.text));
  if (widget->autoFillBackground() != autoFill) widget->setAutoFillBackground(autoFill);
  if (!(widget->palette() == palette)) widget->setPalette(palette);
}

NativePalette QtDialogWindow::nativePalette() const {
  const QPalette& p = QApplication::palette();
  return NativePalette{toRgb(p.color(QPalette::Active, QPalette::Window)),
                       toRgb(p.color(QPalette::Active, QPalette::Base)),
                       toRgb(p.color(QPalette::Active, QPalette::WindowText))};
}

void QtDialogWindow::showIcon(int iconResourceId) {
  if (iconResourceId != 0 && hasIconResource(iconResourceId)) {
    setWindowIcon(iconResource(iconResourceId));
  }
}

int QtDialogWindow::runModal() {
  if (!host_.start()) return host_.result();
  host_.showInitialState();
  exec();
  // The event loop may also end when the whole program quits: the dialog ends as cancelled.
  return host_.finish();
}

void QtDialogWindow::moveFocus(int index, bool selectText) {
  QWidget* widget = widgetAt(index);
  if (widget == nullptr) return;
  if (!widget->hasFocus()) widget->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(widget); edit != nullptr && selectText) {
    edit->selectAll();
  }
}

void QtDialogWindow::repaintBackground() { canvas_->update(); }

void QtDialogWindow::closeWindow(int result) { done(result); }

void QtDialogWindow::closeWith(int result) {
  model_.EndDialog(result);
  done(result);
}

void QtDialogWindow::done(int result) {
  // Something other than the dialog object wants the window gone: that is the close box.
  if (!host_.closeRequested()) return;
  (void)result;
  QDialog::done(model_.result());
}

void QtDialogWindow::reject() { host_.escape(); }

void QtDialogWindow::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  const int key = event->key();
  if (modifiers == Qt::NoModifier && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
    event->accept();
    host_.enter();
    return;
  }
  if (modifiers == Qt::NoModifier && key == Qt::Key_Escape) {
    event->accept();
    host_.escape();
    return;
  }
  // The keyboard's way to the dialog's own menu: the menu key or Shift+F10.
  if (((modifiers == Qt::NoModifier && key == Qt::Key_Menu) ||
       (modifiers == Qt::ShiftModifier && key == Qt::Key_F10)) &&
      host_.contextMenu(true)) {
    event->accept();
    return;
  }
  // Not QDialog's handler: it would end the dialog on Enter and Escape by itself.
  QWidget::keyPressEvent(event);  // NOLINT(bugprone-parent-virtual-call): bypass QDialog on purpose
}

void QtDialogWindow::closeEvent(QCloseEvent* event) {
  if (model_.isEnded()) {
    event->accept();
    return;
  }
  event->ignore();
  host_.closeBox();
}

void QtDialogWindow::fitToScreen(const QSize& available) {
  const QSize content = canvas_->size();
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const WindowFit fit =
      fitWindow({content.width(), content.height()}, {available.width(), available.height()}, bar);
  const QSize size(fit.window.width, fit.window.height);
  const PixelSize view = fit.view(bar);
  view_ = QSize(view.width, view.height);
  setFixedSize(size);
  scroller_->setGeometry(0, 0, size.width(), size.height());
}

QRect QtDialogWindow::focusRingRect(const QWidget* widget) {
  if (widget == nullptr) return {};
  return widget->geometry().adjusted(-kFocusRingReach, -kFocusRingReach, kFocusRingReach,
                                     kFocusRingReach);
}

void QtDialogWindow::bringIntoView(QWidget* widget) {
  // The whole control with its ring, not only its text cursor (all ensureWidgetVisible shows).
  const QRect r = focusRingRect(widget);
  QScrollBar* h = scroller_->horizontalScrollBar();
  QScrollBar* v = scroller_->verticalScrollBar();
  h->setValue(scrollToShow(h->value(), view_.width(), r.x(), r.width(), canvas_->width()));
  v->setValue(scrollToShow(v->value(), view_.height(), r.y(), r.height(), canvas_->height()));
}

void QtDialogWindow::bringIntoView(int index) {
  if (QWidget* widget = widgetAt(index)) bringIntoView(widget);
}

bool QtDialogWindow::scrolls() const {
  return canvas_->width() > scroller_->viewport()->width() ||
         canvas_->height() > scroller_->viewport()->height();
}

void QtDialogWindow::paintEvent(QPaintEvent* event) {
  // The canvas covers the whole window; it paints the background.
  QDialog::paintEvent(event);
}

void QtDialogWindow::paintCanvas(QWidget& canvas, QPaintEvent* event) {
  (void)event;
  const PaintContext paint = host_.paint();
  QPainter painter(&canvas);
  if (const std::optional<Rgb> fill = paint.fill()) painter.fillRect(canvas.rect(), toQColor(*fill));
  // The focus ring around the control that has the focus, on the dialog's surface, in the
  // colour the host chose for it.
  const int focused = indexOfWidget(focusWidget());
  if (QWidget* widget = widgetAt(focused); widget != nullptr && widget->isVisible()) {
    const QRect ring = focusRingRect(widget);
    const QColor colour = toQColor(looks_[static_cast<std::size_t>(focused)].focus);
    const QRect inner = ring.adjusted(kFocusRingWidth, kFocusRingWidth, -kFocusRingWidth,
                                      -kFocusRingWidth);
    painter.fillRect(QRect(ring.left(), ring.top(), ring.width(), kFocusRingWidth), colour);
    painter.fillRect(QRect(ring.left(), inner.bottom() + 1, ring.width(), kFocusRingWidth), colour);
    painter.fillRect(QRect(ring.left(), inner.top(), kFocusRingWidth, inner.height()), colour);
    painter.fillRect(QRect(inner.right() + 1, inner.top(), kFocusRingWidth, inner.height()), colour);
  }
  if (!shownReported_) {
    shownReported_ = true;
    QTimer::singleShot(0, this, [this] {
      if (shownHook_ && !model_.isEnded() && isVisible()) shownHook_(*this);
    });
  }
}

void QtDialogWindow::contextMenuEvent(QContextMenuEvent* event) {
  // The window manager's system menu cannot take the dialog's own entries, so they are offered
  // here, on a right click on the dialog's background.
  if (!host_.contextMenu(false)) event->ignore();
}

std::optional<int> QtDialogWindow::showSystemMenu(int nearIndex) {
  QMenu menu(this);
  for (const SystemMenuItem& item : model_.systemMenu()) {
    if (item.id == 0) {
      menu.addSeparator();
    } else {
      menu.addAction(QString::fromStdU16String(item.text))->setData(item.id);
    }
  }
  const QWidget* near = widgetAt(nearIndex);
  const QPoint at = near != nullptr ? near->mapToGlobal(QPoint(0, near->height())) : QCursor::pos();
  if (QAction* chosen = menu.exec(at)) return chosen->data().toInt();
  return std::nullopt;
}

bool QtDialogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && qobject_cast<QRadioButton*>(watched) != nullptr) {
    // Arrow keys stay within a radio button's group and check the button they land on (the
    // dialog object decides); Qt's own handling would move on to any button of the window.
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const int k = key->key();
    if (modifiers == Qt::NoModifier &&
        (k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Up || k == Qt::Key_Down)) {
      // The key goes to the button that has the focus, whether or not a focus-in was seen.
      if (const ControlState* s = model_.stateAt(indexOfWidget(watched))) host_.focusedByUser(s->id);
      host_.arrow(k == Qt::Key_Right || k == Qt::Key_Down);
      return true;
    }
  }
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
    // The focus ring moves with the focus.
    if (auto* widget = qobject_cast<QWidget*>(watched)) canvas_->update(focusRingRect(widget));
  }
  if (event->type() == QEvent::FocusIn) {
    const bool keyboard = byKeyboard(static_cast<QFocusEvent*>(event)->reason());
    if (const ControlState* s = model_.stateAt(indexOfWidget(watched))) {
      host_.focusedByUser(s->id, keyboard);
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tarnwick::tk
