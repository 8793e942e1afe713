#include "platform/messages.h"

#include "platform/errors.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

namespace {

QString& title()
{
    static QString t;
    return t;
}

MessageSink& sink()
{
    static MessageSink s;
    return s;
}

void showBox(MessageKind kind, const QString& text)
{
    if (sink()) {
        sink()(kind, text);
        return;
    }
    QMessageBox box(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    applicationTitle(), text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

} // namespace

QString applicationTitle()
{
    return title();
}

void setApplicationTitle(const QString& t)
{
    title() = t;
}

QString withFullStop(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}

void showMessage(const QString& text)
{
    showBox(MessageKind::Information, text);
}

void showErrorReport(const QString& message)
{
    showBox(MessageKind::Error, withFullStop(message));
}

MessageSink setMessageSink(MessageSink s)
{
    std::swap(sink(), s);
    return s;
}

bool guarded(const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const EError& e) {
        showErrorReport(e.message());
    } catch (const std::bad_alloc&) {
        showErrorReport(QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        showErrorReport(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace platform
