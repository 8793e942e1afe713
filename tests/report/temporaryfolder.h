#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>
#include <QtGlobal>

/// Points the system's temporary folder at a fresh empty folder while it lives, so a test sees
/// exactly the files the code under test leaves there.
class TemporaryFolder
{
public:
    TemporaryFolder()
        : m_previous(qgetenv("TMPDIR")), m_hadPrevious(qEnvironmentVariableIsSet("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
    }
    ~TemporaryFolder()
    {
        if (m_hadPrevious)
            qputenv("TMPDIR", m_previous);
        else
            qunsetenv("TMPDIR");
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    QString path() const { return m_dir.path(); }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
};
