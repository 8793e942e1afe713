#include "tests/preview/previewrun.h"

#include <QApplication>
#include <QTest>

namespace previewtest {

void showActive(QWidget& widget)
{
    widget.show();
    widget.activateWindow();
    QApplication::setActiveWindow(&widget);
    (void)QTest::qWaitForWindowExposed(&widget);
    QCoreApplication::processEvents();
}

} // namespace previewtest
