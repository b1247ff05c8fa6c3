#include "ui/options/optionswindow.h"

#include "settings/addressentry.h"
#include "settings/alertsteps.h"
#include "settings/appsettings.h"
#include "settings/plans.h"
#include "settings/profile.h"
#include "ui/common/colours.h"
#include "ui/options/lenientspinbox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

// The selected row of a single-selection list, -1 when none is selected.
int selectedRow(const QListWidget *list)
{
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// A tab page in the window's blue.
QWidget *tabSheet(const char *name)
{
    auto *page = new QWidget;
    page->setObjectName(QLatin1String(name));
    page->setAutoFillBackground(true);
    QPalette palette = page->palette();
    palette.setColor(QPalette::Window, Colours::darkBlue);
    page->setPalette(palette);
    return page;
}

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QFont arial(int pixels)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
}

// "Ok", "Cancel" and the glyph buttons use the smaller font; other buttons keep the window's.
QPushButton *button(const char *name, const QString &caption, QStyle::StandardPixmap glyph = QStyle::SP_CustomBase)
{
    auto *b = named(new QPushButton(caption), name);
    b->setFont(arial(11));
    if (glyph != QStyle::SP_CustomBase)
        b->setIcon(b->style()->standardIcon(glyph));
    return b;
}

QLineEdit *edit(const char *name)
{
    return named(new QLineEdit, name);
}

// A white panel with black text, which holds inputs on the dark blue window.
QFrame *whitePanel()
{
    auto *panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, Qt::gray);
    palette.setColor(QPalette::Disabled, QPalette::Text, Qt::gray);
    panel->setPalette(palette);
    return panel;
}

QGroupBox *frame(const char *name, const QString &caption)
{
    return named(new QGroupBox(caption), name);
}

// A label, then the four boxes of an address side by side, first number first.
QHBoxLayout *addressRow(QLabel *caption, std::array<QLineEdit *, 4> &boxes, const char *name)
{
    auto *row = new QHBoxLayout;
    row->addWidget(caption);
    for (size_t i = 0; i < boxes.size(); ++i) {
        boxes[i] = new QLineEdit;
        boxes[i]->setObjectName(QLatin1String(name) + QString::number(i + 1));
        boxes[i]->setMaxLength(3);
        boxes[i]->setFixedWidth(40);
        row->addWidget(boxes[i]);
    }
    row->addStretch();
    return row;
}

QHBoxLayout *buttonRow(std::initializer_list<QWidget *> widgets)
{
    auto *row = new QHBoxLayout;
    for (QWidget *w : widgets)
        row->addWidget(w);
    row->addStretch();
    return row;
}

QListWidget *addressList(const char *name)
{
    auto *list = named(new QListWidget, name);
    list->setMinimumHeight(48);
    list->setMaximumHeight(120);
    return list;
}

// An address frame: the list at the left; at the right, on a white panel, the four boxes with
// the add and delete buttons. Gives the panel's layout for whatever else the frame holds.
QVBoxLayout *addressFrame(QGroupBox *group, QListWidget *list, QHBoxLayout *boxes, QPushButton *add, QPushButton *remove)
{
    auto *layout = new QHBoxLayout(group);
    layout->addWidget(list, 1);
    QFrame *panel = whitePanel();
    auto *inputs = new QVBoxLayout(panel);
    inputs->addLayout(boxes);
    inputs->addLayout(buttonRow({add, remove}));
    layout->addWidget(panel);
    return inputs;
}

// Label and input pairs, one per row, labels in the first column.
QGridLayout *fieldGrid(QWidget *parent)
{
    auto *grid = new QGridLayout(parent);
    grid->setColumnStretch(2, 1);
    return grid;
}

void addField(QGridLayout *grid, QLabel *caption, QWidget *input, QWidget *beside = nullptr)
{
    const int row = grid->rowCount();
    grid->addWidget(caption, row, 0);
    grid->addWidget(input, row, 1);
    if (beside)
        grid->addWidget(beside, row, 2, Qt::AlignLeft);
}

