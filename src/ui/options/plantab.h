#pragma once

#include <QWidget>

#include <cstdint>

class OptionsWindow;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTimeEdit;
struct AppSettings;
struct OptionTexts;
struct Plan;

// "Direcway settings": the plan list, the bucket's boxes and the off-peak window. A plan chosen
// is reported as the window's signal.
class PlanTab : public QWidget
{
    Q_OBJECT

public:
    explicit PlanTab(OptionsWindow &window);

    void setPlans(const QStringList &names);
    void showSettings(const AppSettings &settings);
    void showUsedBytes(int32_t bytes);
    void showPlan(const Plan &plan);
    // A line under the bucket's box; hidden while empty.
    void showBucketNote(const QString &text);
    QString usedBytesText() const;
    // The texts of the boxes the confirmation converts (readBackOptions).
    void numberTexts(OptionTexts &texts) const;
    // The plan row, the off-peak box and the off-peak times.
    void takeSettings(AppSettings &settings) const;

protected:
    void changeEvent(QEvent *event) override;

private:
    QComboBox *m_planList = nullptr;
    bool m_planTypedOver = false; // a plan's values were typed over since it was shown
    QLineEdit *m_rechargeRateEdit = nullptr;       // KB/s
    QLineEdit *m_cutOffLimitEdit = nullptr;        // MB
    QLineEdit *m_throttleLimitEdit = nullptr;      // MB
    QLineEdit *m_cumulativeDownloadEdit = nullptr; // MB in the bucket
    QLabel *m_bucketNote = nullptr;
    QCheckBox *m_offPeakCheck = nullptr;
    QGroupBox *m_offPeakGroup = nullptr;
    QLineEdit *m_offPeakCutOffLimitEdit = nullptr; // MB
    QTimeEdit *m_offPeakStartPicker = nullptr;
    QTimeEdit *m_offPeakEndPicker = nullptr;
};
