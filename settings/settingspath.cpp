#include "settings/settingspath.h"

#include <QCoreApplication>

namespace settings {

QString settingsFilePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/myini.ini");
}

} // namespace settings