// The style's roomy margins and gaps would push the controls past 536 x 466; the off-peak frame
// keeps the room its check box on the top edge needs.
void tighten(QWidget *content, const QWidget *offPeakGroup)
{
    for (QLayout *layout : content->findChildren<QLayout *>()) {
        if (layout->parentWidget() == offPeakGroup || layout->parentWidget() == offPeakGroup->parentWidget())
            continue;
        // The pages' own margins go: the longest frame caption needs the whole width.
        const QWidget *owner = layout->parentWidget();
        const bool edge = owner == content || qobject_cast<const QStackedWidget *>(owner->parentWidget());
        const int margin = edge ? 0 : 3;
        layout->setContentsMargins(margin, margin, margin, margin);
        layout->setSpacing(3);
        // A caption never touches its box.
        if (auto *grid = qobject_cast<QGridLayout *>(layout))
            grid->setHorizontalSpacing(8);
    }
}

QTimeEdit *timePicker(const char *name)
{
    auto *picker = named(new QTimeEdit, name);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
}

} // namespace

void OptionsControls::setupUi(QWidget *form)
{
    form->setWindowTitle(QStringLiteral("Tarvo - Options"));
    form->setFont(arial(13));
    QPalette palette = form->palette();
    palette.setColor(QPalette::Window, Colours::darkBlue);
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    form->setPalette(palette);
    form->setAutoFillBackground(true);

    // Shown maximised, the controls keep to the top-left 536 x 466 pixels.
    auto *content = new QWidget(form);
    content->setObjectName(QStringLiteral("content"));
    content->setGeometry(0, 0, 536, 466);
    auto *layout = new QVBoxLayout(content);

    tabs = named(new QTabWidget, "tabs");
    tabs->setDocumentMode(true); // no frame around the pages: their width goes to the controls
    // Standard grey tabs with black captions over pages in the window's blue.
    QPalette tabBar = tabs->tabBar()->palette();
    tabBar.setColor(QPalette::WindowText, Qt::black);
    tabBar.setColor(QPalette::Window, QColor(240, 240, 240));
    tabs->tabBar()->setPalette(tabBar);
    layout->addWidget(tabs);

    // Network settings
    auto *networkTab = tabSheet("networkTab");
    auto *network = new QVBoxLayout(networkTab);

    adapterGroup = frame("adapterGroup", QStringLiteral(
        "Please select the device corresponding to your Direcway connection from the list bellow"));
    adapterList = named(new QListWidget, "adapterList");
    adapterList->setMinimumHeight(76);
    adapterList->setMaximumHeight(84);
    (new QVBoxLayout(adapterGroup))->addWidget(adapterList);
    network->addWidget(adapterGroup);

    lanGroup = frame("lanGroup", QStringLiteral("IP Address in your LAN"));
    lanAddressList = addressList("lanAddressList");
    addLanButton = button("addLanButton", QStringLiteral("Ad new IP"), QStyle::SP_DialogOkButton);
    deleteLanButton = button("deleteLanButton", QStringLiteral("Delete selected IP"), QStyle::SP_DialogCancelButton);
    QVBoxLayout *lanInputs =
        addressFrame(lanGroup, lanAddressList,
                     addressRow(new QLabel(QStringLiteral("Add new IP")), lanAddressBoxes, "lanAddressBox"),
                     addLanButton, deleteLanButton);
    useAll192Check = named(new QCheckBox(QStringLiteral("Use all 192.168.*.* IPs as LAN")), "useAll192Check");
    lanInputs->addWidget(useAll192Check);
    showPublicAddressButton = named(new QPushButton(QStringLiteral("See my public IP")), "showPublicAddressButton");
    addPublicAddressButton =
        button("addPublicAddressButton", QStringLiteral("Ad my public IP"), QStyle::SP_DialogOkButton);
    lanInputs->addLayout(buttonRow({showPublicAddressButton, addPublicAddressButton}));
    network->addWidget(lanGroup);

    ignoredGroup = frame("ignoredGroup", QStringLiteral(
        "IP Adresses to exclude from count( eg. www.direcway.example - 203.0.113.10 )"));
    ignoredAddressList = addressList("ignoredAddressList");
    addIgnoredButton = button("addIgnoredButton", QStringLiteral("Ad new IP"), QStyle::SP_DialogOkButton);
    deleteIgnoredButton =
        button("deleteIgnoredButton", QStringLiteral("Delete selected IP"), QStyle::SP_DialogCancelButton);
    addressFrame(ignoredGroup, ignoredAddressList,
                 addressRow(new QLabel(QStringLiteral("Add new IP")), ignoredAddressBoxes, "ignoredAddressBox"),
                 addIgnoredButton, deleteIgnoredButton)
        ->addStretch();
    network->addWidget(ignoredGroup);
    tabs->addTab(networkTab, QStringLiteral("Network settings"));

    // Direcway settings
    auto *planTab = tabSheet("planTab");
    auto *direcway = new QVBoxLayout(planTab);

    planGroup = frame("planGroup", QStringLiteral("Auto fill from plan ( please select plan from list bellow )"));
    planList = named(new QComboBox, "planList"); // a choice among the rows only
    (new QVBoxLayout(planGroup))->addWidget(planList);
    direcway->addWidget(planGroup);

    auto *limitsPanel = whitePanel();
    auto *limits = fieldGrid(limitsPanel);
    rechargeRateEdit = edit("rechargeRateEdit");
    addField(limits, new QLabel(QStringLiteral("FAP recharge rate in KB/s:")), rechargeRateEdit);
    cutOffLimitEdit = edit("cutOffLimitEdit");
    addField(limits, new QLabel(QStringLiteral("Cut off limit in MB")), cutOffLimitEdit);
    throttleLimitEdit = edit("throttleLimitEdit");
    addField(limits, new QLabel(QStringLiteral("Throttle limit in MB")), throttleLimitEdit);
    cumulativeDownloadEdit = edit("cumulativeDownloadEdit");
    maxButton = named(new QPushButton(QStringLiteral("max")), "maxButton");
    addField(limits, new QLabel(QStringLiteral("Cumulative download in MB")), cumulativeDownloadEdit, maxButton);
    direcway->addWidget(limitsPanel);

    // offPeakCheck lies on offPeakGroup's top edge in place of a caption, outside the group so that
    // disabling the group leaves the box usable.
    auto *offPeak = new QWidget;
    offPeakCheck = named(
        new QCheckBox(QStringLiteral("Off peak settings ( US only ). Check this box to use."), offPeak), "offPeakCheck");
    // Painted in the window's blue, so the frame's line does not run through the caption.
    offPeakCheck->setBackgroundRole(QPalette::Window);
    offPeakCheck->setAutoFillBackground(true);
    offPeakCheck->move(10, 0);
    auto *offPeakLayout = new QVBoxLayout(offPeak);
    offPeakLayout->setContentsMargins(0, offPeakCheck->sizeHint().height() / 2, 0, 0);
    offPeakGroup = frame("offPeakGroup", QString());
    offPeakLayout->addWidget(offPeakGroup);
    auto *offPeakPanel = whitePanel();
    auto *groupLayout = new QVBoxLayout(offPeakGroup);
    groupLayout->setContentsMargins(8, offPeakCheck->sizeHint().height() / 2 + 6, 8, 8);
    groupLayout->addWidget(offPeakPanel);
    auto *offPeakFields = fieldGrid(offPeakPanel);
    offPeakCutOffLimitEdit = edit("offPeakCutOffLimitEdit");
    addField(offPeakFields, new QLabel(QStringLiteral("Off peak cut off limit in MB")), offPeakCutOffLimitEdit);
    offPeakStartPicker = timePicker("offPeakStartPicker");
    addField(offPeakFields, new QLabel(QStringLiteral("Off peak start time")), offPeakStartPicker);
    offPeakEndPicker = timePicker("offPeakEndPicker");
    addField(offPeakFields, new QLabel(QStringLiteral("Off peak end time")), offPeakEndPicker);
    offPeakCheck->raise();
    direcway->addWidget(offPeak);
    direcway->addStretch();
    tabs->addTab(planTab, QStringLiteral("Direcway settings"));

    // Cosmetic and others
    auto *cosmeticTab = tabSheet("cosmeticTab");
    auto *cosmetic = new QVBoxLayout(cosmeticTab);

    auto *pingGroup = frame("pingGroup", QStringLiteral("Ping settings"));
    auto *pingPanel = whitePanel();
    (new QVBoxLayout(pingGroup))->addWidget(pingPanel);
    auto *ping = fieldGrid(pingPanel);
    pingHostEdit = edit("pingHostEdit");
    addField(ping,
             new QLabel(QStringLiteral("Reference URL ( ie. ") + AppSettings::defaultPingHost + QStringLiteral(" )")),
             pingHostEdit);
    pingTimeoutEdit = edit("pingTimeoutEdit");
    addField(ping, new QLabel(QStringLiteral("Timeout ( sec )")), pingTimeoutEdit);
    pingTtlEdit = edit("pingTtlEdit");
    addField(ping, new QLabel(QStringLiteral("TTL ( ping packet time to live )")), pingTtlEdit);
    pingPacketSizeEdit = edit("pingPacketSizeEdit");
    addField(ping, new QLabel(QStringLiteral("Packet size")), pingPacketSizeEdit);
    cosmetic->addWidget(pingGroup);

    auto *opacityGroup = frame("opacityGroup",
                            QStringLiteral("Window transparence ( only works on systems newer than Windows 2000 )"));
    auto *opacity = new QGridLayout(opacityGroup);
    opacitySlider = named(new QSlider(Qt::Horizontal), "opacitySlider");
    opacitySlider->setRange(0, 255);
    opacitySlider->setTickInterval(1);
    opacitySlider->setTickPosition(QSlider::TicksBelow);
    opacity->addWidget(opacitySlider, 0, 0, 1, 2);
    opacity->addWidget(new QLabel(QStringLiteral("Transparent")), 1, 0, Qt::AlignLeft);
    opacity->addWidget(new QLabel(QStringLiteral("Opaque")), 1, 1, Qt::AlignRight);
    cosmetic->addWidget(opacityGroup);

    auto *trayAndChart = new QHBoxLayout;
    auto *trayStyleGroup = frame("trayStyleGroup", QStringLiteral("Tray bar icon"));
    auto *tray = new QVBoxLayout(trayStyleGroup);
    graphicTrayRadio = named(new QRadioButton(QStringLiteral("Graphic")), "graphicTrayRadio");
    textTrayRadio = named(new QRadioButton(QStringLiteral("Text")), "textTrayRadio");
    tray->addWidget(graphicTrayRadio);
    tray->addWidget(textTrayRadio);
    trayAndChart->addWidget(trayStyleGroup);

    auto *chartGroup = frame("chartGroup", QStringLiteral("Traffic chart"));
    auto *chartPanel = whitePanel();
    (new QVBoxLayout(chartGroup))->addWidget(chartPanel);
    auto *chart = fieldGrid(chartPanel);
    chartHistorySpin = named(new LenientSpinBox, "chartHistorySpin");
    addField(chart, new QLabel(QStringLiteral("History length ( sec )")), chartHistorySpin);
    chartAutoScaleCheck = named(new QCheckBox(QStringLiteral("Auto scale Y axis")), "chartAutoScaleCheck");
    chart->addWidget(chartAutoScaleCheck, chart->rowCount(), 0, 1, 2);
    trayAndChart->addWidget(chartGroup, 1);
    cosmetic->addLayout(trayAndChart);

    auto *flags = new QHBoxLayout;
    autoStartCheck = named(new QCheckBox(QStringLiteral("Auto start ( on Windows startup )")), "autoStartCheck");
    alwaysOnTopCheck = named(new QCheckBox(QStringLiteral("Always on top")), "alwaysOnTopCheck");
    startMinimizedCheck = named(new QCheckBox(QStringLiteral("Start minimizred")), "startMinimizedCheck");
    flags->addWidget(autoStartCheck);
    flags->addWidget(alwaysOnTopCheck);
    flags->addWidget(startMinimizedCheck);
    flags->addStretch();
    cosmetic->addLayout(flags);
    cosmetic->addStretch();
    tabs->addTab(cosmeticTab, QStringLiteral("Cosmetic and others"));

    // Alerts
    auto *alertsTab = tabSheet("alertsTab");
    auto *alertsPage = new QVBoxLayout(alertsTab);
    alertsEnabledCheck = named(new QCheckBox(QStringLiteral("Show desktop notifications")), "alertsEnabledCheck");
    alertsPage->addWidget(alertsEnabledCheck);
    alertsGroup = frame("alertsGroup", QStringLiteral("Warn me before the throttle"));
    auto *alertsPanel = whitePanel();
    (new QVBoxLayout(alertsGroup))->addWidget(alertsPanel);
    auto *alertFields = fieldGrid(alertsPanel);
    alertStepsEdit = edit("alertStepsEdit");
    alertStepsEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 ,]*")), alertStepsEdit));
    addField(alertFields, new QLabel(QStringLiteral("At these parts of the way to the throttle limit ( % )")),
             alertStepsEdit, new QLabel(QStringLiteral("eg. 75,90")));
    alertWarnMinutesSpin = named(new QSpinBox, "alertWarnMinutesSpin");
    alertWarnMinutesSpin->setRange(0, 24 * 60);
    alertWarnMinutesSpin->setSpecialValueText(QStringLiteral("never"));
    addField(alertFields, new QLabel(QStringLiteral("When the time to throttle drops below ( min )")),
             alertWarnMinutesSpin);
    alertsPage->addWidget(alertsGroup);
    auto *alertsNote = new QLabel(QStringLiteral(
        "Tarvo also tells you when you are throttled or cut off, when the bucket is below the limits again, "
        "and when the capture stops or drops frames. Without a notification service on the desktop the "
        "tray icon shows them, without a tray the status line of the monitor window."));
    alertsNote->setWordWrap(true);
    alertsPage->addWidget(alertsNote);
    alertsPage->addStretch();
    tabs->addTab(alertsTab, QStringLiteral("Alerts"));

    tabs->setCurrentIndex(0);

    // Below the tabs
    auto *bottomRow = new QHBoxLayout;
    showAtStartCheck =
        named(new QCheckBox(QStringLiteral("Always show this window when Tarvo starts")), "showAtStartCheck");
    bottomRow->addWidget(showAtStartCheck);
    bottomRow->addStretch();
    cancelButton = button("cancelButton", QStringLiteral("Cancel"));
    okButton = button("okButton", QStringLiteral("Ok"));
    bottomRow->addWidget(cancelButton);
    bottomRow->addWidget(okButton);
    layout->addLayout(bottomRow);
    tighten(content, offPeakGroup);
    // Sized again now that it has the window's font.
    offPeakCheck->adjustSize();
}

