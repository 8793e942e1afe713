#include "platform/application.h"

#include "platform/messages.h"

namespace platform {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    guarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}

} // namespace platform
