#pragma once

#include <QString>

namespace settings {

/// The one settings file: "myini.ini" in the directory of the running executable, so the
/// program and its settings travel together.
QString settingsFilePath();

} // namespace settings
