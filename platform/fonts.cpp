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

} // namespace platform
