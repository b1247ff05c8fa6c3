#include "config/optionsform.h"

#include "config/optionvalues.h"
#include "core/appsettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <limits>

LenientSpinBox::LenientSpinBox(QWidget *parent)
    : QSpinBox(parent)
{
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

int LenientSpinBox::takeValue()
{
    const auto value = parseWholeNumber(text());
    if (!value)
        lineEdit()->setText(QStringLiteral("0"));
    setValue(value.value_or(0));
    return value.value_or(0);
}

QValidator::State LenientSpinBox::validate(QString &, int &) const
{
    return QValidator::Acceptable;
}

int LenientSpinBox::valueFromText(const QString &text) const
{
    return parseWholeNumber(text).value_or(0);
}

namespace {

const QColor darkBlue(0, 64, 128);

// A tab page in the window's blue.
QWidget *tabSheet(const char *name)
{
    auto *page = new QWidget;
    page->setObjectName(QLatin1String(name));
    page->setAutoFillBackground(true);
    QPalette palette = page->palette();
    palette.setColor(QPalette::Window, darkBlue);
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

// Buttons and glyph buttons use the smaller font.
QPushButton *button(const char *name, const QString &caption, QStyle::StandardPixmap glyph = QStyle::SP_CustomBase)
{
    auto *b = named(new QPushButton(caption), name);
    b->setFont(arial(11));
    if (glyph != QStyle::SP_CustomBase)
        b->setIcon(b->style()->standardIcon(glyph));
    return b;
}

QLabel *label(const char *name, const QString &caption)
{
    return named(new QLabel(caption), name);
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
QHBoxLayout *addressRow(QLabel *caption, std::array<QLineEdit *, 4> &boxes, const std::array<const char *, 4> &names)
{
    auto *row = new QHBoxLayout;
    row->addWidget(caption);
    for (size_t i = 0; i < boxes.size(); ++i) {
        boxes[i] = edit(names[i]);
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

QTimeEdit *timePicker(const char *name)
{
    auto *picker = named(new QTimeEdit, name);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
}

} // namespace

void OptionsForm::setupUi(QWidget *form)
{
    form->setWindowTitle(QStringLiteral("Tarvo - Options"));
    form->setFont(arial(13));
    QPalette palette = form->palette();
    palette.setColor(QPalette::Window, darkBlue);
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    form->setPalette(palette);
    form->setAutoFillBackground(true);

    // Shown maximised, the controls keep to the top-left corner at their own size.
    auto *outer = new QGridLayout(form);
    auto *content = new QWidget;
    content->setMinimumSize(536, 466);
    outer->addWidget(content, 0, 0);
    outer->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Expanding), 1, 1);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);

    PageControl1 = named(new QTabWidget, "PageControl1");
    // Standard grey tabs with black captions over pages in the window's blue.
    QPalette tabs = PageControl1->tabBar()->palette();
    tabs.setColor(QPalette::WindowText, Qt::black);
    tabs.setColor(QPalette::Window, QColor(240, 240, 240));
    PageControl1->tabBar()->setPalette(tabs);
    layout->addWidget(PageControl1);

    // Network settings
    auto *TabSheet1 = tabSheet("TabSheet1");
    auto *network = new QVBoxLayout(TabSheet1);

    GroupBox1 = frame("GroupBox1", QStringLiteral(
        "Please select the device corresponding to your Direcway connection from the list bellow"));
    ListBox1 = named(new QListWidget, "ListBox1");
    ListBox1->setMinimumHeight(56);
    ListBox1->setMaximumHeight(84);
    (new QVBoxLayout(GroupBox1))->addWidget(ListBox1);
    network->addWidget(GroupBox1);

    GroupBox2 = frame("GroupBox2", QStringLiteral("IP Address in your LAN"));
    ListBox2 = addressList("ListBox2");
    BitBtn1 = button("BitBtn1", QStringLiteral("Ad new IP"), QStyle::SP_DialogOkButton);
    BitBtn2 = button("BitBtn2", QStringLiteral("Delete selected IP"), QStyle::SP_DialogCancelButton);
    QVBoxLayout *lanInputs = addressFrame(
        GroupBox2, ListBox2,
        addressRow(label("Label4", QStringLiteral("Add new IP")), lanBoxes, {"Edit1", "Edit2", "Edit3", "Edit4"}),
        BitBtn1, BitBtn2);
    CheckBox5 = named(new QCheckBox(QStringLiteral("Use all 192.168.*.* IPs as LAN")), "CheckBox5");
    lanInputs->addWidget(CheckBox5);
    Button4 = button("Button4", QStringLiteral("See my public IP"));
    BitBtn5 = button("BitBtn5", QStringLiteral("Ad my public IP"), QStyle::SP_DialogOkButton);
    lanInputs->addLayout(buttonRow({Button4, BitBtn5}));
    network->addWidget(GroupBox2);

    GroupBox4 = frame("GroupBox4", QStringLiteral(
        "IP Adresses to exclude from count( eg. www.direcway.example - 203.0.113.10 )"));
    ListBox3 = addressList("ListBox3");
    BitBtn3 = button("BitBtn3", QStringLiteral("Ad new IP"), QStyle::SP_DialogOkButton);
    BitBtn4 = button("BitBtn4", QStringLiteral("Delete selected IP"), QStyle::SP_DialogCancelButton);
    addressFrame(GroupBox4, ListBox3,
                 addressRow(label("Label1", QStringLiteral("Add new IP")), ignoredBoxes, {"Edit7", "Edit8", "Edit9", "Edit10"}),
                 BitBtn3, BitBtn4)
        ->addStretch();
    network->addWidget(GroupBox4);
    PageControl1->addTab(TabSheet1, QStringLiteral("Network settings"));

    // Direcway settings
    auto *TabSheet2 = tabSheet("TabSheet2");
    auto *direcway = new QVBoxLayout(TabSheet2);

    GroupBox3 = frame("GroupBox3", QStringLiteral("Auto fill from plan ( please select plan from list bellow )"));
    ComboBox1 = named(new QComboBox, "ComboBox1"); // a choice among the rows only
    (new QVBoxLayout(GroupBox3))->addWidget(ComboBox1);
    direcway->addWidget(GroupBox3);

    auto *limitsPanel = whitePanel();
    auto *limits = fieldGrid(limitsPanel);
    Edit5 = edit("Edit5");
    addField(limits, label("Label2", QStringLiteral("FAP recharge rate in KB/s:")), Edit5);
    Edit6 = edit("Edit6");
    addField(limits, label("Label3", QStringLiteral("Cut off limit in MB")), Edit6);
    Edit16 = edit("Edit16");
    addField(limits, label("Label12", QStringLiteral("Throttle limit in MB")), Edit16);
    Edit11 = edit("Edit11");
    Button3 = button("Button3", QStringLiteral("max"));
    addField(limits, label("Label5", QStringLiteral("Cumulative download in MB")), Edit11, Button3);
    direcway->addWidget(limitsPanel);

    // CheckBox6 lies on GroupBox7's top edge in place of a caption, outside the group so that
    // disabling the group leaves the box usable.
    auto *offPeak = new QWidget;
    CheckBox6 = named(new QCheckBox(QStringLiteral("Off peak settings ( US only ). Check this box to use."), offPeak),
                      "CheckBox6");
    // Painted in the window's blue, so the frame's line does not run through the caption.
    CheckBox6->setBackgroundRole(QPalette::Window);
    CheckBox6->setAutoFillBackground(true);
    CheckBox6->move(10, 0);
    CheckBox6->resize(CheckBox6->sizeHint());
    auto *offPeakLayout = new QVBoxLayout(offPeak);
    offPeakLayout->setContentsMargins(0, CheckBox6->sizeHint().height() / 2, 0, 0);
    GroupBox7 = frame("GroupBox7", QString());
    offPeakLayout->addWidget(GroupBox7);
    auto *offPeakPanel = whitePanel();
    auto *groupLayout = new QVBoxLayout(GroupBox7);
    groupLayout->setContentsMargins(8, CheckBox6->sizeHint().height() / 2 + 6, 8, 8);
    groupLayout->addWidget(offPeakPanel);
    auto *offPeakFields = fieldGrid(offPeakPanel);
    Edit17 = edit("Edit17");
    addField(offPeakFields, label("Label13", QStringLiteral("Off peak cut off limit in MB")), Edit17);
    DateTimePicker1 = timePicker("DateTimePicker1");
    addField(offPeakFields, label("Label14", QStringLiteral("Off peak start time")), DateTimePicker1);
    DateTimePicker2 = timePicker("DateTimePicker2");
    addField(offPeakFields, label("Label15", QStringLiteral("Off peak end time")), DateTimePicker2);
    CheckBox6->raise();
    direcway->addWidget(offPeak);
    direcway->addStretch();
    PageControl1->addTab(TabSheet2, QStringLiteral("Direcway settings"));

    // Cosmetic and others
    auto *TabSheet3 = tabSheet("TabSheet3");
    auto *cosmetic = new QVBoxLayout(TabSheet3);

    auto *GroupBox5 = frame("GroupBox5", QStringLiteral("Ping settings"));
    auto *pingPanel = whitePanel();
    (new QVBoxLayout(GroupBox5))->addWidget(pingPanel);
    auto *ping = fieldGrid(pingPanel);
    Edit12 = edit("Edit12");
    addField(ping, label("Label6", QStringLiteral("Reference URL ( ie. ") + AppSettings::defaultPingHost + QStringLiteral(" )")),
             Edit12);
    Edit13 = edit("Edit13");
    addField(ping, label("Label7", QStringLiteral("Timeout ( sec )")), Edit13);
    Edit14 = edit("Edit14");
    addField(ping, label("Label8", QStringLiteral("TTL ( ping packet time to live )")), Edit14);
    Edit15 = edit("Edit15");
    addField(ping, label("Label9", QStringLiteral("Packet size")), Edit15);
    cosmetic->addWidget(GroupBox5);

    auto *GroupBox6 = frame("GroupBox6",
                            QStringLiteral("Window transparence ( only works on systems newer than Windows 2000 )"));
    auto *opacity = new QGridLayout(GroupBox6);
    TrackBar1 = named(new QSlider(Qt::Horizontal), "TrackBar1");
    TrackBar1->setRange(0, 255);
    TrackBar1->setTickInterval(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    opacity->addWidget(TrackBar1, 0, 0, 1, 2);
    opacity->addWidget(label("Label10", QStringLiteral("Transparent")), 1, 0, Qt::AlignLeft);
    opacity->addWidget(label("Label11", QStringLiteral("Opaque")), 1, 1, Qt::AlignRight);
    cosmetic->addWidget(GroupBox6);

    auto *trayAndChart = new QHBoxLayout;
    auto *RadioGroup1 = frame("RadioGroup1", QStringLiteral("Tray bar icon"));
    auto *tray = new QVBoxLayout(RadioGroup1);
    RadioButton1 = named(new QRadioButton(QStringLiteral("Graphic")), "RadioButton1");
    RadioButton2 = named(new QRadioButton(QStringLiteral("Text")), "RadioButton2");
    tray->addWidget(RadioButton1);
    tray->addWidget(RadioButton2);
    trayAndChart->addWidget(RadioGroup1);

    auto *GroupBox8 = frame("GroupBox8", QStringLiteral("Traffic chart"));
    auto *chartPanel = whitePanel();
    (new QVBoxLayout(GroupBox8))->addWidget(chartPanel);
    auto *chart = fieldGrid(chartPanel);
    CSpinEdit1 = named(new LenientSpinBox, "CSpinEdit1");
    addField(chart, label("Label16", QStringLiteral("History length ( sec )")), CSpinEdit1);
    CheckBox7 = named(new QCheckBox(QStringLiteral("Auto scale Y axis")), "CheckBox7");
    chart->addWidget(CheckBox7, chart->rowCount(), 0, 1, 2);
    trayAndChart->addWidget(GroupBox8, 1);
    cosmetic->addLayout(trayAndChart);

    auto *flags = new QHBoxLayout;
    CheckBox2 = named(new QCheckBox(QStringLiteral("Auto start ( on Windows startup )")), "CheckBox2");
    CheckBox3 = named(new QCheckBox(QStringLiteral("Always on top")), "CheckBox3");
    CheckBox4 = named(new QCheckBox(QStringLiteral("Start minimizred")), "CheckBox4");
    flags->addWidget(CheckBox2);
    flags->addWidget(CheckBox3);
    flags->addWidget(CheckBox4);
    flags->addStretch();
    cosmetic->addLayout(flags);
    cosmetic->addStretch();
    PageControl1->addTab(TabSheet3, QStringLiteral("Cosmetic and others"));

    PageControl1->setCurrentIndex(0);

    // Below the tabs
    auto *bottomRow = new QHBoxLayout;
    CheckBox1 = named(new QCheckBox(QStringLiteral("Always show this window when Tarvo starts")), "CheckBox1");
    bottomRow->addWidget(CheckBox1);
    bottomRow->addStretch();
    Button2 = button("Button2", QStringLiteral("Cancel"));
    Button1 = button("Button1", QStringLiteral("Ok"));
    bottomRow->addWidget(Button2);
    bottomRow->addWidget(Button1);
    layout->addLayout(bottomRow);
}
