#include "app/startup.h"

#include "app/form1.h"
#include "platform/gbk.h"
#include "platform/messages.h"

#include <QApplication>

namespace app {

int runProgram(const QString& settingsPath,
               const std::function<std::unique_ptr<QWidget>()>& createPrintForm)
{
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<QWidget> form2;
    const bool created = platform::guarded([&] {
        platform::requireTextEncoding();
        form1 = std::make_unique<TForm1>(settingsPath);
        form2 = createPrintForm();
    });
    if (!created)
        return 1;
    form1->show();
    return QApplication::exec();
}

} // namespace app
