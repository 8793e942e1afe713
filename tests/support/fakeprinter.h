#pragma once

#include "platform/emfpicture.h"
#include "platform/printer.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace platform {
class EmfRecorder;
}

namespace testsupport {

/// A printer object without a spooler: a device of any resolution, margins and paper whose
/// pages are recorded as metafiles in device pixels, and a log of the document calls
/// ("begin", "page", "end", "abort", "picture").
class FakePrinter final : public platform::PrinterObject
{
public:
    struct Device
    {
        QString name = QStringLiteral("Fake");
        int dpi = 600;
        int offsetX = 100; // PHYSICALOFFSETX, device pixels
        int offsetY = 100;
        int width = 4961; // PHYSICALWIDTH: A4 at 600 dpi
        int height = 7016;
        platform::DEVMODE devMode = defaultDevMode();
        QList<qint16> paperCodes = {1, 9, 11};
    };
    /// An A4 portrait device mode listing every field the program uses.
    static platform::DEVMODE defaultDevMode();

    FakePrinter();
    explicit FakePrinter(const Device& device);
    /// A system with no printer installed.
    static std::unique_ptr<FakePrinter> none();
    ~FakePrinter() override;

    QStringList printers() const override;
    int printerIndex() const override { return m_installed ? 0 : -1; }
    void setPrinterIndex(int index) override;
    QString deviceName() const override { return m_installed ? m_device.name : QString(); }
    QString driverName() const override { return QStringLiteral("Fake driver"); }
    QString portName() const override { return QStringLiteral("FILE:"); }
    platform::DEVMODE devMode() const override;
    void setPrinter(const QString& device, const platform::DEVMODE& devMode) override;
    void resetDevMode() override;
    int deviceCaps(platform::DeviceCap index) const override;
    QList<qint16> paperCodes() const override { return m_device.paperCodes; }

    bool printing() const override { return m_page != nullptr; }
    void beginDoc() override;
    void newPage() override;
    void endDoc() override;
    void abort() override;
    platform::DeviceCanvas* canvas() override;
    void drawPicture(const platform::EmfPicture& picture, int left, int top, int right,
                     int bottom) override;

    Device& device() { return m_device; }
    /// The device mode last written by setPrinter.
    const platform::DEVMODE& written() const { return m_written; }
    int writes() const { return m_writes; }
    /// Pages of the documents ended so far, in order.
    const std::vector<platform::EmfPicture>& pages() const { return m_pages; }
    const QStringList& calls() const { return m_calls; }
    /// Titles of the documents begun.
    const QStringList& titles() const { return m_titles; }
    /// The next beginDoc fails as a queue that has gone would.
    void failNextBegin() { m_failBegin = true; }

private:
    void closePage();

    Device m_device;
    platform::DEVMODE m_current;
    platform::DEVMODE m_written;
    int m_writes = 0;
    bool m_installed = true;
    bool m_failBegin = false;
    std::unique_ptr<platform::EmfRecorder> m_page;
    std::vector<platform::EmfPicture> m_document;
    std::vector<platform::EmfPicture> m_pages;
    QStringList m_calls;
    QStringList m_titles;
};

/// A text output of a metafile: the reference point and the text.
struct EmfText
{
    int x;
    int y;
    QString text;
};
/// Every EXTTEXTOUTW record of a metafile, in order.
std::vector<EmfText> emfTexts(const platform::EmfPicture& picture);

} // namespace testsupport
