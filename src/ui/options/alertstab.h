#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;
struct AppSettings;
struct OptionTexts;

// "Alerts": whether the desktop notifications show and the warnings before the throttle.
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
    QCheckBox *m_alertsEnabledCheck = nullptr;
    QGroupBox *m_alertsGroup = nullptr;
    QLineEdit *m_alertStepsEdit = nullptr;      // percentages of the way to the throttle limit, "75,90"
    QSpinBox *m_alertWarnMinutesSpin = nullptr; // 0 shows "never"
    QGroupBox *m_alertCommandGroup = nullptr;
    QLineEdit *m_alertCommandEdit = nullptr;    // run at every alert without a command of its own kind
};
