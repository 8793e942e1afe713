#include "tests/support/cupsscheduler.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace testsupport {

int runProgram(const QString& program, const QStringList& arguments, QString* output, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput());
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

QString CupsScheduler::fixtureScript()
{
    return QStringLiteral(QUILLMARK_CUPS_FIXTURE);
}

QString CupsScheduler::glyphScript()
{
    return QFileInfo(fixtureScript()).absolutePath() + QStringLiteral("/pdf-glyphs.py");
}

CupsScheduler::CupsScheduler() : m_dir(QDir::tempPath() + QStringLiteral("/qmcups-XXXXXX"))
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return;
    }
    QProcess process;
    process.start(QStringLiteral("/bin/sh"), {fixtureScript(), QStringLiteral("start"), folder()});
    process.waitForFinished(60000);
    m_server = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    m_error = QString::fromUtf8(process.readAllStandardError()).trimmed();
    m_running = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 &&
                !m_server.isEmpty();
    if (m_running)
        qputenv("CUPS_SERVER", m_server.toLocal8Bit());
}

CupsScheduler::~CupsScheduler()
{
    stop();
}

void CupsScheduler::stop()
{
    if (!m_running)
        return;
    m_running = false;
    // The script removes the folder; keep an empty one so QTemporaryDir has nothing to do.
    runProgram(QStringLiteral("/bin/sh"), {fixtureScript(), QStringLiteral("stop"), folder()});
    QDir().mkpath(folder());
}

QString CupsScheduler::outputPdf() const
{
    return folder() + QStringLiteral("/out/cheque.pdf");
}

QString CupsScheduler::waitForFullQueuePdf(const QString& title, int timeoutMs)
{
    const QDir folder(QDir::homePath() + QStringLiteral("/PDF"));
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QStringList names = folder.entryList({title + QStringLiteral("*.pdf")}, QDir::Files);
        if (!names.isEmpty()) {
            const QString path = folder.filePath(names.first());
            return waitForFile(path, static_cast<int>(deadline.remainingTime())) ? path : QString();
        }
        QThread::msleep(100);
    }
    return {};
}

int CupsScheduler::run(const QString& program, const QStringList& arguments, QString* output) const
{
    return runProgram(program, arguments, output);
}

bool CupsScheduler::waitForJobs(int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QString jobs;
        if (run(QStringLiteral("lpstat"), {QStringLiteral("-o")}, &jobs) == 0 &&
            jobs.trimmed().isEmpty())
            return true;
        QThread::msleep(50);
    }
    return false;
}

bool CupsScheduler::waitForFile(const QString& path, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    qint64 lastSize = -1;
    while (!deadline.hasExpired()) {
        const QFileInfo info(path);
        if (info.exists() && info.size() > 0 && info.size() == lastSize)
            return true;
        lastSize = info.exists() ? info.size() : -1;
        QThread::msleep(100);
    }
    return false;
}

} // namespace testsupport
