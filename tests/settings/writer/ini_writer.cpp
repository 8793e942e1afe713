// A writer of the settings file in a process of its own, for the tests that kill writers or run
// them side by side.
//   ini_writer <file> count            raises the counter one write after another until killed;
//                                      prints a line after its first write
//   ini_writer <file> keys <prefix> <n>  adds the keys <prefix>1 to <prefix><n>, then ends
#include "platform/errors.h"
#include "settings/inifile.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    settings::TIniFile ini(args[1]);
    const QString section = QStringLiteral("支票打印");
    try {
        if (args[2] == u"count" && args.size() == 3) {
            const QString key = QStringLiteral("计数");
            for (bool first = true;; first = false) {
                const qlonglong count = ini.ReadString(section, key, QString()).toLongLong();
                ini.WriteString(section, key, QString::number(count + 1));
                if (first) {
                    std::puts("writing");
                    std::fflush(stdout);
                }
            }
        }
        if (args[2] == u"keys" && args.size() == 5) {
            const int count = args[4].toInt();
            for (int i = 1; i <= count; ++i)
                ini.WriteString(section, args[3] + QString::number(i), QStringLiteral("1"));
            return 0;
        }
    } catch (const platform::EError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 2;
}
