#include "platform/fonts.h"
#include "tools/assetgen/artwork.h"
#include "tools/assetgen/jpegwriter.h"
#include "tools/assetgen/pngwriter.h"

#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <QStringList>
#include <cstdio>

namespace {

void usage()
{
    std::fprintf(stderr, "usage: assetgen <assets folder>\n"
                         "       assetgen --sample <cheque.png> <output.png>\n");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
        !file.commit()) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QByteArray png(const QImage& image)
{
    return assetgen::encodePngUnfiltered(image);
}

int writeAssets(const QString& folder)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        std::fprintf(stderr, "assetgen: no folder %s\n", qPrintable(folder));
        return 1;
    }
    struct Button
    {
        const char16_t* file;
        const char16_t* word;
    };
    const Button buttons[] = {
        {u"button_print.jpg", u"打印"},
        {u"button_settings.jpg", u"设置"},
        {u"button_save.jpg", u"保存"},
        {u"button_close.jpg", u"关闭"},
    };
    bool ok = writeFile(dir.filePath(QStringLiteral("cheque.png")), png(assetgen::drawCheque()));
    ok = writeFile(dir.filePath(QStringLiteral("quillmark.png")), png(assetgen::drawIcon())) && ok;
    ok = writeFile(dir.filePath(QStringLiteral("preview_buttons.png")),
                   png(assetgen::drawPreviewButtons())) &&
         ok;
    for (const Button& b : buttons) {
        const QByteArray jpeg =
            assetgen::encodeJpeg(assetgen::drawButton(QString::fromUtf16(b.word)), 92);
        ok = writeFile(dir.filePath(QString::fromUtf16(b.file)), jpeg) && ok;
    }
    return ok ? 0 : 1;
}

int writeSample(const QString& chequePath, const QString& outPath)
{
    const QImage cheque(chequePath);
    if (cheque.isNull()) {
        std::fprintf(stderr, "assetgen: cannot read %s\n", qPrintable(chequePath));
        return 1;
    }
    return writeFile(outPath, png(assetgen::composeSample(cheque))) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Drawing needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    platform::installFontSubstitutions();

    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 1 && !args[0].startsWith(QLatin1Char('-')))
        return writeAssets(args[0]);
    if (args.size() == 3 && args[0] == QLatin1String("--sample"))
        return writeSample(args[1], args[2]);
    usage();
    return 2;
}
