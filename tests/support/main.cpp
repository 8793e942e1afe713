#include "platform/application.h"
#include "platform/environment.h"
#include "platform/fonts.h"
#include "platform/messages.h"

#include <QStandardPaths>
#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Tests never depend on the machine: no display, a fixed resolution and a fixed clock.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    platform::TApplication app(argc, argv);
    platform::setApplicationTitle(QStringLiteral("Quillmark"));
    platform::installFontSubstitutions();
    platform::setScreenLogicalDpi(96);
    platform::setCurrentDateTime(QDateTime(QDate(2024, 5, 9), QTime(10, 30)));
    // A message box nobody closes would hang the run; one left unrecorded is a test fault.
    platform::setMessageSink([](platform::MessageKind, const QString& text) {
        std::fprintf(stderr, "unexpected message box: %s\n", text.toUtf8().constData());
        ADD_FAILURE() << "unexpected message box: " << text.toStdString();
    });
    return RUN_ALL_TESTS();
}
