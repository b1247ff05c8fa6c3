#include "ui/options/optionswindow.h"

#include "settings/appsettings.h"
#include "ui/common/colours.h"
#include "ui/options/alertstab.h"
#include "ui/options/cosmetictab.h"
#include "ui/options/networktab.h"
#include "ui/options/optionsform.h"
#include "ui/options/plantab.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <map>

using namespace OptionsForm;

OptionsWindow::OptionsWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("optionsWindow"));
    setWindowTitle(tr("Tarvo - Options"));
    setFont(arial(13));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Colours::darkBlue);
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    // The controls keep to 536 x 466 pixels, and the window is no larger.
    auto *content = new QWidget(this);
    content->setObjectName(QStringLiteral("content"));
    content->setGeometry(0, 0, 536, 466);
    auto *layout = new QVBoxLayout(content);

    auto *tabs = named(new QTabWidget, "tabs");
    tabs->setDocumentMode(true); // no frame around the pages: their width goes to the controls
    // Standard grey tabs with black captions over pages in the window's blue.
    QPalette tabBar = tabs->tabBar()->palette();
    tabBar.setColor(QPalette::WindowText, Qt::black);
    tabBar.setColor(QPalette::Window, QColor(240, 240, 240));
    tabs->tabBar()->setPalette(tabBar);
    layout->addWidget(tabs);

    m_network = new NetworkTab(*this);
    tabs->addTab(m_network, tr("Network settings"));
    m_plan = new PlanTab(*this);
    tabs->addTab(m_plan, tr("Direcway settings"));
    m_cosmetic = new CosmeticTab;
    tabs->addTab(m_cosmetic, tr("Cosmetic and others"));
    m_alerts = new AlertsTab;
    tabs->addTab(m_alerts, tr("Alerts"));
    tabs->setCurrentIndex(0);

    // Below the tabs
    auto *bottomRow = new QHBoxLayout;
    m_showAtStartCheck =
        named(new QCheckBox(tr("Always show this window when Tarvo starts")), "showAtStartCheck");
    bottomRow->addWidget(m_showAtStartCheck);
    bottomRow->addStretch();
    auto *cancelButton = button("cancelButton", tr("Cancel"));
    auto *okButton = button("okButton", tr("Ok"));
    bottomRow->addWidget(cancelButton);
    bottomRow->addWidget(okButton);
    layout->addLayout(bottomRow);
    tighten(content);
    setFixedSize(content->size());

    connect(okButton, &QPushButton::clicked, this, &OptionsWindow::confirmRequested);
    connect(cancelButton, &QPushButton::clicked, this, &OptionsWindow::cancelRequested);
}

void OptionsWindow::setAdapters(const QStringList &rows)
{
    m_network->setAdapters(rows);
}

void OptionsWindow::setPlans(const QStringList &names)
{
    m_plan->setPlans(names);
}

void OptionsWindow::showSettings(const AppSettings &settings)
{
    m_network->showSettings(settings);
    m_plan->showSettings(settings);
    m_cosmetic->showSettings(settings);
    m_showAtStartCheck->setChecked(settings.showOptionsAtStart);
    m_alerts->showSettings(settings);
}

void OptionsWindow::showBucketNote(const QString &text)
{
    m_plan->showBucketNote(text);
}

void OptionsWindow::showUsedBytes(int32_t bytes)
{
    m_plan->showUsedBytes(bytes);
}

void OptionsWindow::showPlan(const Plan &plan)
{
    m_plan->showPlan(plan);
}

void OptionsWindow::setAlwaysOnTopChecked(bool alwaysOnTop)
{
    m_cosmetic->setAlwaysOnTopChecked(alwaysOnTop);
}

void OptionsWindow::endPublicAddressLookup(const std::optional<QString> &address)
{
    m_network->endPublicAddressLookup(address);
}

void OptionsWindow::lockAdapter()
{
    m_network->lockAdapter();
}

void OptionsWindow::present()
{
    // Centred the first time, frame and all, so the title bar is on screen under a window
    // manager; later it comes back where the user left it.
    if (!testAttribute(Qt::WA_Moved)) {
        const QRect workArea = screen()->availableGeometry();
        move(workArea.center() - QPoint(width() / 2, height() / 2));
    }
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    show();
    raise();
    // Without a window manager nothing else activates it, and the first activation starts the
    // automatic confirmation.
    activateWindow();
}

int OptionsWindow::selectedAdapter() const
{
    return m_network->selectedAdapter();
}

QString OptionsWindow::usedBytesText() const
{
    return m_plan->usedBytesText();
}

bool OptionsWindow::hasLanRule() const
{
    return m_network->hasLanRule();
}

OptionsReadBack OptionsWindow::readSettings(AppSettings &settings)
{
    // The boxes are read tab by tab, in the order of the tabs.
    OptionTexts texts;
    m_plan->numberTexts(texts);
    m_cosmetic->numberTexts(texts);
    m_alerts->numberTexts(texts);
    OptionsReadBack readBack = readBackOptions(texts, settings);
    if (readBack.stop != OptionsReadBack::Stop::None)
        return readBack;
    m_network->takeSettings(settings);
    m_plan->takeSettings(settings);
    m_cosmetic->takeSettings(settings);
    m_alerts->takeSettings(settings);
    settings.showOptionsAtStart = m_showAtStartCheck->isChecked();
    return readBack;
}

void OptionsWindow::focusBox(OptionBox box)
{
    static const std::map<OptionBox, QString> names{
        {OptionBox::RechargeRate, QStringLiteral("rechargeRateEdit")},
        {OptionBox::CutOffLimit, QStringLiteral("cutOffLimitEdit")},
        {OptionBox::UsedBytes, QStringLiteral("cumulativeDownloadEdit")},
        {OptionBox::OffPeakCutOffLimit, QStringLiteral("offPeakCutOffLimitEdit")},
        {OptionBox::ThrottleLimit, QStringLiteral("throttleLimitEdit")},
        {OptionBox::PingTimeout, QStringLiteral("pingTimeoutEdit")},
        {OptionBox::PingTtl, QStringLiteral("pingTtlEdit")},
        {OptionBox::PingPacketSize, QStringLiteral("pingPacketSizeEdit")},
        {OptionBox::ChartHistory, QStringLiteral("chartHistorySpin")},
        {OptionBox::AlertSteps, QStringLiteral("alertStepsEdit")},
    };
    const auto name = names.find(box);
    auto *tabs = findChild<QTabWidget *>(QStringLiteral("tabs"));
    QWidget *control = name == names.end() ? nullptr : findChild<QWidget *>(name->second);
    if (!control)
        return;
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->widget(i)->isAncestorOf(control))
            tabs->setCurrentIndex(i);
    }
    control->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->selectAll();
    else if (auto *spin = qobject_cast<QAbstractSpinBox *>(control))
        spin->selectAll();
}

bool OptionsWindow::showAtStartChecked() const
{
    return m_showAtStartCheck->isChecked();
}

void OptionsWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Q_EMIT activated();
    QWidget::changeEvent(event);
}

void OptionsWindow::keyPressEvent(QKeyEvent *event)
{
    // As in a dialog: Enter presses the focused button, or else "Ok"; Escape is "Cancel". The
    // boxes and lists pass both keys on to here.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget()))
            focused->click();
        else
            Q_EMIT confirmRequested();
        return;
    case Qt::Key_Escape:
        Q_EMIT cancelRequested();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void OptionsWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    Q_EMIT closed();
}
