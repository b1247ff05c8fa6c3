#pragma once

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

// The options window's controls under their form names; TfrmMain holds the handlers.
struct OptionsForm
{
    // Network settings
    QListWidget *ListBox1 = nullptr; // capture adapters
    QListWidget *ListBox2 = nullptr; // LAN addresses
    std::array<QLineEdit *, 4> lanBoxes{}; // Edit1..Edit4
    QPushButton *BitBtn1 = nullptr;  // add LAN address
    QPushButton *BitBtn2 = nullptr;  // delete LAN address
    QCheckBox *CheckBox5 = nullptr;  // use all 192.168.*.*

    // Direcway settings
    QComboBox *ComboBox1 = nullptr;  // plans of plans.ini
    QLineEdit *Edit5 = nullptr;      // recharge rate, KB/s
    QLineEdit *Edit6 = nullptr;      // cut-off limit, MB
    QLineEdit *Edit16 = nullptr;     // throttle limit, MB
    QLineEdit *Edit11 = nullptr;     // cumulative download, MB

    QPushButton *Button1 = nullptr;  // Ok
    QPushButton *Button2 = nullptr;  // Cancel

    void setupUi(QWidget *form);
};
