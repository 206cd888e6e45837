#include "app/StartupMessages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace tarnwick {

namespace {
QStringList& heldMessages() {
  static QStringList messages;
  return messages;
}

void startupHandler(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message) {
  if (type != QtFatalMsg) {
    heldMessages().append(message);
    return;
  }
  // The first message Qt gave says best what went wrong ("could not connect to display ...").
  const QString reason = (heldMessages().isEmpty() ? message : heldMessages().first())
                             .split(QLatin1Char('\n'))
                             .first();
  const QByteArray display = qgetenv("DISPLAY");
  std::fprintf(stderr,
               "tarnwick: cannot open the display%s%s (%s); use the command-line tool "
               "tarnwick-cfg, which needs none\n",
               display.isEmpty() ? "" : " ", display.constData(), qPrintable(reason));
  std::fflush(stderr);
  std::_Exit(1);
}
}  // namespace

void holdStartupMessages() { qInstallMessageHandler(startupHandler); }

void releaseStartupMessages() {
  qInstallMessageHandler(nullptr);
  for (const QString& message : heldMessages()) std::fprintf(stderr, "%s\n", qPrintable(message));
  heldMessages().clear();
}

}  // namespace tarnwick
