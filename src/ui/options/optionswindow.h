#pragma once

#include "settings/optionvalues.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>

class LenientSpinBox;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTimeEdit;
struct AppSettings;
struct Plan;

// The four boxes of one address list with the list and its buttons, so both lists share one
// add and one delete handler.
struct AddressEditor
{
    QListWidget *list = nullptr;
    std::array<QLineEdit *, 4> boxes{}; // first to fourth number of the dotted address
    QPushButton *add = nullptr;
    QPushButton *remove = nullptr;
};

// The options window's controls, tab by tab.
struct OptionsControls
{
    QTabWidget *tabs = nullptr;

    // Network settings
    QGroupBox *adapterGroup = nullptr;
    QListWidget *adapterList = nullptr;
    QGroupBox *lanGroup = nullptr;
    QListWidget *lanAddressList = nullptr;
    std::array<QLineEdit *, 4> lanAddressBoxes{};
    QPushButton *addLanButton = nullptr;
    QPushButton *deleteLanButton = nullptr;
    QCheckBox *useAll192Check = nullptr;
    QPushButton *showPublicAddressButton = nullptr;
    QPushButton *addPublicAddressButton = nullptr;
    QGroupBox *ignoredGroup = nullptr;
    QListWidget *ignoredAddressList = nullptr;
    std::array<QLineEdit *, 4> ignoredAddressBoxes{};
    QPushButton *addIgnoredButton = nullptr;
    QPushButton *deleteIgnoredButton = nullptr;

    // Direcway settings
    QGroupBox *planGroup = nullptr;
    QComboBox *planList = nullptr;
    QLineEdit *rechargeRateEdit = nullptr;       // KB/s
    QLineEdit *cutOffLimitEdit = nullptr;        // MB
    QLineEdit *throttleLimitEdit = nullptr;      // MB
    QLineEdit *cumulativeDownloadEdit = nullptr; // MB in the bucket
    QPushButton *maxButton = nullptr;
    QCheckBox *offPeakCheck = nullptr;
    QGroupBox *offPeakGroup = nullptr;
    QLineEdit *offPeakCutOffLimitEdit = nullptr; // MB
    QTimeEdit *offPeakStartPicker = nullptr;
    QTimeEdit *offPeakEndPicker = nullptr;

    // Cosmetic and others
    QLineEdit *pingHostEdit = nullptr;
    QLineEdit *pingTimeoutEdit = nullptr; // seconds
    QLineEdit *pingTtlEdit = nullptr;
    QLineEdit *pingPacketSizeEdit = nullptr;
    QSlider *opacitySlider = nullptr;
    QRadioButton *graphicTrayRadio = nullptr;
    QRadioButton *textTrayRadio = nullptr;
    LenientSpinBox *chartHistorySpin = nullptr; // seconds
    QCheckBox *chartAutoScaleCheck = nullptr;
    QCheckBox *autoStartCheck = nullptr;
    QCheckBox *alwaysOnTopCheck = nullptr;
    QCheckBox *startMinimizedCheck = nullptr;

    // Alerts
    QGroupBox *alertsGroup = nullptr;
    QCheckBox *alertsEnabledCheck = nullptr;
    QLineEdit *alertStepsEdit = nullptr;      // percentages of the way to the throttle limit, "75,90"
    QSpinBox *alertWarnMinutesSpin = nullptr; // 0 shows "never"

    // Below the tabs
    QCheckBox *showAtStartCheck = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;

    AddressEditor lanEditor() const { return {lanAddressList, lanAddressBoxes, addLanButton, deleteLanButton}; }
    AddressEditor ignoredEditor() const
    {
        return {ignoredAddressList, ignoredAddressBoxes, addIgnoredButton, deleteIgnoredButton};
    }

    void setupUi(QWidget *form);
};

// The options window: shows the settings, reads its boxes back when asked and reports what the
// user does. What a confirmation or a cancellation does is the controller's business.
class OptionsWindow : public QWidget
{
    Q_OBJECT

public:
    explicit OptionsWindow(QWidget *parent = nullptr);

    void setAdapters(const QStringList &rows);
    void setPlans(const QStringList &names);
    // Every setting into its control; a stored row that a list does not have selects nothing.
    void showSettings(const AppSettings &settings);
    // The bucket's bytes into "Cumulative download in MB".
    void showUsedBytes(int32_t bytes);
    // A chosen plan's values into the three boxes it fills.
    void showPlan(const Plan &plan);
    void setAlwaysOnTopChecked(bool alwaysOnTop);
    // The end of the lookup "Ad my public IP" started: its address, when one came and is not
    // listed yet, joins the LAN list as a typed one would; the button is enabled again.
    void endPublicAddressLookup(const std::optional<QString> &address);
    // The adapter cannot change once the capture runs.
    void lockAdapter();
    // Shown maximised, every time.
    void showMaximised();

    int selectedAdapter() const; // -1 for none
    QString usedBytesText() const; // "Cumulative download in MB" as it stands
    // A LAN address is listed, or every 192.168.*.* address counts as LAN.
    bool hasLanRule() const;
    // The texts of the boxes a confirmation converts, in the order it reads them.
    OptionTexts numberTexts() const;
    // The settings the check boxes, the slider, the spin boxes, the plan list, the time pickers
    // and the alert steps hold. A history that is no number becomes 0, steps that cannot be read
    // become the default ones, in the box too.
    void takeSettings(AppSettings &settings);
    bool showAtStartChecked() const;

    OptionsControls ui;

Q_SIGNALS:
    void confirmRequested();
    void cancelRequested();
    void planChosen(int row);
    // The address is already in the list shown; the row is gone from it.
    void lanAddressAdded(const QString &address);
    void lanAddressRemoved(int row);
    void ignoredAddressAdded(const QString &address);
    void ignoredAddressRemoved(int row);
    // "See my public IP"; "Ad my public IP", whose button stays disabled until the lookup ends.
    void showPublicAddressRequested();
    void addPublicAddressRequested();
    void activated();
    // The window's own close box, or a close() of the program's: the program ends.
    void closed();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    using AddressAdded = void (OptionsWindow::*)(const QString &);
    using AddressRemoved = void (OptionsWindow::*)(int);
    // Both address lists work alike; each reports its own edits.
    void connectEditor(const AddressEditor &editor, AddressAdded added, AddressRemoved removed);
    // The boxes' address into the list; nothing for boxes that hold no address or one listed.
    std::optional<QString> addAddress(const AddressEditor &editor);
    // The address at the end of the list unless listed already; true when added.
    static bool appendNew(QListWidget *list, const QString &address);
    // The selected row out of the list; -1 when none is selected.
    int deleteAddress(const AddressEditor &editor);
};
