#pragma once

#include <QWidget>

namespace printlayout {

/// The print form: never shown, it carries the cheque report layout.
class TForm2 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
};

} // namespace printlayout
