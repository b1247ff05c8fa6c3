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
    setWindowTitle(QStringLiteral("Will it fit?"));
    setModal(false);
    setFont(Fonts::arialPoints(8));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Colours::darkBlue);
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);

    sizeEdit = new QLineEdit(this);
    sizeEdit->setObjectName(QStringLiteral("sizeEdit"));
    sizeEdit->setPlaceholderText(QStringLiteral("3 GB, 500 MB, 12000 ..."));
    speedEdit = new QLineEdit(this);
    speedEdit->setObjectName(QStringLiteral("speedEdit"));
    speedEdit->setPlaceholderText(QStringLiteral("bytes per second, or 200 KB"));
    averageLabel = new QLabel(this);
    averageLabel->setObjectName(QStringLiteral("averageLabel"));
    bucketLabel = new QLabel(this);
    bucketLabel->setObjectName(QStringLiteral("bucketLabel"));
    resultLabel = new QLabel(this);
    resultLabel->setObjectName(QStringLiteral("resultLabel"));
    resultLabel->setWordWrap(true);
    resultLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = font();
    bold.setBold(true);
    resultLabel->setFont(bold);
    curve = new LevelCurve(this);
    curve->setObjectName(QStringLiteral("levelCurve"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Download size:"), sizeEdit);
    form->addRow(QStringLiteral("Speed per second:"), speedEdit);
    form->addRow(QString(), averageLabel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(bucketLabel);
    layout->addWidget(resultLabel);
    layout->addWidget(curve, 1);

    connect(sizeEdit, &QLineEdit::textChanged, this, &PlannerWindow::replan);
    connect(speedEdit, &QLineEdit::textChanged, this, &PlannerWindow::replan);
    resize(460, 400);
}

void PlannerWindow::start(const PlannerInputs &inputs)
{
    m_inputs = inputs;
    // Rounded as the average beside it reads.
    const double average = std::round(inputs.averageDownload);
    speedEdit->setText(average >= 1 ? QString::number(int64_t(average)) : QString());
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
    averageLabel->setText(QStringLiteral("Recent average: %1 bytes / s").arg(formatCountOrZero(in.averageDownload)));
    bucketLabel->setText(QStringLiteral("In the bucket now: %1 of %2 bytes; throttled above %3%4.")
                             .arg(formatCountOrZero(in.usedBytes), formatCountOrZero(in.parameters.cutOffLimit),
                                  formatCountOrZero(in.parameters.throttleLimit),
                                  in.cutOff ? QStringLiteral(", CUT OFF") : QString()));
    const auto size = parseByteCount(sizeEdit->text());
    const auto speed = parseByteCount(speedEdit->text());
    if (!size || !speed) {
        resultLabel->setText(!size ? QStringLiteral("Type the download's size, such as 3 GB.")
                                   : QStringLiteral("Type a speed above 0, such as 200 KB."));
        curve->setPlan({}, in.parameters.throttleLimit, in.now);
        return;
    }
    const DownloadPlan plan = planDownload({in.parameters, in.usedBytes, in.cutOff, in.now, *size, *speed});
    resultLabel->setText(describePlan(plan, in.now).join(u'\n'));
    curve->setPlan(plan.curve, in.parameters.throttleLimit, in.now);
}
