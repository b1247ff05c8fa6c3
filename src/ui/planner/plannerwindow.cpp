#include "ui/planner/plannerwindow.h"

#include "meter/formats.h"
#include "meter/plantext.h"
#include "ui/common/colours.h"
#include "ui/common/fonts.h"
#include "ui/planner/levelcurve.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>


PlannerWindow::PlannerWindow(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("plannerWindow"));
    setWindowTitle(tr("Will it fit?"));
    setModal(false);
    setFont(Fonts::arialPoints(8));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Colours::darkBlue);
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);

    m_sizeEdit = new QLineEdit(this);
    m_sizeEdit->setObjectName(QStringLiteral("sizeEdit"));
    m_sizeEdit->setPlaceholderText(QStringLiteral("3 GB, 500 MB, 12000 ..."));
    m_speedEdit = new QLineEdit(this);
    m_speedEdit->setObjectName(QStringLiteral("speedEdit"));
    m_speedEdit->setPlaceholderText(tr("bytes per second, or 200 KB"));
    m_averageLabel = new QLabel(this);
    m_averageLabel->setObjectName(QStringLiteral("averageLabel"));
    m_bucketLabel = new QLabel(this);
    m_bucketLabel->setObjectName(QStringLiteral("bucketLabel"));
    m_resultLabel = new QLabel(this);
    m_resultLabel->setObjectName(QStringLiteral("resultLabel"));
    m_resultLabel->setWordWrap(true);
    m_resultLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = font();
    bold.setBold(true);
    m_resultLabel->setFont(bold);
    m_curve = new LevelCurve(this);
    m_curve->setObjectName(QStringLiteral("levelCurve"));

    auto *form = new QFormLayout;
    form->addRow(tr("Download size:"), m_sizeEdit);
    form->addRow(tr("Speed per second:"), m_speedEdit);
    form->addRow(QString(), m_averageLabel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_bucketLabel);
    layout->addWidget(m_resultLabel);
    layout->addWidget(m_curve, 1);

    connect(m_sizeEdit, &QLineEdit::textChanged, this, &PlannerWindow::replan);
    connect(m_speedEdit, &QLineEdit::textChanged, this, &PlannerWindow::replan);
    resize(460, 400);
}

void PlannerWindow::start(const PlannerInputs &inputs)
{
    m_inputs = inputs;
    // Rounded as the average beside it reads.
    const double average = std::round(inputs.averageDownload);
    m_speedEdit->setText(average >= 1 ? QString::number(int64_t(average)) : QString());
    replan();
}

void PlannerWindow::setInputs(const PlannerInputs &inputs)
{
    m_inputs = inputs;
    replan();
}

void PlannerWindow::replan()
{
    const PlannerInputs &in = m_inputs;
    m_averageLabel->setText(tr("Recent average: %1 bytes / s").arg(formatCountOrZero(in.averageDownload)));
    m_bucketLabel->setText(tr("In the bucket now: %1 of %2 bytes; throttled above %3%4.")
                               .arg(formatCountOrZero(in.usedBytes), formatCountOrZero(in.parameters.cutOffLimit),
                                    formatCountOrZero(in.parameters.throttleLimit),
                                    in.cutOff ? tr(", CUT OFF") : QString()));
    const auto size = parseByteCount(m_sizeEdit->text());
    const auto speed = parseByteCount(m_speedEdit->text());
    if (!size || !speed) {
        m_resultLabel->setText(!size ? tr("Type the download's size, such as 3 GB.")
                                     : tr("Type a speed above 0, such as 200 KB."));
        m_curve->setPlan({}, in.parameters.throttleLimit, in.now);
        return;
    }
    const DownloadPlan plan = planDownload({in.parameters, in.usedBytes, in.cutOff, in.now, *size, *speed});
    m_resultLabel->setText(describePlan(plan, in.now).join(u'\n'));
    m_curve->setPlan(plan.curve, in.parameters.throttleLimit, in.now);
}
