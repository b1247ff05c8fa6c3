#include "ui/about/aboutdialog.h"

#include "ui/about/linklabel.h"
#include "ui/common/colours.h"
#include "ui/common/fonts.h"
#include "ui/common/weblinks.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

namespace {

constexpr int titleBaseline = 72;

QLabel *placeLabel(QLabel *label, const QString &name, int left, int top, const QFont &font)
{
    label->setObjectName(name);
    label->setFont(font);
    label->adjustSize();
    label->move(left, top);
    return label;
}

LinkLabel *placeLink(QWidget *parent, const QString &name, const QString &text, int left, int top,
                     const QColor &colour, const QFont &font)
{
    auto *label = new LinkLabel(text, parent);
    QFont underlined = font;
    underlined.setUnderline(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    placeLabel(label, name, left, top, underlined);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(tr("About Tarvo"));
    setModal(false);
    setFixedSize(353, 385);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setFont(Fonts::arialPixels(11));

    const QColor linkBlue(0, 0, 255);
    const QFont linkFont = Fonts::arialPixels(13);
    placeLabel(new QLabel(QStringLiteral("KELMIRA"), this), QStringLiteral("makerLabel"), 16, 32,
               Fonts::arialPixels(16, true));
    QFont title;
    title.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    title.setPixelSize(29);
    title.setWeight(QFont::Black);
    QLabel *titleLabel = placeLabel(new QLabel(QStringLiteral("Tarvo"), this), QStringLiteral("titleLabel"), 40, 40, title);
    // Placed by its baseline, where Arial Black's tall ascent puts it: a substitute with a smaller
    // ascent would otherwise climb into "KELMIRA".
    titleLabel->move(40, titleBaseline - titleLabel->fontMetrics().ascent());
    LinkLabel *productSiteLink = placeLink(this, QStringLiteral("productSiteLink"), tr("Tarvo on the web"),
                                           120, 80, linkBlue, linkFont);
    placeLabel(new QLabel(tr("Version: %1").arg(QStringLiteral(TARVO_VERSION)), this), QStringLiteral("versionLabel"), 16, 96,
               font());

    auto *creditsText = new QPlainTextEdit(this);
    creditsText->setObjectName(QStringLiteral("creditsText"));
    creditsText->setReadOnly(true);
    creditsText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    creditsText->setGeometry(16, 224, 329, 49);
    creditsText->setPlainText(tr(
        "This software makes use of the libpcap packet capture library.\n"
        "Portions of this program are based on the work of others, with our thanks.\n"
        "This program is free software: you may share and change it under the GNU General Public "
        "License, version 3 or any later version. It comes with no warranty."));

    LinkLabel *makerSiteLink = placeLink(this, QStringLiteral("makerSiteLink"),
                                         tr("Internet through satellite from KELMIRA"), 48, 280, linkBlue,
                                         linkFont);
    LinkLabel *softwareSiteLink = placeLink(this, QStringLiteral("softwareSiteLink"), tr("Kelmira Software"),
                                            128, 304, linkBlue, linkFont);

    auto *bottomBand = new QWidget(this);
    bottomBand->setObjectName(QStringLiteral("bottomBand"));
    bottomBand->setGeometry(0, height() - 58, width(), 58);
    bottomBand->setAutoFillBackground(true);
    QPalette band = bottomBand->palette();
    band.setColor(QPalette::Window, Colours::darkBlue);
    bottomBand->setPalette(band);
    LinkLabel *copyrightLink = placeLink(bottomBand, QStringLiteral("copyrightLink"),
                                         tr("Copyright (C) Kelmira Software. GNU GPL 3 or later."), 64, 3,
                                         Qt::white, font());

    auto *okButton = new QPushButton(tr("OK"), bottomBand);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setGeometry(271, 24, 75, 25);
    okButton->setDefault(true);
    okButton->setAutoDefault(true);

    connect(copyrightLink, &LinkLabel::clicked, this, [] { WebLinks::open(WebLinks::softwareSite()); });
    connect(makerSiteLink, &LinkLabel::clicked, this, [] { WebLinks::open(WebLinks::makerSite()); });
    connect(productSiteLink, &LinkLabel::clicked, this, [] { WebLinks::open(WebLinks::productSite()); });
    connect(softwareSiteLink, &LinkLabel::clicked, this, [] { WebLinks::open(WebLinks::softwareSite()); });
    connect(okButton, &QPushButton::clicked, this, &QWidget::hide);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
