#include "preview/progressform.h"

#include "platform/messages.h"
#include "report/reportmessages.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace preview {

TReportProgressForm::TReportProgressForm(report::TReportPrinter& printer, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      Gauge(new QProgressBar(this)), Info(new QLabel(this)),
      CancelButton(new QPushButton(QStringLiteral("Cancel"), this)), m_printer(&printer)
{
    setWindowTitle(QStringLiteral("Printing progress"));
    setFixedSize(149, 97);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setGeometry(16, 18, 114, 16);
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    Gauge->setTextVisible(false);
    Info->setObjectName(QStringLiteral("Info"));
    Info->setGeometry(0, 44, 145, 13);
    Info->setAlignment(Qt::AlignCenter);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(36, 60, 75, 25);
    connect(CancelButton, &QPushButton::clicked, this,
            [this] { platform::guarded([this] { CancelButtonClick(); }); });
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TReportProgressForm::CancelButtonClick()
{
    if (m_printer)
        m_printer->CancelJob();
}

bool TReportProgressForm::event(QEvent* event)
{
    if (event->type() != report::CM_PROGRESSUPDATE)
        return QDialog::event(event);
    platform::guarded([this] {
        const int p = m_printer ? m_printer->progress() : 0;
        if (p % 5 == 0) {
            Gauge->setValue(p);
            Info->setText(QString::number(p) + QStringLiteral("% ") + QStringLiteral(" Completed"));
            // This is when a click on Cancel gets handled.
            report::processPendingMessages();
        }
    });
    return true;
}

} // namespace preview
