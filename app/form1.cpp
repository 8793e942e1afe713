#include "app/form1.h"

namespace app {

TForm1::TForm1(QWidget* parent) : QWidget(parent)
{}

} // namespace app
