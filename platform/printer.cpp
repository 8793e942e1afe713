#include "platform/printer.h"

#include "platform/emfpainter.h"
#include "platform/emfpicture.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <functional>

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
    ++m_changes;
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
        ++m_changes;
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

/// The drawing calls of one page, measured against the printer and played onto it later.
class Printer::PageRecorder final : public DeviceCanvas
{
public:
    using Call = std::function<void(QPainter&, DeviceCanvas&)>;

    explicit PageRecorder(QPaintDevice& device) : m_device(device), m_font(toQFont({})) {}

    void setFont(const CanvasFont& font) override
    {
        m_font = toQFont(font);
        add([font](QPainter&, DeviceCanvas& c) { c.setFont(font); });
    }
    void setTextColor(QColor color) override
    {
        add([color](QPainter&, DeviceCanvas& c) { c.setTextColor(color); });
    }
    void setBkColor(QColor color) override
    {
        add([color](QPainter&, DeviceCanvas& c) { c.setBkColor(color); });
    }
    void setBkMode(BkMode mode) override
    {
        add([mode](QPainter&, DeviceCanvas& c) { c.setBkMode(mode); });
    }
    void setTextAlign(quint32 flags) override
    {
        add([flags](QPainter&, DeviceCanvas& c) { c.setTextAlign(flags); });
    }
    void textOut(int x, int y, const QString& text) override
    {
        add([x, y, text](QPainter&, DeviceCanvas& c) { c.textOut(x, y, text); });
    }
    void fillRect(int left, int top, int right, int bottom, QColor color) override
    {
        add([=](QPainter&, DeviceCanvas& c) { c.fillRect(left, top, right, bottom, color); });
    }
    void line(int x1, int y1, int x2, int y2, QColor color, int width) override
    {
        add([=](QPainter&, DeviceCanvas& c) { c.line(x1, y1, x2, y2, color, width); });
    }
    void stretchDraw(int left, int top, int right, int bottom, const QImage& image) override
    {
        add([=](QPainter&, DeviceCanvas& c) { c.stretchDraw(left, top, right, bottom, image); });
    }
    QSize textExtent(const QString& text) const override
    {
        // The same metrics the painter on the printer will use.
        const QFontMetrics fm(m_font, &m_device);
        return {fm.horizontalAdvance(text), fm.ascent() + fm.descent()};
    }

    void add(Call call) { m_calls.push_back(std::move(call)); }
    void play(QPainter& painter) const
    {
        PainterCanvas canvas(painter);
        for (const Call& call : m_calls)
            call(painter, canvas);
    }

private:
    QPaintDevice& m_device;
    QFont m_font;
    std::vector<Call> m_calls;
};

void Printer::checkQueue() const
{
    // Without a scheduler Qt quietly turns a printer into a nameless PDF file; a queue that has
    // gone would swallow the document. Neither is a printer.
    if (m_name.isEmpty() || !printers().contains(m_name) ||
        m_printer->outputFormat() != QPrinter::NativeFormat)
        throw EPrinterError(QStringLiteral("Printer selected is not valid"));
}

void Printer::beginDoc()
{
    if (printing())
        throw EPrinterError(QStringLiteral("Printing in progress"));
    checkQueue();
    m_pages.clear();
    m_page = std::make_unique<PageRecorder>(*m_printer);
}

void Printer::newPage()
{
    if (!printing())
        return;
    m_pages.push_back(std::move(m_page));
    m_page = std::make_unique<PageRecorder>(*m_printer);
}

void Printer::endDoc()
{
    if (!printing())
        return;
    m_pages.push_back(std::move(m_page));
    std::vector<std::unique_ptr<PageRecorder>> pages = std::move(m_pages);
    m_pages.clear();
    printPages(std::move(pages));
}

void Printer::printPages(std::vector<std::unique_ptr<PageRecorder>> pages)
{
    checkQueue();
    m_printer->setDocName(title());
    QPainter painter;
    if (!painter.begin(m_printer.get()))
        throw EPrinterError(
            formatMessage(QStringLiteral("Printer \"%s\" cannot start printing"), {m_name}));
    bool ok = true;
    for (std::size_t i = 0; i < pages.size() && ok; ++i) {
        if (i > 0)
            ok = m_printer->newPage();
        if (ok)
            pages[i]->play(painter);
    }
    ok = painter.end() && ok;
    if (!ok || m_printer->printerState() == QPrinter::Error)
        throw EPrinterError(
            formatMessage(QStringLiteral("Printer \"%s\" did not take the document"), {m_name}));
}

void Printer::abort()
{
    m_page.reset();
    m_pages.clear();
}

DeviceCanvas* Printer::canvas()
{
    return m_page.get();
}

void Printer::drawPicture(const EmfPicture& picture, int left, int top, int right, int bottom)
{
    if (!printing())
        return;
    m_page->add([picture, left, top, right, bottom](QPainter& painter, DeviceCanvas&) {
        picture.play(painter, QRect(left, top, right - left, bottom - top));
    });
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
