#include "app/plugin_warning_filter.h"

#include <QString>
#include <QtGlobal>

namespace kelvarok {
namespace {

QtMessageHandler previousHandler = nullptr;

void DropSizeHintWarning(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
  if (type == QtWarningMsg && message == "This plugin does not support propagateSizeHints()")
    return;
  previousHandler(type, context, message);
}

}  // namespace

void FilterPluginWarnings() {
  previousHandler = qInstallMessageHandler(DropSizeHintWarning);
}

}  // namespace kelvarok
