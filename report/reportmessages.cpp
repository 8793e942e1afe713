#include "report/reportmessages.h"

#include <QCoreApplication>

namespace report {

void postReportMessage(QObject* target, QEvent::Type type, qint64 wParam, QObject* lParam)
{
    if (target)
        QCoreApplication::postEvent(target, new TReportMessage(type, wParam, lParam));
}

void processPendingMessages()
{
    QCoreApplication::processEvents();
}

} // namespace report
