#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace platform {

enum class MessageKind
{
    Information,
    Error
};

/// The application title: caption of every message box.
QString applicationTitle();
void setApplicationTitle(const QString& title);

/// Appends a full stop when the last character sorts after "." in code order.
QString withFullStop(const QString& message);

/// A modal message box with an OK button, captioned with the application title.
void showMessage(const QString& text);

/// The default error report: error icon, the full-stop rule, modal.
void showErrorReport(const QString& message);

/// Where message boxes go; tests capture them instead of opening modal boxes.
using MessageSink = std::function<void(MessageKind, const QString& text)>;
MessageSink setMessageSink(MessageSink sink);

/// Runs an action the way an event handler runs: an error leaving it is shown by the default
/// error report and swallowed, so it never crosses the event loop. Returns false on an error.
bool guarded(const std::function<void()>& action);

} // namespace platform