namespace {
constexpr double bytesPerKB = 1024.0;
constexpr double bytesPerMB = 1048576.0;
} // namespace

OptionsWindow::OptionsWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("optionsWindow"));
    ui.setupUi(this);
    connect(ui.okButton, &QPushButton::clicked, this, &OptionsWindow::confirmRequested);
    connect(ui.cancelButton, &QPushButton::clicked, this, &OptionsWindow::cancelRequested);
    connect(ui.planList, &QComboBox::activated, this, &OptionsWindow::planChosen);
    // An empty bucket: the full allowance, as after a long pause; taken at the next Ok.
    connect(ui.maxButton, &QPushButton::clicked, this,
            [this] { ui.cumulativeDownloadEdit->setText(QStringLiteral("0")); });
    // Follows every change of the box, by mouse, by key or by the load, so the group is enabled
    // exactly while the box is checked.
    connect(ui.offPeakCheck, &QCheckBox::toggled, ui.offPeakGroup, &QWidget::setEnabled);
    connect(ui.alertsEnabledCheck, &QCheckBox::toggled, ui.alertsGroup, &QWidget::setEnabled);

    connectEditor(ui.lanEditor(), &OptionsWindow::lanAddressAdded, &OptionsWindow::lanAddressRemoved);
    connectEditor(ui.ignoredEditor(), &OptionsWindow::ignoredAddressAdded, &OptionsWindow::ignoredAddressRemoved);
    connect(ui.showPublicAddressButton, &QPushButton::clicked, this, &OptionsWindow::showPublicAddressRequested);
    connect(ui.addPublicAddressButton, &QPushButton::clicked, this, [this] {
        // One lookup at a time.
        ui.addPublicAddressButton->setEnabled(false);
        Q_EMIT addPublicAddressRequested();
    });
}

