#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

namespace app {

/// The program after its application object: the cheque entry window, then the print form,
/// then the event loop until the window is closed. An error while either form is created is
/// shown by the default error report and ends the program (1) instead of escaping main.
int runProgram(const QString& settingsPath,
               const std::function<std::unique_ptr<QWidget>()>& createPrintForm);

} // namespace app
