#include "platform/fonts.h"

#include <QFont>
#include <QString>

namespace platform {

void installFontSubstitutions()
{
    const QString uming = QStringLiteral("AR PL UMing CN");
    QFont::insertSubstitution(QStringLiteral("宋体"), uming);
    QFont::insertSubstitution(QStringLiteral("SimSun"), uming);
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
}

QFont songti(int pixelHeight, bool bold)
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QFont defaultWindowFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

} // namespace platform
