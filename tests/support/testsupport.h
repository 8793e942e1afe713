#pragma once

#include "platform/messages.h"

#include <QString>
#include <QTemporaryDir>
#include <vector>

namespace testsupport {

/// Records every message box shown while it lives instead of opening it.
class MessageRecorder
{
public:
    struct Message
    {
        platform::MessageKind kind;
        QString text;
    };

    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<Message>& messages() const { return m_messages; }
    QStringList texts() const;
    void clear() { m_messages.clear(); }

private:
    std::vector<Message> m_messages;
    platform::MessageSink m_previous;
};

/// Reads a whole file; empty when it does not exist.
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

} // namespace testsupport
