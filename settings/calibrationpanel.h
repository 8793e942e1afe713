#pragma once

#include <QFrame>
#include <QHash>
#include <QSize>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class TImage;
class TUpDown;
} // namespace platform

namespace settings {

class TIniFile;
class TCalibrationPanel;

/// A field offset moves its field at most this many units either way, as far as the arrows go.
inline constexpr int kOffsetLimit = 100;

/// The value of an offset text that is a whole decimal number (an optional sign, then digits)
/// within -kOffsetLimit … kOffsetLimit; none for any other text.
std::optional<int> offsetValue(QStringView text);

/// One row of the offset table: a printed field's horizontal and vertical offset edits.
struct TOffsetRow
{
    enum Group
    {
        Stub,
        Body
    };
    Group group;
    const char16_t* caption;
    QLineEdit* TCalibrationPanel::*right;
    platform::TUpDown* TCalibrationPanel::*rightUpDown;
    QLineEdit* TCalibrationPanel::*down;
    platform::TUpDown* TCalibrationPanel::*downUpDown;
    const char16_t* rightKey;
    const char16_t* downKey;
};

/// The settings panel: payer bank name, drawer account, the skin buttons and the 30 field
/// offsets. It lies over the picture and the input group when shown and can be dragged.
class TCalibrationPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TCalibrationPanel(QWidget* parent = nullptr);

    static const std::array<TOffsetRow, 15>& offsetRows();
    static QString sectionOf(TOffsetRow::Group group);

    /// Writes bank name, account and the 30 offsets, each text unchanged, in the stored order.
    /// A failed write stops at that key.
    void saveTo(TIniFile& ini) const;
    /// Reads them back; a missing offset key gives "0" for its own edit, a key that is present
    /// gives its value as it stands.
    void reloadFrom(const TIniFile& ini);

    /// The first offset edit, row by row as the panel shows them, whose text offsetValue
    /// refuses; none when every offset can be saved.
    QLineEdit* firstInvalidOffset() const;
    /// The field an offset edit moves, in the panel's own words: "存根 用途 下".
    QString fieldName(const QLineEdit* offsetEdit) const;
    /// What the user is told when a save is refused because of that edit's text.
    QString invalidOffsetMessage(const QLineEdit* offsetEdit) const;

    QLabel* Label7 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button6 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    platform::TImage* Image3 = nullptr;
    platform::TImage* Image5 = nullptr;

    QLineEdit *Edit34 = nullptr, *Edit35 = nullptr, *Edit36 = nullptr, *Edit37 = nullptr,
              *Edit38 = nullptr, *Edit39 = nullptr, *Edit40 = nullptr, *Edit41 = nullptr,
              *Edit42 = nullptr, *Edit43 = nullptr, *Edit44 = nullptr, *Edit45 = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit4 = nullptr, *Edit5 = nullptr,
              *Edit8 = nullptr, *Edit9 = nullptr, *Edit10 = nullptr, *Edit11 = nullptr,
              *Edit12 = nullptr, *Edit13 = nullptr, *Edit14 = nullptr, *Edit15 = nullptr,
              *Edit16 = nullptr, *Edit17 = nullptr, *Edit18 = nullptr, *Edit19 = nullptr,
              *Edit20 = nullptr, *Edit21 = nullptr;
    platform::TUpDown *UpDown1 = nullptr, *UpDown2 = nullptr, *UpDown3 = nullptr,
                      *UpDown4 = nullptr, *UpDown5 = nullptr, *UpDown6 = nullptr,
                      *UpDown7 = nullptr, *UpDown8 = nullptr, *UpDown9 = nullptr,
                      *UpDown10 = nullptr, *UpDown11 = nullptr, *UpDown12 = nullptr,
                      *UpDown13 = nullptr, *UpDown14 = nullptr, *UpDown15 = nullptr,
                      *UpDown16 = nullptr, *UpDown17 = nullptr, *UpDown18 = nullptr;
    platform::TUpDown *UpDown31 = nullptr, *UpDown32 = nullptr, *UpDown33 = nullptr,
                      *UpDown34 = nullptr, *UpDown35 = nullptr, *UpDown36 = nullptr,
                      *UpDown37 = nullptr, *UpDown38 = nullptr, *UpDown39 = nullptr,
                      *UpDown40 = nullptr, *UpDown41 = nullptr, *UpDown42 = nullptr;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void buildRows(QGroupBox* group, TOffsetRow::Group which);
    QLabel* textLabel(QWidget* parent, const QString& text, int left, int top);

    bool m_dragging = false;
    QPoint m_grabOffset;
    // The rows repeat their words: each text is measured once.
    QHash<QString, QSize> m_textSizes;
};

} // namespace settings
