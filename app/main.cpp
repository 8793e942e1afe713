#include "app/form1.h"
#include "app/startup.h"
#include "platform/application.h"
#include "platform/fonts.h"
#include "platform/messages.h"
#include "preview/standardpreviewinterface.h"
#include "printlayout/form2.h"
#include "settings/settingspath.h"

int main(int argc, char** argv)
{
    // The font configuration loads on the second core while the application connects to the
    // display; the font list, the window's pictures and its skin follow once the application
    // exists.
    platform::TFontConfigurationAhead fontConfiguration;
    platform::TApplication app(argc, argv);
    const platform::TFontDatabaseAhead fontDatabase(fontConfiguration);
    app::readWindowAssetsAhead();
    platform::setApplicationTitle(QStringLiteral("Quillmark"));
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    platform::installFontSubstitutions();
    // The report engine's preview requests open the standard preview window.
    preview::registerStandardPreview();
    return app::runProgram(settings::settingsFilePath(),
                           [] { return std::make_unique<printlayout::TForm2>(); });
}
