#include "qt_main_thread.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace vornik {

void QtMainThread::post(std::function<void()> work) {
    if (QCoreApplication* application = QCoreApplication::instance())
        QMetaObject::invokeMethod(application, std::move(work), Qt::QueuedConnection);
}

}  // namespace vornik
