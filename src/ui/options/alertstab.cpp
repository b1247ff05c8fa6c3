#include "ui/options/alertstab.h"

#include "settings/alertsteps.h"
#include "settings/appsettings.h"
#include "settings/optionvalues.h"
#include "ui/options/optionsform.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace OptionsForm;

AlertsTab::AlertsTab()
{
    paintAsTabSheet(this, "alertsTab");
    auto *alertsPage = new QVBoxLayout(this);
    m_alertsEnabledCheck = named(new QCheckBox(tr("Show desktop notifications")), "alertsEnabledCheck");
    alertsPage->addWidget(m_alertsEnabledCheck);
    m_alertsGroup = frame("alertsGroup", tr("Warn me before the throttle"));
    auto *alertsPanel = whitePanel();
    (new QVBoxLayout(m_alertsGroup))->addWidget(alertsPanel);
    auto *alertFields = fieldGrid(alertsPanel);
    m_alertStepsEdit = edit("alertStepsEdit");
    m_alertStepsEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 ,]*")), m_alertStepsEdit));
    addField(alertFields, new QLabel(tr("At these parts of the way to the throttle limit ( % )")),
             m_alertStepsEdit, new QLabel(tr("e.g. 75,90")));
    m_alertWarnMinutesSpin = named(new QSpinBox, "alertWarnMinutesSpin");
    m_alertWarnMinutesSpin->setRange(0, 24 * 60);
    m_alertWarnMinutesSpin->setSpecialValueText(tr("never"));
    addField(alertFields, new QLabel(tr("When the time to throttle drops below ( min )")),
             m_alertWarnMinutesSpin);
    alertsPage->addWidget(m_alertsGroup);
    auto *alertsNote = new QLabel(tr(
        "Tarvo also tells you when you are throttled or cut off, when the bucket is below the limits again, "
        "and when the capture stops or drops frames. Without a notification service on the desktop the "
        "tray icon shows them, without a tray the status line of the monitor window."));
    alertsNote->setWordWrap(true);
    alertsPage->addWidget(alertsNote);

    m_alertCommandGroup = frame("alertCommandGroup", tr("Run a command at each alert"));
    auto *commandPanel = whitePanel();
    (new QVBoxLayout(m_alertCommandGroup))->addWidget(commandPanel);
    auto *commandFields = fieldGrid(commandPanel);
    m_alertCommandEdit = edit("alertCommandEdit");
    m_alertCommandEdit->setToolTip(
        tr("Run without a shell; the alert's figures are in TARVO_ALERT, TARVO_PERCENT, TARVO_LEVEL_BYTES and "
           "the other TARVO_ variables. Leave it empty to run nothing."));
    addField(commandFields, new QLabel(tr("Command")), m_alertCommandEdit);
    alertsPage->addWidget(m_alertCommandGroup);
    alertsPage->addStretch();

    connect(m_alertsEnabledCheck, &QCheckBox::toggled, m_alertsGroup, &QWidget::setEnabled);
    // The commands run only for the alerts that are shown.
    connect(m_alertsEnabledCheck, &QCheckBox::toggled, m_alertCommandGroup, &QWidget::setEnabled);
}

void AlertsTab::showSettings(const AppSettings &settings)
{
    m_alertsEnabledCheck->setChecked(settings.alerts.enabled);
    m_alertsGroup->setEnabled(settings.alerts.enabled);
    m_alertStepsEdit->setText(formatAlertSteps(settings.alerts.stepsPercent));
    m_alertWarnMinutesSpin->setValue(settings.alerts.warnMinutes);
    m_alertCommandGroup->setEnabled(settings.alerts.enabled);
    m_alertCommandEdit->setText(settings.alerts.command);
}

void AlertsTab::numberTexts(OptionTexts &texts) const
{
    texts.alertSteps = m_alertStepsEdit->text();
}

void AlertsTab::takeSettings(AppSettings &settings)
{
    settings.alerts.enabled = m_alertsEnabledCheck->isChecked();
    m_alertStepsEdit->setText(formatAlertSteps(settings.alerts.stepsPercent));
    settings.alerts.warnMinutes = m_alertWarnMinutesSpin->value();
    settings.alerts.command = m_alertCommandEdit->text().trimmed();
}
