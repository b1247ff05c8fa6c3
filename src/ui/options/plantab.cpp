#include "ui/options/plantab.h"

#include "settings/appsettings.h"
#include "settings/optionvalues.h"
#include "settings/plans.h"
#include "ui/options/optionsform.h"
#include "ui/options/optionswindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

using namespace OptionsForm;

PlanTab::PlanTab(OptionsWindow &window)
{
    paintAsTabSheet(this, "planTab");
    auto *direcway = new QVBoxLayout(this);

    auto *planGroup =
        frame("planGroup", tr("Auto fill from plan ( please select plan from list below )"));
    m_planList = named(new QComboBox, "planList"); // a choice among the rows only
    (new QVBoxLayout(planGroup))->addWidget(m_planList);
    direcway->addWidget(planGroup);

    auto *limitsPanel = whitePanel();
    auto *limits = fieldGrid(limitsPanel);
    m_rechargeRateEdit = edit("rechargeRateEdit");
    addField(limits, new QLabel(tr("FAP recharge rate in KB/s:")), m_rechargeRateEdit);
    m_cutOffLimitEdit = edit("cutOffLimitEdit");
    addField(limits, new QLabel(tr("Cut off limit in MB")), m_cutOffLimitEdit);
    m_throttleLimitEdit = edit("throttleLimitEdit");
    addField(limits, new QLabel(tr("Throttle limit in MB")), m_throttleLimitEdit);
    m_cumulativeDownloadEdit = edit("cumulativeDownloadEdit");
    auto *maxButton = named(new QPushButton(tr("max")), "maxButton");
    addField(limits, new QLabel(tr("Cumulative download in MB")), m_cumulativeDownloadEdit, maxButton);
    m_bucketNote = named(new QLabel, "bucketNote");
    m_bucketNote->setWordWrap(true);
    m_bucketNote->hide();
    limits->addWidget(m_bucketNote, limits->rowCount(), 0, 1, limits->columnCount());
    direcway->addWidget(limitsPanel);

    // The off-peak box lies on the off-peak frame's top edge in place of a caption, outside the
    // frame so that disabling the frame leaves the box usable.
    auto *offPeak = new QWidget;
    m_offPeakCheck = named(
        new QCheckBox(tr("Off peak settings ( US only ). Check this box to use."), offPeak), "offPeakCheck");
    // Painted in the window's blue, so the frame's line does not run through the caption.
    m_offPeakCheck->setBackgroundRole(QPalette::Window);
    m_offPeakCheck->setAutoFillBackground(true);
    m_offPeakCheck->move(10, 0);
    auto *offPeakLayout = new QVBoxLayout(offPeak);
    offPeakLayout->setContentsMargins(0, m_offPeakCheck->sizeHint().height() / 2, 0, 0);
    m_offPeakGroup = frame("offPeakGroup", QString());
    offPeakLayout->addWidget(m_offPeakGroup);
    auto *offPeakPanel = whitePanel();
    auto *groupLayout = new QVBoxLayout(m_offPeakGroup);
    groupLayout->setContentsMargins(8, m_offPeakCheck->sizeHint().height() / 2 + 6, 8, 8);
    groupLayout->addWidget(offPeakPanel);
    auto *offPeakFields = fieldGrid(offPeakPanel);
    m_offPeakCutOffLimitEdit = edit("offPeakCutOffLimitEdit");
    addField(offPeakFields, new QLabel(tr("Off peak cut off limit in MB")), m_offPeakCutOffLimitEdit);
    m_offPeakStartPicker = timePicker("offPeakStartPicker");
    addField(offPeakFields, new QLabel(tr("Off peak start time")), m_offPeakStartPicker);
    m_offPeakEndPicker = timePicker("offPeakEndPicker");
    addField(offPeakFields, new QLabel(tr("Off peak end time")), m_offPeakEndPicker);
    m_offPeakCheck->raise();
    direcway->addWidget(offPeak);
    direcway->addStretch();
    // The room the box on the frame's edge needs stays.
    keepMargins(offPeak);
    keepMargins(m_offPeakGroup);

    connect(m_planList, &QComboBox::activated, &window, &OptionsWindow::planChosen);
    // Values typed over a plan's are no longer that plan: the list names none.
    for (QLineEdit *box : {m_rechargeRateEdit, m_cutOffLimitEdit, m_throttleLimitEdit}) {
        connect(box, &QLineEdit::textEdited, this, [this] {
            m_planList->setCurrentIndex(-1);
            m_planTypedOver = true;
        });
    }
    // An empty bucket: the full allowance, as after a long pause; taken at the next Ok.
    connect(maxButton, &QPushButton::clicked, this, [this] { m_cumulativeDownloadEdit->setText(QStringLiteral("0")); });
    // Follows every change of the box, by mouse, by key or by the load, so the group is enabled
    // exactly while the box is checked.
    connect(m_offPeakCheck, &QCheckBox::toggled, m_offPeakGroup, &QWidget::setEnabled);
}

