#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

/// A private CUPS scheduler for the lifetime of the object, started and stopped by
/// tests/support/cups/cups-fixture.sh in a temporary folder. It sets CUPS_SERVER, so create it
/// before anything in the process talks to CUPS (Qt's print support reads it once).
///
/// Queues: genericQueue() writes outputPdf() through the Generic PDF driver (margins of 18 pt
/// left and 36 pt top); fullQueue() is cups-pdf, writing ~/PDF/<job title>.pdf re-rendered.
class CupsScheduler
{
public:
    CupsScheduler();
    ~CupsScheduler();
    CupsScheduler(const CupsScheduler&) = delete;
    CupsScheduler& operator=(const CupsScheduler&) = delete;

    bool running() const { return m_running; }
    /// Why the scheduler did not start: the fixture's own words.
    const QString& error() const { return m_error; }
    QString folder() const { return m_dir.path(); }
    QString server() const { return m_server; }

    static QString genericQueue() { return QStringLiteral("quillmark-pdf"); }
    static QString fullQueue() { return QStringLiteral("quillmark-full"); }
    QString outputPdf() const;
    /// Waits for the PDF cups-pdf writes for a job of this title (named after it, with
    /// whatever it appends) and returns its path; empty after `timeoutMs`.
    static QString waitForFullQueuePdf(const QString& title, int timeoutMs = 20000);

    /// Waits until the scheduler has no job left to process; false after `timeoutMs`.
    bool waitForJobs(int timeoutMs = 20000) const;
    /// Waits until a file exists and has stopped growing.
    static bool waitForFile(const QString& path, int timeoutMs = 20000);

    /// Runs a CUPS command line tool against this scheduler; its exit code, -1 if it did not run.
    int run(const QString& program, const QStringList& arguments, QString* output = nullptr) const;
    /// Stops the scheduler now (the folder stays until destruction); CUPS_SERVER keeps pointing
    /// at the dead socket, which is the "no scheduler" case.
    void stop();

    static QString fixtureScript();
    /// tests/support/cups/pdf-glyphs.py: every glyph's origin of a PDF, in points.
    static QString glyphScript();

private:
    QTemporaryDir m_dir;
    QString m_server;
    QString m_error;
    bool m_running = false;
};

/// Runs a program; its exit code, -1 if it could not run. Standard output goes to `output`.
int runProgram(const QString& program, const QStringList& arguments, QString* output = nullptr,
               int timeoutMs = 60000);

} // namespace testsupport
