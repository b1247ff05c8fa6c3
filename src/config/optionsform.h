#pragma once

#include <QSpinBox>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QTimeEdit;
class QWidget;

// A spin box without bounds that, like a plain edit, also holds text that is no number; the
// confirmation turns such text into 0.
class LenientSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    explicit LenientSpinBox(QWidget *parent = nullptr);

    // The whole number the box holds; text that is no number counts as 0 and the box is reset
    // to "0".
    int takeValue();

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    int valueFromText(const QString &text) const override;
};

// The four boxes of one address list with the list and its buttons, so both lists share one
// add and one delete handler.
struct AddressEditor
{
    QListWidget *list = nullptr;
    std::array<QLineEdit *, 4> boxes{}; // first to fourth number of the dotted address
    QPushButton *add = nullptr;
    QPushButton *remove = nullptr;
};

// The options window's controls under their form names; TfrmMain holds the handlers.
struct OptionsForm
{
    QTabWidget *PageControl1 = nullptr;

    // Network settings
    QGroupBox *GroupBox1 = nullptr;
    QListWidget *ListBox1 = nullptr; // capture adapters
    QGroupBox *GroupBox2 = nullptr;
    QListWidget *ListBox2 = nullptr; // LAN addresses
    std::array<QLineEdit *, 4> lanBoxes{}; // Edit1..Edit4
    QPushButton *BitBtn1 = nullptr;  // add LAN address
    QPushButton *BitBtn2 = nullptr;  // delete LAN address
    QCheckBox *CheckBox5 = nullptr;  // use all 192.168.*.*
    QPushButton *Button4 = nullptr;  // see my public address
    QPushButton *BitBtn5 = nullptr;  // add my public address
    QGroupBox *GroupBox4 = nullptr;
    QListWidget *ListBox3 = nullptr; // excluded addresses
    std::array<QLineEdit *, 4> ignoredBoxes{}; // Edit7..Edit10
    QPushButton *BitBtn3 = nullptr;  // add excluded address
    QPushButton *BitBtn4 = nullptr;  // delete excluded address

    // Direcway settings
    QGroupBox *GroupBox3 = nullptr;
    QComboBox *ComboBox1 = nullptr;  // plans
    QLineEdit *Edit5 = nullptr;      // recharge rate, KB/s
    QLineEdit *Edit6 = nullptr;      // cut-off limit, MB
    QLineEdit *Edit16 = nullptr;     // throttle limit, MB
    QLineEdit *Edit11 = nullptr;     // cumulative download, MB
    QPushButton *Button3 = nullptr;  // max
    QCheckBox *CheckBox6 = nullptr;  // off-peak on
    QGroupBox *GroupBox7 = nullptr;  // off-peak group
    QLineEdit *Edit17 = nullptr;     // off-peak cut-off limit, MB
    QTimeEdit *DateTimePicker1 = nullptr; // off-peak start
    QTimeEdit *DateTimePicker2 = nullptr; // off-peak end

    // Cosmetic and others
    QLineEdit *Edit12 = nullptr;     // reference host
    QLineEdit *Edit13 = nullptr;     // timeout, seconds
    QLineEdit *Edit14 = nullptr;     // time to live
    QLineEdit *Edit15 = nullptr;     // packet size
    QSlider *TrackBar1 = nullptr;    // opacity
    QRadioButton *RadioButton1 = nullptr; // graphic tray icon
    QRadioButton *RadioButton2 = nullptr; // text tray icon
    LenientSpinBox *CSpinEdit1 = nullptr; // chart history, seconds
    QCheckBox *CheckBox7 = nullptr;  // chart auto scale
    QCheckBox *CheckBox2 = nullptr;  // auto start
    QCheckBox *CheckBox3 = nullptr;  // always on top
    QCheckBox *CheckBox4 = nullptr;  // start minimised

    // Below the tabs
    QCheckBox *CheckBox1 = nullptr;  // show this window at start
    QPushButton *Button1 = nullptr;  // Ok
    QPushButton *Button2 = nullptr;  // Cancel

    AddressEditor lanEditor() const { return {ListBox2, lanBoxes, BitBtn1, BitBtn2}; }
    AddressEditor ignoredEditor() const { return {ListBox3, ignoredBoxes, BitBtn3, BitBtn4}; }

    void setupUi(QWidget *form);
};
