#include "monitor/aboutunit.h"

#include "monitor/colours.h"
#include "monitor/fonts.h"
#include "monitor/weblinks.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

namespace {

QLabel *placeLabel(QLabel *label, const QString &name, int left, int top, const QFont &font)
{
    label->setObjectName(name);
    label->setFont(font);
    label->adjustSize();
    label->move(left, top);
    return label;
}

TLinkLabel *placeLink(QWidget *parent, const QString &name, const QString &text, int left, int top,
                      const QColor &colour, const QFont &font)
{
    auto *label = new TLinkLabel(text, parent);
    QFont underlined = font;
    underlined.setUnderline(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    placeLabel(label, name, left, top, underlined);
    return label;
}

} // namespace

TLinkLabel::TLinkLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Tarvo"));
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
    Label2 = placeLabel(new QLabel(QStringLiteral("KELMIRA"), this), QStringLiteral("Label2"), 16, 32,
                        Fonts::arialPixels(16, true));
    QFont title;
    title.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    title.setPixelSize(29);
    title.setWeight(QFont::Black);
    Label1 = placeLabel(new QLabel(QStringLiteral("Tarvo"), this), QStringLiteral("Label1"), 40, 40, title);
    Label7 = placeLink(this, QStringLiteral("Label7"), QStringLiteral("Tarvo on the web"), 120, 80, linkBlue, linkFont);
    Label3 = placeLabel(new QLabel(QStringLiteral("Version: 1.11"), this), QStringLiteral("Label3"), 16, 96, font());

    Memo2 = new QPlainTextEdit(this);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setReadOnly(true);
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->setGeometry(16, 224, 329, 49);
    Memo2->setPlainText(QStringLiteral(
        "This software makes use of the libpcap packet capture library.\n"
        "Portions of this program are based on the work of others, with our thanks.\n"
        "Warning: this program is protected by copyright law. Unauthorized reproduction or "
        "distribution of this program, or any portion of it, may result in severe civil and "
        "criminal penalties, and will be prosecuted to the maximum extent possible under the law."));

    Label6 = placeLink(this, QStringLiteral("Label6"), QStringLiteral("Internet trough satellite from KELMIRA"), 48, 280,
                       linkBlue, linkFont);
    Label8 = placeLink(this, QStringLiteral("Label8"), QStringLiteral("Kelmira Software"), 128, 304, linkBlue, linkFont);

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(0, height() - 58, width(), 58);
    Panel2->setAutoFillBackground(true);
    QPalette band = Panel2->palette();
    band.setColor(QPalette::Window, Colours::darkBlue);
    Panel2->setPalette(band);
    Label5 = placeLink(Panel2, QStringLiteral("Label5"), QStringLiteral("Copyright (C) Kelmira Software. All rights reserved."),
                       64, 3, Qt::white, font());

    OKButton = new QPushButton(QStringLiteral("OK"), Panel2);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(271, 24, 75, 25);
    OKButton->setDefault(true);
    OKButton->setAutoDefault(true);

    connect(Label5, &TLinkLabel::clicked, this, &TAboutBox::Label5Click);
    connect(Label6, &TLinkLabel::clicked, this, &TAboutBox::Label6Click);
    connect(Label7, &TLinkLabel::clicked, this, &TAboutBox::Label7Click);
    connect(Label8, &TLinkLabel::clicked, this, &TAboutBox::Label8Click);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TAboutBox::Label5Click() { WebLinks::open(WebLinks::softwareSite()); }
void TAboutBox::Label6Click() { WebLinks::open(WebLinks::makerSite()); }
void TAboutBox::Label7Click() { WebLinks::open(WebLinks::productSite()); }
void TAboutBox::Label8Click() { WebLinks::open(WebLinks::softwareSite()); }
void TAboutBox::OKButtonClick() { hide(); }
