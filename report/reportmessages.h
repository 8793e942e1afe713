#pragma once

#include <QEvent>
#include <QObject>

namespace report {

// The report engine's window messages: a QEvent type per message, numbered from QEvent::User
// as the messages are from WM_USER.
/// wParam: the progress percentage; posted to a printer's notification target.
inline constexpr QEvent::Type CM_PROGRESSUPDATE = static_cast<QEvent::Type>(QEvent::User + 0);
/// wParam: the new count of available pages; posted to a printer's notification target.
inline constexpr QEvent::Type CM_PAGEAVAILABLE = static_cast<QEvent::Type>(QEvent::User + 1);
/// Handled by the report: run the print operation.
inline constexpr QEvent::Type CM_PRINTREQUEST = static_cast<QEvent::Type>(QEvent::User + 2);
/// Handled by the report; lParam: the printer whose preview closed.
inline constexpr QEvent::Type CM_PREVIEWCLOSED = static_cast<QEvent::Type>(QEvent::User + 4);

/// A window message with its two parameters.
class TReportMessage : public QEvent
{
public:
    TReportMessage(QEvent::Type type, qint64 wParam, QObject* lParam = nullptr)
        : QEvent(type), m_wParam(wParam), m_lParam(lParam)
    {}

    qint64 wParam() const { return m_wParam; }
    QObject* lParam() const { return m_lParam; }

private:
    qint64 m_wParam;
    QObject* m_lParam;
};

/// Posts a message to `target`'s queue; nothing without a target.
void postReportMessage(QObject* target, QEvent::Type type, qint64 wParam,
                       QObject* lParam = nullptr);
/// "Process pending window messages": handles every event already posted, then returns.
void processPendingMessages();

} // namespace report
