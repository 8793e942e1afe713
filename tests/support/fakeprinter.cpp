#include "tests/support/fakeprinter.h"

#include "platform/emfrecorder.h"

#include <QtEndian>

namespace testsupport {

platform::DEVMODE FakePrinter::defaultDevMode()
{
    using namespace platform;
    DEVMODE dm;
    dm.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES |
                  DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX | DM_COLLATE;
    dm.dmOrientation = DMORIENT_PORTRAIT;
    dm.dmPaperSize = 9;
    dm.dmPaperWidth = 2100;
    dm.dmPaperLength = 2970;
    dm.dmCopies = 1;
    dm.dmDefaultSource = DMBIN_AUTO;
    dm.dmPrintQuality = 600;
    dm.dmColor = DMCOLOR_COLOR;
    dm.dmDuplex = DMDUP_SIMPLEX;
    dm.dmCollate = DMCOLLATE_FALSE;
    return dm;
}

FakePrinter::FakePrinter() : FakePrinter(Device{})
{}

FakePrinter::FakePrinter(const Device& device) : m_device(device), m_current(device.devMode)
{}

std::unique_ptr<FakePrinter> FakePrinter::none()
{
    auto printer = std::make_unique<FakePrinter>();
    printer->m_installed = false;
    return printer;
}

FakePrinter::~FakePrinter() = default;

QStringList FakePrinter::printers() const
{
    return m_installed ? QStringList{m_device.name} : QStringList{};
}

void FakePrinter::setPrinterIndex(int index)
{
    if (index == -1 || index == 0)
        resetDevMode();
}

platform::DEVMODE FakePrinter::devMode() const
{
    if (!m_installed)
        return {};
    platform::DEVMODE dm = m_current;
    dm.dmDeviceName = m_device.name;
    return dm;
}

void FakePrinter::setPrinter(const QString&, const platform::DEVMODE& devMode)
{
    m_written = devMode;
    m_current = devMode;
    ++m_writes;
}

void FakePrinter::resetDevMode()
{
    m_current = m_device.devMode;
}

int FakePrinter::deviceCaps(platform::DeviceCap index) const
{
    if (!m_installed)
        return 0;
    switch (index) {
    case platform::LOGPIXELSX:
    case platform::LOGPIXELSY:
        return m_device.dpi;
    case platform::PHYSICALWIDTH:
        return m_device.width;
    case platform::PHYSICALHEIGHT:
        return m_device.height;
    case platform::PHYSICALOFFSETX:
        return m_device.offsetX;
    case platform::PHYSICALOFFSETY:
        return m_device.offsetY;
    }
    return 0;
}

void FakePrinter::beginDoc()
{
    if (printing())
        throw platform::EPrinterError(QStringLiteral("Printing in progress"));
    if (!m_installed || m_failBegin) {
        m_failBegin = false;
        throw platform::EPrinterError(QStringLiteral("Printer selected is not valid"));
    }
    m_calls << QStringLiteral("begin");
    m_titles << title();
    m_document.clear();
    m_page = std::make_unique<platform::EmfRecorder>(m_device.width - 2 * m_device.offsetX,
                                                     m_device.height - 2 * m_device.offsetY,
                                                     m_device.dpi);
}

void FakePrinter::closePage()
{
    m_document.push_back(m_page->picture());
}

void FakePrinter::newPage()
{
    if (!printing())
        return;
    m_calls << QStringLiteral("page");
    closePage();
    m_page = std::make_unique<platform::EmfRecorder>(m_device.width - 2 * m_device.offsetX,
                                                     m_device.height - 2 * m_device.offsetY,
                                                     m_device.dpi);
}

void FakePrinter::endDoc()
{
    if (!printing())
        return;
    m_calls << QStringLiteral("end");
    closePage();
    m_page.reset();
    for (auto& page : m_document)
        m_pages.push_back(std::move(page));
    m_document.clear();
}

void FakePrinter::abort()
{
    if (!printing())
        return;
    m_calls << QStringLiteral("abort");
    m_page.reset();
    m_document.clear();
}

platform::DeviceCanvas* FakePrinter::canvas()
{
    return m_page.get();
}

void FakePrinter::drawPicture(const platform::EmfPicture& picture, int left, int top, int right,
                              int bottom)
{
    if (!printing())
        return;
    m_calls << QStringLiteral("picture %1 %2 %3 %4 %5x%6")
                   .arg(left)
                   .arg(top)
                   .arg(right)
                   .arg(bottom)
                   .arg(picture.size().width())
                   .arg(picture.size().height());
}

std::vector<EmfText> emfTexts(const platform::EmfPicture& picture)
{
    constexpr quint32 EMR_EXTTEXTOUTW = 84;
    const QByteArray& bytes = picture.bytes();
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    std::vector<EmfText> texts;
    // The picture checked every record when it was made, so the walk stays inside it.
    for (qsizetype at = 0; at + 8 <= bytes.size();) {
        const quint32 type = u32(at);
        const quint32 size = u32(at + 4);
        if (size < 8)
            break;
        if (type == EMR_EXTTEXTOUTW) {
            const auto x = static_cast<qint32>(u32(at + 36));
            const auto y = static_cast<qint32>(u32(at + 40));
            const quint32 chars = u32(at + 44);
            const quint32 offset = u32(at + 48);
            QString text(static_cast<qsizetype>(chars), Qt::Uninitialized);
            for (quint32 i = 0; i < chars; ++i)
                text[i] =
                    QChar(qFromLittleEndian<quint16>(bytes.constData() + at + offset + 2 * i));
            texts.push_back({x, y, text});
        }
        at += size;
    }
    return texts;
}

} // namespace testsupport
