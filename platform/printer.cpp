#include "platform/printer.h"

#include "platform/emfpainter.h"
#include "platform/emfpicture.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {

bool printersInstalled()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

PrinterObject::~PrinterObject() = default;

Printer::Printer()
{
    select(QString());
}

Printer::~Printer()
{
    abort();
}

void Printer::select(const QString& name)
{
    QPrinterInfo info =
        name.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(name);
    if (info.isNull() && name.isEmpty()) {
        // A system without a default printer still prints on its first one.
        const QStringList names = QPrinterInfo::availablePrinterNames();
        if (!names.isEmpty())
            info = QPrinterInfo::printerInfo(names.first());
    }
    m_name = info.isNull() ? QString() : info.printerName();
    m_info = std::make_unique<QPrinterInfo>(info);
    m_printer = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                              : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    m_pristine = true;
}

QStringList Printer::printers() const
{
    return QPrinterInfo::availablePrinterNames();
}

int Printer::printerIndex() const
{
    return m_name.isEmpty() ? -1 : printers().indexOf(m_name);
}

void Printer::setPrinterIndex(int index)
{
    if (printing())
        return;
    if (index == -1) {
        select(QString());
        return;
    }
    const QStringList names = printers();
    if (index >= 0 && index < names.size())
        select(names.at(index));
}

QString Printer::deviceName() const
{
    return m_name;
}

QString Printer::driverName() const
{
    return m_info->makeAndModel().left(63);
}

QString Printer::portName() const
{
    return m_info->location();
}

DEVMODE Printer::devMode() const
{
    if (m_name.isEmpty())
        return {};
    return devModeFromPrinter(*m_printer, *m_info);
}

void Printer::setPrinter(const QString& device, const DEVMODE& devMode)
{
    if (printing())
        return;
    if (!device.isEmpty() && device != m_name && printers().contains(device))
        select(device);
    if (!m_name.isEmpty()) {
        applyDevMode(devMode, *m_printer);
        m_pristine = false;
    }
}

void Printer::resetDevMode()
{
    // A new Qt printer asks the scheduler for the driver's description: skip it when nothing
    // has been written since the last one.
    if (!printing() && !m_name.isEmpty() && !m_pristine)
        select(m_name);
}

int Printer::deviceCaps(DeviceCap index) const
{
    if (m_name.isEmpty())
        return 0;
    const int dpi = m_printer->resolution();
    const QPageLayout layout = m_printer->pageLayout();
    // The painter's origin is the corner of the paint rectangle, whatever margins Qt applies.
    const QRect paint = layout.paintRectPixels(dpi);
    const QRect full = layout.fullRectPixels(dpi);
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return dpi;
    case PHYSICALWIDTH:
        return full.width();
    case PHYSICALHEIGHT:
        return full.height();
    case PHYSICALOFFSETX:
        return paint.left() - full.left();
    case PHYSICALOFFSETY:
        return paint.top() - full.top();
    }
    return 0;
}

QList<qint16> Printer::paperCodes() const
{
    QList<qint16> codes;
    for (const QPageSize& size : m_info->supportedPageSizes()) {
        const int code = size.windowsId();
        if (code > 0 && code <= 0x7fff && !codes.contains(static_cast<qint16>(code)))
            codes.append(static_cast<qint16>(code));
    }
    return codes;
}

void Printer::beginDoc()
{
    if (printing())
        throw EPrinterError(QStringLiteral("Printing in progress"));
    // Without a scheduler Qt quietly turns a printer into a nameless PDF file; a queue that has
    // gone would swallow the document at its end. Neither is a printer.
    if (m_name.isEmpty() || !printers().contains(m_name) ||
        m_printer->outputFormat() != QPrinter::NativeFormat)
        throw EPrinterError(QStringLiteral("Printer selected is not valid"));
    m_printer->setDocName(title());
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_printer.get()))
        throw EPrinterError(
            formatMessage(QStringLiteral("Printer \"%s\" cannot start printing"), {m_name}));
    m_painter = std::move(painter);
    m_canvas = std::make_unique<PainterCanvas>(*m_painter);
}

void Printer::newPage()
{
    if (!printing())
        return;
    if (!m_printer->newPage()) {
        abort();
        throw EPrinterError(
            formatMessage(QStringLiteral("Printer \"%s\" cannot start a page"), {m_name}));
    }
    // A fresh page starts with the device's default drawing state.
    m_canvas = std::make_unique<PainterCanvas>(*m_painter);
}

void Printer::endDoc()
{
    if (!printing())
        return;
    const bool ended = m_painter->end();
    closePainter();
    if (!ended || m_printer->printerState() == QPrinter::Error)
        throw EPrinterError(
            formatMessage(QStringLiteral("Printer \"%s\" did not take the document"), {m_name}));
}

void Printer::abort()
{
    if (!printing())
        return;
    m_printer->abort();
    if (m_painter->isActive())
        m_painter->end();
    closePainter();
}

void Printer::closePainter()
{
    m_canvas.reset();
    m_painter.reset();
}

void Printer::drawPicture(const EmfPicture& picture, int left, int top, int right, int bottom)
{
    if (printing())
        picture.play(*m_painter, QRect(left, top, right - left, bottom - top));
}

namespace {

Printer* g_sharedPrinter = nullptr;

void releaseSharedPrinter()
{
    delete g_sharedPrinter;
    g_sharedPrinter = nullptr;
}

} // namespace

Printer& sharedPrinter()
{
    if (!g_sharedPrinter) {
        g_sharedPrinter = new Printer;
        // Before the application's plug-ins go, which the Qt printer still uses.
        qAddPostRoutine(releaseSharedPrinter);
    }
    return *g_sharedPrinter;
}

} // namespace platform