void PlanTab::changeEvent(QEvent *event)
{
    // The box on the frame's edge is in no layout: it takes the size of the window's font itself.
    if (event->type() == QEvent::FontChange)
        m_offPeakCheck->adjustSize();
    QWidget::changeEvent(event);
}

void PlanTab::setPlans(const QStringList &names)
{
    m_planList->clear();
    m_planList->addItems(names);
}

void PlanTab::showSettings(const AppSettings &settings)
{
    constexpr int32_t kb = 1024, mb = 1048576;
    const FapParameters &fap = settings.fap;
    m_planList->setCurrentIndex(settings.planIndex < m_planList->count() ? settings.planIndex : -1);
    m_planTypedOver = false;
    m_rechargeRateEdit->setText(decimalFromBytes(fap.rechargeRate, kb, Rounding::Truncate));
    m_cutOffLimitEdit->setText(decimalFromBytes(fap.cutOffLimit, mb, Rounding::Truncate));
    m_throttleLimitEdit->setText(decimalFromBytes(fap.throttleLimit, mb, Rounding::Floor));
    m_offPeakCheck->setChecked(fap.offPeakEnabled);
    m_offPeakGroup->setEnabled(fap.offPeakEnabled);
    m_offPeakCutOffLimitEdit->setText(decimalFromBytes(fap.offPeakCutOffLimit, mb, Rounding::Truncate));
    m_offPeakStartPicker->setTime(timeOfDay(fap.offPeakStart));
    m_offPeakEndPicker->setTime(timeOfDay(fap.offPeakEnd));
}

void PlanTab::showUsedBytes(int32_t bytes)
{
    m_cumulativeDownloadEdit->setText(decimalFromBytes(bytes, 1048576, Rounding::Truncate));
}

void PlanTab::showPlan(const Plan &plan)
{
    m_planTypedOver = false;
    m_rechargeRateEdit->setText(plan.recharge);
    m_cutOffLimitEdit->setText(plan.max);
    m_throttleLimitEdit->setText(plan.throttle);
}

void PlanTab::showBucketNote(const QString &text)
{
    m_bucketNote->setText(text);
    m_bucketNote->setVisible(!text.isEmpty());
}

QString PlanTab::usedBytesText() const
{
    return m_cumulativeDownloadEdit->text();
}

void PlanTab::numberTexts(OptionTexts &texts) const
{
    texts.rechargeRate = m_rechargeRateEdit->text();
    texts.cutOffLimit = m_cutOffLimitEdit->text();
    texts.usedBytes = m_cumulativeDownloadEdit->text();
    texts.offPeakCutOffLimit = m_offPeakCutOffLimitEdit->text();
    texts.throttleLimit = m_throttleLimitEdit->text();
}

void PlanTab::takeSettings(AppSettings &settings) const
{
    // A plan list that cannot show the stored row (a damaged "plans.ini") keeps the stored row;
    // values typed over the plan's name none.
    if (m_planList->currentIndex() >= 0 || m_planTypedOver)
        settings.planIndex = m_planList->currentIndex();
    settings.fap.offPeakEnabled = m_offPeakCheck->isChecked();
    settings.fap.offPeakStart = withTimeOfDay(settings.fap.offPeakStart, m_offPeakStartPicker->time());
    settings.fap.offPeakEnd = withTimeOfDay(settings.fap.offPeakEnd, m_offPeakEndPicker->time());
}