void OptionsWindow::connectEditor(const AddressEditor &editor, AddressAdded added, AddressRemoved removed)
{
    connect(editor.add, &QPushButton::clicked, this, [this, editor, added] {
        if (const auto address = addAddress(editor))
            Q_EMIT(this->*added)(*address);
    });
    connect(editor.remove, &QPushButton::clicked, this, [this, editor, removed] {
        if (const int row = deleteAddress(editor); row >= 0)
            Q_EMIT(this->*removed)(row);
    });
}

void OptionsWindow::setAdapters(const QStringList &rows)
{
    ui.adapterList->addItems(rows);
}

void OptionsWindow::setPlans(const QStringList &names)
{
    ui.planList->clear();
    ui.planList->addItems(names);
}

void OptionsWindow::showSettings(const AppSettings &settings)
{
    using ProfileValue::formatFloat;
    ui.adapterList->setCurrentRow(settings.adapterIndex < ui.adapterList->count() ? settings.adapterIndex : -1);
    ui.lanAddressList->clear();
    ui.lanAddressList->addItems(settings.lanAddresses.entries());
    ui.ignoredAddressList->clear();
    ui.ignoredAddressList->addItems(settings.ignoredAddresses.entries());
    ui.useAll192Check->setChecked(settings.useAll192168.load());

    const FapParameters &fap = settings.fap;
    ui.planList->setCurrentIndex(settings.planIndex < ui.planList->count() ? settings.planIndex : -1);
    ui.rechargeRateEdit->setText(formatFloat(fap.rechargeRate / bytesPerKB));
    ui.cutOffLimitEdit->setText(formatFloat(fap.cutOffLimit / bytesPerMB));
    ui.throttleLimitEdit->setText(formatFloat(fap.throttleLimit / bytesPerMB));
    ui.offPeakCheck->setChecked(fap.offPeakEnabled);
    ui.offPeakGroup->setEnabled(fap.offPeakEnabled);
    ui.offPeakCutOffLimitEdit->setText(formatFloat(fap.offPeakCutOffLimit / bytesPerMB));
    ui.offPeakStartPicker->setTime(timeOfDay(fap.offPeakStart));
    ui.offPeakEndPicker->setTime(timeOfDay(fap.offPeakEnd));

    ui.pingHostEdit->setText(settings.pingHost);
    ui.pingTimeoutEdit->setText(QString::number(settings.pingTimeoutMs / 1000));
    ui.pingTtlEdit->setText(QString::number(settings.pingTtl));
    ui.pingPacketSizeEdit->setText(QString::number(settings.pingPacketSize));
    ui.opacitySlider->setValue(settings.windowOpacity);
    ui.graphicTrayRadio->setChecked(settings.trayStyle == TrayStyle::Graphic);
    ui.textTrayRadio->setChecked(settings.trayStyle == TrayStyle::Text);
    ui.chartHistorySpin->setValue(settings.chartHistorySeconds);
    ui.chartAutoScaleCheck->setChecked(settings.chartAutoScale);
    ui.autoStartCheck->setChecked(settings.autoStart);
    ui.alwaysOnTopCheck->setChecked(settings.alwaysOnTop);
    ui.startMinimizedCheck->setChecked(settings.startMinimized);
    ui.showAtStartCheck->setChecked(settings.showOptionsAtStart);
    ui.alertsEnabledCheck->setChecked(settings.alerts.enabled);
    ui.alertsGroup->setEnabled(settings.alerts.enabled);
    ui.alertStepsEdit->setText(formatAlertSteps(settings.alerts.stepsPercent));
    ui.alertWarnMinutesSpin->setValue(settings.alerts.warnMinutes);
}

