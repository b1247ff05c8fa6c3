#include "ui/options/cosmetictab.h"

#include "settings/appsettings.h"
#include "settings/optionvalues.h"
#include "ui/options/lenientspinbox.h"
#include "ui/options/optionsform.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

using namespace OptionsForm;

CosmeticTab::CosmeticTab()
{
    paintAsTabSheet(this, "cosmeticTab");
    auto *cosmetic = new QVBoxLayout(this);

    auto *pingGroup = frame("pingGroup", tr("Ping settings"));
    auto *pingPanel = whitePanel();
    (new QVBoxLayout(pingGroup))->addWidget(pingPanel);
    auto *ping = fieldGrid(pingPanel);
    m_pingHostEdit = edit("pingHostEdit");
    addField(ping,
             new QLabel(tr("Reference URL ( ie. %1 )").arg(AppSettings::defaultPingHost)),
             m_pingHostEdit);
    m_pingTimeoutEdit = edit("pingTimeoutEdit");
    addField(ping, new QLabel(tr("Timeout ( sec )")), m_pingTimeoutEdit);
    m_pingTtlEdit = edit("pingTtlEdit");
    addField(ping, new QLabel(tr("TTL ( ping packet time to live )")), m_pingTtlEdit);
    m_pingPacketSizeEdit = edit("pingPacketSizeEdit");
    addField(ping, new QLabel(tr("Packet size")), m_pingPacketSizeEdit);
    cosmetic->addWidget(pingGroup);

    auto *opacityGroup = frame("opacityGroup",
                               tr("Window transparency ( needs a desktop that composites its windows )"));
    auto *opacity = new QGridLayout(opacityGroup);
    m_opacitySlider = named(new QSlider(Qt::Horizontal), "opacitySlider");
    m_opacitySlider->setRange(0, 255);
    m_opacitySlider->setTickInterval(1);
    m_opacitySlider->setTickPosition(QSlider::TicksBelow);
    opacity->addWidget(m_opacitySlider, 0, 0, 1, 2);
    opacity->addWidget(new QLabel(tr("Transparent")), 1, 0, Qt::AlignLeft);
    opacity->addWidget(new QLabel(tr("Opaque")), 1, 1, Qt::AlignRight);
    cosmetic->addWidget(opacityGroup);

    auto *trayAndChart = new QHBoxLayout;
    auto *trayStyleGroup = frame("trayStyleGroup", tr("Tray bar icon"));
    auto *tray = new QVBoxLayout(trayStyleGroup);
    m_graphicTrayRadio = named(new QRadioButton(tr("Graphic")), "graphicTrayRadio");
    m_textTrayRadio = named(new QRadioButton(tr("Text")), "textTrayRadio");
    tray->addWidget(m_graphicTrayRadio);
    tray->addWidget(m_textTrayRadio);
    trayAndChart->addWidget(trayStyleGroup);

    auto *chartGroup = frame("chartGroup", tr("Traffic chart"));
    auto *chartPanel = whitePanel();
    (new QVBoxLayout(chartGroup))->addWidget(chartPanel);
    auto *chart = fieldGrid(chartPanel);
    m_chartHistorySpin = named(new LenientSpinBox, "chartHistorySpin");
    addField(chart, new QLabel(tr("History length ( sec )")), m_chartHistorySpin);
    m_chartAutoScaleCheck = named(new QCheckBox(tr("Auto scale Y axis")), "chartAutoScaleCheck");
    chart->addWidget(m_chartAutoScaleCheck, chart->rowCount(), 0, 1, 2);
    trayAndChart->addWidget(chartGroup, 1);
    cosmetic->addLayout(trayAndChart);

    auto *flags = new QHBoxLayout;
    m_autoStartCheck = named(new QCheckBox(tr("Start Tarvo when I log in")), "autoStartCheck");
    m_alwaysOnTopCheck = named(new QCheckBox(tr("Always on top")), "alwaysOnTopCheck");
    m_startMinimizedCheck = named(new QCheckBox(tr("Start minimized")), "startMinimizedCheck");
    flags->addWidget(m_autoStartCheck);
    flags->addWidget(m_alwaysOnTopCheck);
    flags->addWidget(m_startMinimizedCheck);
    flags->addStretch();
    cosmetic->addLayout(flags);
    cosmetic->addStretch();
}

void CosmeticTab::showSettings(const AppSettings &settings)
{
    m_pingHostEdit->setText(settings.pingHost);
    m_pingTimeoutEdit->setText(QString::number(settings.pingTimeoutMs / 1000));
    m_pingTtlEdit->setText(QString::number(settings.pingTtl));
    m_pingPacketSizeEdit->setText(QString::number(settings.pingPacketSize));
    m_opacitySlider->setValue(settings.windowOpacity);
    m_graphicTrayRadio->setChecked(settings.trayStyle == TrayStyle::Graphic);
    m_textTrayRadio->setChecked(settings.trayStyle == TrayStyle::Text);
    m_chartHistorySpin->setValue(settings.chartHistorySeconds);
    m_chartAutoScaleCheck->setChecked(settings.chartAutoScale);
    m_autoStartCheck->setChecked(settings.autoStart);
    m_alwaysOnTopCheck->setChecked(settings.alwaysOnTop);
    m_startMinimizedCheck->setChecked(settings.startMinimized);
}

void CosmeticTab::setAlwaysOnTopChecked(bool alwaysOnTop)
{
    m_alwaysOnTopCheck->setChecked(alwaysOnTop);
}

void CosmeticTab::numberTexts(OptionTexts &texts) const
{
    texts.pingHost = m_pingHostEdit->text();
    texts.pingTimeout = m_pingTimeoutEdit->text();
    texts.pingTtl = m_pingTtlEdit->text();
    texts.pingPacketSize = m_pingPacketSizeEdit->text();
    texts.chartHistory = m_chartHistorySpin->text();
}

void CosmeticTab::takeSettings(AppSettings &settings)
{
    m_chartHistorySpin->setValue(settings.chartHistorySeconds);
    settings.chartAutoScale = m_chartAutoScaleCheck->isChecked();
    settings.alwaysOnTop = m_alwaysOnTopCheck->isChecked();
    settings.autoStart = m_autoStartCheck->isChecked();
    settings.windowOpacity = m_opacitySlider->value();
    settings.startMinimized = m_startMinimizedCheck->isChecked();
    settings.trayStyle = m_graphicTrayRadio->isChecked() ? TrayStyle::Graphic : TrayStyle::Text;
}
