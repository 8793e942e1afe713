#include "tests/support/testsupport.h"

#include <QFile>
#include <QStringList>

namespace testsupport {

MessageRecorder::MessageRecorder()
{
    m_previous = platform::setMessageSink([this](platform::MessageKind kind, const QString& text) {
        m_messages.push_back({kind, text});
    });
}

MessageRecorder::~MessageRecorder()
{
    platform::setMessageSink(std::move(m_previous));
}

QStringList MessageRecorder::texts() const
{
    QStringList out;
    for (const auto& m : m_messages)
        out << m.text;
    return out;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write test file");
    f.write(bytes);
}

} // namespace testsupport
