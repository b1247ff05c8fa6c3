#include "config/optionsform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLineEdit *addressBox(const char *name)
{
    auto *box = named(new QLineEdit, name);
    box->setMaxLength(3);
    box->setFixedWidth(40);
    return box;
}

} // namespace

void OptionsForm::setupUi(QWidget *form)
{
    form->setWindowTitle(QStringLiteral("Tarvo - Options"));
    auto *layout = new QVBoxLayout(form);

    auto *GroupBox1 = named(new QGroupBox(QStringLiteral(
        "Please select the device corresponding to your Direcway connection from the list bellow")), "GroupBox1");
    ListBox1 = named(new QListWidget, "ListBox1");
    (new QVBoxLayout(GroupBox1))->addWidget(ListBox1);
    layout->addWidget(GroupBox1);

    auto *GroupBox2 = named(new QGroupBox(QStringLiteral("IP Address in your LAN")), "GroupBox2");
    auto *lanLayout = new QVBoxLayout(GroupBox2);
    ListBox2 = named(new QListWidget, "ListBox2");
    lanLayout->addWidget(ListBox2);
    auto *boxesRow = new QHBoxLayout;
    boxesRow->addWidget(named(new QLabel(QStringLiteral("Add new IP")), "Label4"));
    const char *boxNames[] = {"Edit1", "Edit2", "Edit3", "Edit4"};
    for (int i = 0; i < 4; ++i) {
        lanBoxes[i] = addressBox(boxNames[i]);
        boxesRow->addWidget(lanBoxes[i]);
    }
    boxesRow->addStretch();
    lanLayout->addLayout(boxesRow);
    auto *buttonsRow = new QHBoxLayout;
    BitBtn1 = named(new QPushButton(QStringLiteral("Ad new IP")), "BitBtn1");
    BitBtn2 = named(new QPushButton(QStringLiteral("Delete selected IP")), "BitBtn2");
    buttonsRow->addWidget(BitBtn1);
    buttonsRow->addWidget(BitBtn2);
    buttonsRow->addStretch();
    lanLayout->addLayout(buttonsRow);
    CheckBox5 = named(new QCheckBox(QStringLiteral("Use all 192.168.*.* IPs as LAN")), "CheckBox5");
    lanLayout->addWidget(CheckBox5);
    layout->addWidget(GroupBox2);

    auto *GroupBox3 = named(
        new QGroupBox(QStringLiteral("Auto fill from plan ( please select plan from list bellow )")), "GroupBox3");
    ComboBox1 = named(new QComboBox, "ComboBox1"); // not editable: a choice among the rows only
    (new QVBoxLayout(GroupBox3))->addWidget(ComboBox1);
    layout->addWidget(GroupBox3);

    auto *limits = new QFormLayout;
    Edit5 = named(new QLineEdit, "Edit5");
    Edit6 = named(new QLineEdit, "Edit6");
    Edit16 = named(new QLineEdit, "Edit16");
    Edit11 = named(new QLineEdit, "Edit11");
    limits->addRow(named(new QLabel(QStringLiteral("FAP recharge rate in KB/s:")), "Label2"), Edit5);
    limits->addRow(named(new QLabel(QStringLiteral("Cut off limit in MB")), "Label3"), Edit6);
    limits->addRow(named(new QLabel(QStringLiteral("Throttle limit in MB")), "Label12"), Edit16);
    limits->addRow(named(new QLabel(QStringLiteral("Cumulative download in MB")), "Label5"), Edit11);
    layout->addLayout(limits);

    auto *bottomRow = new QHBoxLayout;
    bottomRow->addStretch();
    Button2 = named(new QPushButton(QStringLiteral("Cancel")), "Button2");
    Button1 = named(new QPushButton(QStringLiteral("Ok")), "Button1");
    bottomRow->addWidget(Button2);
    bottomRow->addWidget(Button1);
    layout->addLayout(bottomRow);
}
