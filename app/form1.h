#pragma once

#include "wording/digitgrid.h"

#include <QDate>
#include <QSet>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace dateedit {
class TDBDateTimeEdit;
} // namespace dateedit

namespace platform {
class TImage;
class TStatusBar;
} // namespace platform

namespace printlayout {
class TForm2;
} // namespace printlayout

namespace skins {
class TSkinData;
class TSkinStore;
} // namespace skins

namespace settings {
class TCalibrationPanel;
class TIniFile;
} // namespace settings

namespace app {

/// Starts decoding the entry window's pictures and reading its built-in skin on other threads,
/// once the application object exists; the window takes them over when it is created.
void readWindowAssetsAhead();

/// The cheque entry window. Its state is the text of its controls; the procedures are plain
/// member functions named after the hidden buttons that ran them.
class TForm1 : public QWidget
{
    Q_OBJECT
public:
    /// settingsPath: the settings file; the program passes the one beside its executable.
    explicit TForm1(const QString& settingsPath, QWidget* parent = nullptr);
    ~TForm1() override;

    /// The print form whose report the print picture button fills.
    void setPrintForm(printlayout::TForm2* form) { m_printForm = form; }

    static QString linkText();
    static QString linkAddress();
    static QString supportNumber();

    // Handlers and internal procedures.
    void FormCreate();
    void FormDestroy();
    void Timer1Timer();
    void Button1Click();
    void Button2Click();
    void Button5Click();
    void Button3Click();
    void Button7Click();
    void Button8Click();
    void Edit3Exit();
    void Image2Click();
    void Image3Click();
    void Image4Click();
    void Image5Click();
    void Button4Click();
    void Button6Click();
    void Label80Click();

    QFrame* Shape1 = nullptr;
    platform::TImage* Image1 = nullptr;
    QLabel *Label2 = nullptr, *Label5 = nullptr, *Label8 = nullptr, *Label9 = nullptr,
           *Label10 = nullptr, *Label11 = nullptr, *Label12 = nullptr, *Label13 = nullptr,
           *Label14 = nullptr, *Label15 = nullptr, *Label16 = nullptr, *Label17 = nullptr,
           *Label18 = nullptr, *Label19 = nullptr;
    QLabel *Label21 = nullptr, *Label22 = nullptr, *Label23 = nullptr, *Label24 = nullptr,
           *Label25 = nullptr, *Label26 = nullptr, *Label27 = nullptr, *Label28 = nullptr,
           *Label29 = nullptr, *Label30 = nullptr, *Label31 = nullptr;
    QLabel* Label80 = nullptr;
    QLabel* Label78 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel *Label36 = nullptr, *Label1 = nullptr, *Label20 = nullptr, *Label3 = nullptr,
           *Label4 = nullptr;
    dateedit::TDBDateTimeEdit* DBDateTimeEdit1 = nullptr;
    QComboBox *ComboBox1 = nullptr, *ComboBox2 = nullptr, *ComboBox3 = nullptr;
    QLineEdit* Edit3 = nullptr;
    platform::TImage *Image2 = nullptr, *Image4 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button5 = nullptr,
                *Button7 = nullptr, *Button8 = nullptr;
    platform::TStatusBar* StatusBar1 = nullptr;
    settings::TCalibrationPanel* Panel1 = nullptr;
    QTimer* Timer1 = nullptr;
    skins::TSkinData* SkinData1 = nullptr;
    skins::TSkinStore* SkinStore1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createMockupLabels();
    void createInputGroup();
    void connectHandlers();
    bool Edit3KeyPress(QChar key);
    /// Input-method commits and dropped text reach the amount field only through its filter.
    bool filterAmountText(QEvent* event);
    /// Hands an event to the amount field past that filter.
    void forward(QEvent* event);
    void ComboBox1KeyPress(QChar key);
    void onFocusChanged(QWidget* old, QWidget* now);
    /// The date field's value as a date; raises the variant conversion error when it is null.
    QDate issueDate() const;
    /// Shows a refresh failure once while its cause lasts; ticks keep running meanwhile.
    void reportOnce(bool& reported, const std::function<void()>& show);
    /// Pick-list entries as (section, text); texts the file cannot hold are reported instead.
    void addPickEntries(std::initializer_list<std::pair<QString, QString>> entries);
    /// The amount text in the "0.00" form, as leaving the field leaves it; the empty text stays.
    void formatAmountField();
    /// The digit grid's cells, Label21 (亿) to Label31 (分).
    std::array<QLabel*, wording::kDigitGridCells> gridCells() const;

    QString m_settingsPath;
    printlayout::TForm2* m_printForm = nullptr;
    std::unique_ptr<settings::TIniFile> m_ini;
    bool m_destroyed = false;
    bool m_forwarding = false;
    QSet<QString> m_refusedEntries;
    bool m_amountReported = false;
    bool m_refreshFailureReported = false;
};

} // namespace app
