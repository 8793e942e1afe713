#include "platform/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <QStringList>
#include <fontconfig/fontconfig.h>

namespace platform {

void installFontSubstitutions()
{
    const QString uming = QStringLiteral("AR PL UMing CN");
    QFont::insertSubstitution(QStringLiteral("宋体"), uming);
    QFont::insertSubstitution(QStringLiteral("SimSun"), uming);
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
}

QFont fontNamed(const QString& name)
{
    // The substitute alone: a second family would make Qt look up that family's fallbacks for
    // every new font, and it names the same face anyway.
    QFont font;
    font.setFamily(QFont::substitute(name));
    return font;
}

QFont songti(int pixelHeight, bool bold)
{
    QFont font = fontNamed(QStringLiteral("宋体"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QFont defaultWindowFont()
{
    QFont font = fontNamed(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

TFontConfigurationAhead::TFontConfigurationAhead() : m_thread([] { FcInit(); })
{}

TFontConfigurationAhead::~TFontConfigurationAhead()
{
    wait();
}

void TFontConfigurationAhead::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

TFontDatabaseAhead::TFontDatabaseAhead(TFontConfigurationAhead& configuration)
    : m_thread([&configuration] {
          configuration.wait();
          // Qt's font database is shared by all threads and guards itself.
          QFontDatabase::families();
      })
{}

TFontDatabaseAhead::~TFontDatabaseAhead()
{
    m_thread.join();
}

} // namespace platform
