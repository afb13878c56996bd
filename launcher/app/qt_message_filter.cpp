#include "qt_message_filter.h"

#include <QString>
#include <QtGlobal>

namespace vornik {

namespace {

QtMessageHandler qtHandler = nullptr;

bool isSessionlessRuntimeFolderNote(const QString& message) {
    return message.startsWith("QStandardPaths: XDG_RUNTIME_DIR not set");
}

void filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && isSessionlessRuntimeFolderNote(message)) return;
    if (qtHandler) qtHandler(type, context, message);
}

}  // namespace

void installQtMessageFilter() {
    QtMessageHandler previous = qInstallMessageHandler(filter);
    if (previous != filter) qtHandler = previous;
}

}  // namespace vornik
