#pragma once

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <vector>

class QToolButton;

namespace platform {

/// A picture control. As a picture button it takes no keyboard focus, so clicking it never
/// makes the focused field lose focus.
class TImage : public QWidget
{
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    /// Drawn scaled into the control's rectangle instead of at its own size.
    void setStretch(bool stretch);
    /// The control takes the picture's size.
    void setAutoSize(bool autoSize);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
    bool m_stretch = false;
    bool m_autoSize = false;
    bool m_pressed = false;
};

/// Up-down arrows tied to an edit: clicking an arrow, or Up/Down in the edit, writes the new
/// whole number into the edit. Typing into the edit stays free.
class TUpDown : public QWidget
{
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);

    void setAssociate(QLineEdit* edit);
    QLineEdit* associate() const { return m_associate; }
    void setRange(int minimum, int maximum);
    int position() const { return m_position; }
    /// One step up (+1) or down (-1), clamped to the range.
    void step(int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* m_associate = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
};

/// A status bar of fixed-width panels; the last one takes the rest of the width.
class TStatusBar : public QWidget
{
    Q_OBJECT
public:
    TStatusBar(const std::vector<int>& panelWidths, QWidget* parent = nullptr);

    int panelCount() const { return static_cast<int>(m_panels.size()); }
    void setPanelText(int index, const QString& text);
    QString panelText(int index) const;
    void setPanelAlignment(int index, Qt::Alignment alignment);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutPanels();

    std::vector<int> m_widths;
    std::vector<QLabel*> m_panels;
};

/// Gives a single-line edit the platform edit's rules: a text put into it by the program shows
/// from its first character, whatever its length, and of a text with line breaks (pasted from
/// a spreadsheet cell, say) only the part before the first break is kept.
void applyEditRules(QLineEdit* edit);

/// A flat single-line edit: no 3-D border, a one-pixel line of colour round it instead, on
/// white. Drawn by the edit itself rather than by a style sheet, which would cost every edit
/// its own sheet at start-up.
void setFlatBorder(QLineEdit* edit, const QColor& colour);

/// Width of a text in a font, in pixels of the screen.
int textWidth(const QFont& font, const QString& text);

} // namespace platform