void OptionsWindow::showUsedBytes(int32_t bytes)
{
    ui.cumulativeDownloadEdit->setText(ProfileValue::formatFloat(bytes / bytesPerMB));
}

void OptionsWindow::showPlan(const Plan &plan)
{
    ui.rechargeRateEdit->setText(plan.recharge);
    ui.cutOffLimitEdit->setText(plan.max);
    ui.throttleLimitEdit->setText(plan.throttle);
}

void OptionsWindow::setAlwaysOnTopChecked(bool alwaysOnTop)
{
    ui.alwaysOnTopCheck->setChecked(alwaysOnTop);
}

void OptionsWindow::endPublicAddressLookup(const std::optional<QString> &address)
{
    if (address && appendNew(ui.lanAddressList, *address))
        Q_EMIT lanAddressAdded(*address);
    ui.addPublicAddressButton->setEnabled(true);
}

void OptionsWindow::lockAdapter()
{
    ui.adapterList->setEnabled(false);
}

void OptionsWindow::showMaximised()
{
    // A dialog frame without sizing that fills the work area; the geometry as well as the state,
    // so it fills the screen without a window manager too.
    const QRect workArea = screen()->availableGeometry();
    setFixedSize(workArea.size());
    setGeometry(workArea);
    showMaximized();
    // Without a window manager nothing else activates it, and the first activation starts the
    // automatic confirmation.
    activateWindow();
}

