#pragma once

#include <QWidget>

class LenientSpinBox;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSlider;
struct AppSettings;
struct OptionTexts;

// "Cosmetic and others": the ping, the monitor window's look, the tray icon, the chart and the
// start-up flags.
class CosmeticTab : public QWidget
{
    Q_OBJECT

public:
    CosmeticTab();

    void showSettings(const AppSettings &settings);
    void setAlwaysOnTopChecked(bool alwaysOnTop);
    // The texts of the ping and history boxes the confirmation converts (readBackOptions).
    void numberTexts(OptionTexts &texts) const;
    // The rest, after the read-back; the history box shows the length as taken.
    void takeSettings(AppSettings &settings);

private:
    QLineEdit *m_pingHostEdit = nullptr;
    QLineEdit *m_pingTimeoutEdit = nullptr; // seconds
    QLineEdit *m_pingTtlEdit = nullptr;
    QLineEdit *m_pingPacketSizeEdit = nullptr;
    QSlider *m_opacitySlider = nullptr;
    QRadioButton *m_graphicTrayRadio = nullptr;
    QRadioButton *m_textTrayRadio = nullptr;
    LenientSpinBox *m_chartHistorySpin = nullptr; // seconds
    QCheckBox *m_chartAutoScaleCheck = nullptr;
    QCheckBox *m_autoStartCheck = nullptr;
    QCheckBox *m_alwaysOnTopCheck = nullptr;
    QCheckBox *m_startMinimizedCheck = nullptr;
};
