#pragma once

#include <QApplication>

namespace platform {

/// The application object: every event handler runs inside the default error report guard,
/// so an error raised by a handler is shown and the event loop goes on.
class TApplication : public QApplication
{
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace platform
