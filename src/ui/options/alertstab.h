#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;
struct AppSettings;
struct OptionTexts;

// "Alerts": whether the desktop notifications show, the warnings before the throttle and the
// step above which the connection is marked as metered.
class AlertsTab : public QWidget
{
    Q_OBJECT

public:
    AlertsTab();

    void showSettings(const AppSettings &settings);
    // The steps' text the confirmation reads (readBackOptions).
    void numberTexts(OptionTexts &texts) const;
    // The rest, after the read-back; the box shows the steps as taken.
    void takeSettings(AppSettings &settings);

private:
    // The metered switch: its box and its step, in a block of their own.
    QWidget *meteredBlock();

    QCheckBox *m_alertsEnabledCheck = nullptr;
    QGroupBox *m_alertsGroup = nullptr;
    QLineEdit *m_alertStepsEdit = nullptr;      // percentages of the way to the throttle limit, "75,90"
    QSpinBox *m_alertWarnMinutesSpin = nullptr; // 0 shows "never"
    QCheckBox *m_meteredCheck = nullptr;        // mark the connection as metered above the step
    QSpinBox *m_meteredPercentSpin = nullptr;   // the step, a part of the way to the throttle limit
    QGroupBox *m_alertCommandGroup = nullptr;
    QLineEdit *m_alertCommandEdit = nullptr;    // run at every alert without a command of its own kind
};
