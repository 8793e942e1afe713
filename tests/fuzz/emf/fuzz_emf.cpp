// Any bytes as a metafile: a picture that plays, or EMetafileError, never a crash, a hang or a
// read out of bounds. An even first byte takes the rest as the metafile; an odd one spoils a
// page recorded here with every kind of record (patches of 4 bytes at chosen offsets, then an
// optional cut), which reaches far deeper into the records than random bytes do.

#include "platform/emfpicture.h"
#include "platform/emfrecorder.h"
#include "platform/fonts.h"
#include "tests/fuzz/common/spoil.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtEndian>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray recordedPage()
{
    platform::EmfRecorder r(120, 80, 96);
    r.fillRect(2, 3, 40, 20, QColor(10, 20, 30));
    r.setFont({QStringLiteral("宋体"), 12, 700});
    r.setBkMode(platform::BkMode::Transparent);
    r.setTextAlign(platform::TA_CENTER | platform::TA_TOP);
    r.textOut(60, 10, QStringLiteral("壹万元整"));
    r.setFont({QStringLiteral("Arial"), 9});
    r.setBkMode(platform::BkMode::Opaque);
    r.setTextAlign(platform::TA_RIGHT | platform::TA_BASELINE);
    r.textOut(110, 60, QStringLiteral("12.00"));
    r.line(0, 70, 100, 75, Qt::blue, 2);
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    r.stretchDraw(80, 5, 110, 25, image);
    return r.picture().bytes();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    platform::installFontSubstitutions();
    // Font loading fills caches once; done here it is not taken for a leak of the first input.
    const platform::EmfPicture warmUp(recordedPage());
    QImage image(8, 8, QImage::Format_RGB32);
    QPainter painter(&image);
    warmUp.play(painter, image.rect());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QByteArray base = recordedPage();
    if (size == 0)
        return 0;
    const QByteArray bytes =
        data[0] & 1 ? fuzzsupport::spoiled(base, data + 1, size - 1)
                    : QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    try {
        const platform::EmfPicture picture(bytes);
        if (picture.bytes().size() > bytes.size() ||
            quint32(picture.bytes().size()) != platform::EmfPicture::declaredSize(bytes)) {
            std::fprintf(stderr, "fuzz_emf: the picture is not the declared bytes\n");
            std::abort();
        }
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        picture.play(painter, QRect(0, 0, 64, 48));
        picture.play(painter, QRect(-10, 5, 300, 7));
    } catch (const platform::EMetafileError&) {
    }
    return 0;
}
