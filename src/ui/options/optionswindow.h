#pragma once

#include "settings/optionvalues.h"

#include <QWidget>

#include <cstdint>
#include <optional>

class AlertsTab;
class CosmeticTab;
class NetworkTab;
class PlanTab;
class QCheckBox;
class QTabWidget;
struct AppSettings;
struct Plan;

// The options window: shows the settings, reads its boxes back when asked and reports what the
// user does. What a confirmation or a cancellation does is the controller's business. Each tab
// is a class of its own that shows and takes its settings.
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
    // A line under "Cumulative download in MB" (the first start's word on the bucket).
    void showBucketNote(const QString &text);
    // A chosen plan's values into the three boxes it fills.
    void showPlan(const Plan &plan);
    void setAlwaysOnTopChecked(bool alwaysOnTop);
    // The end of the lookup "Add my public IP" started: its address, when one came and is not
    // listed yet, joins the LAN list as a typed one would; the button is enabled again.
    void endPublicAddressLookup(const std::optional<QString> &address);
    // The adapter cannot change once the capture runs.
    void lockAdapter();
    // Shown at its own size, on screen, in front and active.
    void present();

    int selectedAdapter() const; // -1 for none
    QString usedBytesText() const; // "Cumulative download in MB" as it stands
    // A LAN address is listed, or every 192.168.*.* address counts as LAN.
    bool hasLanRule() const;
    // Every setting the window holds into `settings`, the number boxes first in the order the
    // result names (readBackOptions). A box that stops the reading leaves every setting as it
    // was. The adapter row and the address lists are not taken here.
    OptionsReadBack readSettings(AppSettings &settings);
    // Shows the box's tab and puts the focus on the box, its text selected.
    void focusBox(OptionBox box);
    bool showAtStartChecked() const;

Q_SIGNALS:
    void confirmRequested();
    void cancelRequested();
    void planChosen(int row);
    // The address is already in the list shown; the row is gone from it.
    void lanAddressAdded(const QString &address);
    void lanAddressRemoved(int row);
    void ignoredAddressAdded(const QString &address);
    void ignoredAddressRemoved(int row);
    // "See my public IP"; "Add my public IP", whose button stays disabled until the lookup ends.
    void showPublicAddressRequested();
    void addPublicAddressRequested();
    void activated();
    // The window's own close box, or a close() of the program's: the program ends.
    void closed();

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    NetworkTab *m_network = nullptr;
    PlanTab *m_plan = nullptr;
    CosmeticTab *m_cosmetic = nullptr;
    AlertsTab *m_alerts = nullptr;
    QCheckBox *m_showAtStartCheck = nullptr;
};