int OptionsWindow::selectedAdapter() const
{
    // The selection, not the current row: a row unselected with Ctrl+click stays current.
    return selectedRow(ui.adapterList);
}

QString OptionsWindow::usedBytesText() const
{
    return ui.cumulativeDownloadEdit->text();
}

bool OptionsWindow::hasLanRule() const
{
    return ui.lanAddressList->count() > 0 || ui.useAll192Check->isChecked();
}

OptionTexts OptionsWindow::numberTexts() const
{
    return {ui.rechargeRateEdit->text(),       ui.cutOffLimitEdit->text(),   ui.cumulativeDownloadEdit->text(),
            ui.offPeakCutOffLimitEdit->text(), ui.throttleLimitEdit->text(), ui.pingHostEdit->text(),
            ui.pingTimeoutEdit->text(),        ui.pingTtlEdit->text(),       ui.pingPacketSizeEdit->text()};
}

void OptionsWindow::takeSettings(AppSettings &settings)
{
    settings.chartHistorySeconds = ui.chartHistorySpin->takeValue();
    settings.chartAutoScale = ui.chartAutoScaleCheck->isChecked();
    settings.alwaysOnTop = ui.alwaysOnTopCheck->isChecked();
    settings.autoStart = ui.autoStartCheck->isChecked();
    settings.fap.offPeakEnabled = ui.offPeakCheck->isChecked();
    settings.windowOpacity = ui.opacitySlider->value();
    settings.startMinimized = ui.startMinimizedCheck->isChecked();
    settings.useAll192168.store(ui.useAll192Check->isChecked());
    settings.showOptionsAtStart = ui.showAtStartCheck->isChecked();
    // A plan list that cannot show the stored row (a damaged "plans.ini") keeps the stored row.
    if (ui.planList->currentIndex() >= 0)
        settings.planIndex = ui.planList->currentIndex();
    settings.trayStyle = ui.graphicTrayRadio->isChecked() ? TrayStyle::Graphic : TrayStyle::Text;
    settings.fap.offPeakStart = withTimeOfDay(settings.fap.offPeakStart, ui.offPeakStartPicker->time());
    settings.fap.offPeakEnd = withTimeOfDay(settings.fap.offPeakEnd, ui.offPeakEndPicker->time());
    settings.alerts.enabled = ui.alertsEnabledCheck->isChecked();
    settings.alerts.stepsPercent = parseAlertSteps(ui.alertStepsEdit->text()).value_or(AlertConfig{}.stepsPercent);
    ui.alertStepsEdit->setText(formatAlertSteps(settings.alerts.stepsPercent));
    settings.alerts.warnMinutes = ui.alertWarnMinutesSpin->value();
}

bool OptionsWindow::showAtStartChecked() const
{
    return ui.showAtStartCheck->isChecked();
}

std::optional<QString> OptionsWindow::addAddress(const AddressEditor &editor)
{
    AddressBoxes boxes;
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = editor.boxes[i]->text();
    const auto address = addressFromBoxes(boxes);
    for (size_t i = 0; i < boxes.size(); ++i)
        editor.boxes[i]->setText(boxes[i]);
    if (!address || !appendNew(editor.list, *address))
        return std::nullopt;
    for (QLineEdit *box : editor.boxes)
        box->clear();
    return address;
}

bool OptionsWindow::appendNew(QListWidget *list, const QString &address)
{
    if (!list->findItems(address, Qt::MatchExactly).isEmpty())
        return false;
    list->addItem(address);
    return true;
}

int OptionsWindow::deleteAddress(const AddressEditor &editor)
{
    const int row = selectedRow(editor.list);
    if (row >= 0)
        delete editor.list->takeItem(row);
    return row;
}

void OptionsWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Q_EMIT activated();
    QWidget::changeEvent(event);
}

void OptionsWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    Q_EMIT closed();
}
