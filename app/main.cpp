#include "app/form1.h"
#include "platform/application.h"
#include "platform/fonts.h"
#include "platform/messages.h"
#include "preview/standardpreviewinterface.h"
#include "printlayout/form2.h"
#include "settings/inifile.h"
#include "skins/skindata.h"

int main(int argc, char** argv)
{
    platform::TApplication app(argc, argv);
    platform::setApplicationTitle(QStringLiteral("Quillmark"));
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    platform::installFontSubstitutions();
    // The report engine's preview requests open the standard preview window.
    preview::registerStandardPreview();

    app::TForm1 form1(settings::settingsFilePath());
    form1.SkinData1->Loaded();
    printlayout::TForm2 form2;
    form1.setPrintForm(&form2);
    form1.show();
    return QApplication::exec();
}
