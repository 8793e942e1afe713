#include "app/startup.h"

#include "app/form1.h"
#include "platform/gbk.h"
#include "platform/messages.h"
#include "printlayout/form2.h"
#include "skins/skindata.h"

#include <QApplication>

namespace app {

int runProgram(const QString& settingsPath,
               const std::function<std::unique_ptr<QWidget>()>& createPrintForm)
{
    // The print form outlives the window that points at it.
    std::unique_ptr<QWidget> form2;
    std::unique_ptr<TForm1> form1;
    const bool created = platform::guarded([&] {
        platform::requireTextEncoding();
        // The print form first: it measures no text, so it is built while another thread still
        // reads the system's font list for the window.
        form2 = createPrintForm();
        form1 = std::make_unique<TForm1>(settingsPath);
        form1->setPrintForm(dynamic_cast<printlayout::TForm2*>(form2.get()));
        // The built-in skin goes on once both forms exist, so it frames the window from the start.
        form1->SkinData1->Loaded();
    });
    if (!created)
        return 1;
    form1->show();
    return QApplication::exec();
}

} // namespace app
