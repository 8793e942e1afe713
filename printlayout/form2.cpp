#include "printlayout/form2.h"

namespace printlayout {

TForm2::TForm2(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form2"));
}

} // namespace printlayout
