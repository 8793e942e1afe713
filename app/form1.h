#pragma once

#include <QWidget>

namespace app {

/// The cheque entry window.
class TForm1 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
};

} // namespace app
