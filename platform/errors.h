#pragma once

#include <QString>
#include <exception>

namespace platform {

/// Base of every error the program raises; carries the text the user sees.
class EError : public std::exception
{
public:
    explicit EError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

/// A text that does not convert to the wanted type ("'%s' is not a valid integer value").
class EConvertError : public EError
{
public:
    using EError::EError;
};

/// A variant read as a type it does not hold ("Could not convert variant of type ...").
class EVariantError : public EError
{
public:
    using EError::EError;
};

/// A file that could not be written, created or read.
class EInOutError : public EError
{
public:
    using EError::EError;
};

/// Replaces each "%s" of a message template in turn by the next argument.
QString formatMessage(const QString& pattern, std::initializer_list<QString> args);

} // namespace platform
