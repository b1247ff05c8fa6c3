#include "ui/update/updateofferwindow.h"

#include "ui/common/colours.h"
#include "ui/common/fonts.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

// The page came over plain http: it may load no images or style sheets from anywhere, local
// files included (the document's own fallback would read them), and its links lead nowhere.
class OfflineDocument : public QTextDocument
{
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int, const QUrl &) override { return {}; }
};

QTextBrowser *offlinePageView()
{
    auto *view = new QTextBrowser;
    view->setDocument(new OfflineDocument(view));
    view->setOpenLinks(false);
    return view;
}

void fill(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

int progressValue(qint64 bytes)
{
    return int(std::clamp<qint64>(bytes, 0, std::numeric_limits<int>::max()));
}

} // namespace

UpdateOfferWindow::UpdateOfferWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("updateOfferWindow"));
    setFont(Fonts::arialPixels(11));
    resize(493, 440);
}

void UpdateOfferWindow::build(const QString &productName)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    banner = new QLabel(QStringLiteral("   ") + productName);
    QFont bannerFont;
    bannerFont.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans")});
    bannerFont.setPointSize(16);
    bannerFont.setWeight(QFont::Black);
    banner->setFont(bannerFont);
    fill(banner, Colours::darkBlue);
    setTextColour(banner, Qt::white);
    layout->addWidget(banner);

    pageView = offlinePageView();
    layout->addWidget(pageView, 1);

    progressArea = new QWidget;
    fill(progressArea, Qt::white);
    auto *progressLayout = new QVBoxLayout(progressArea);
    progressLayout->setContentsMargins(0, 0, 0, 0);
    progressLayout->setSpacing(0);
    progressBar = new QProgressBar;
    progressBar->setFixedHeight(20);
    progressBar->setTextVisible(false);
    progressLayout->addWidget(progressBar);
    progressLabel = new QLabel;
    progressLabel->setFont(Fonts::arialPoints(10));
    progressLabel->setAlignment(Qt::AlignCenter);
    progressLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    fill(progressLabel, Colours::darkBlue);
    setTextColour(progressLabel, Qt::white);
    progressLayout->addWidget(progressLabel);
    progressArea->hide();
    layout->addWidget(progressArea);

    buttonBar = new QWidget;
    fill(buttonBar, Colours::darkBlue);
    const auto button = [this](const QString &caption, int left, int width) {
        auto *created = new QPushButton(caption, buttonBar);
        created->setGeometry(left, 0, width, 25);
        return created;
    };
    updateNowButton = button(QStringLiteral("Update Now!"), 56, 83);
    remindButton = button(QStringLiteral("Remind me in 5 days"), 144, 139);
    neverRemindButton = button(QStringLiteral("Never remind me about updates again"), 288, 195);
    buttonBar->setFixedHeight(25);
    layout->addWidget(buttonBar);

    connect(updateNowButton, &QPushButton::clicked, this, &UpdateOfferWindow::startDownload);
    connect(remindButton, &QPushButton::clicked, this, &UpdateOfferWindow::remindLaterRequested);
    connect(neverRemindButton, &QPushButton::clicked, this, &UpdateOfferWindow::neverRemindRequested);
}

void UpdateOfferWindow::showOffer(const QString &productName, const QString &page)
{
    if (!banner)
        build(productName);
    if (Qt::mightBeRichText(page))
        pageView->setHtml(page);
    else
        pageView->setPlainText(page);
    resize(500, 300);
    setWindowTitle(QStringLiteral("New version available"));
    fill(this, Colours::darkBlue);
    setWindowModality(Qt::ApplicationModal);
    show();
}

void UpdateOfferWindow::showProgress(qint64 received, qint64 announced)
{
    progressBar->setMaximum(progressValue(announced));
    progressBar->setValue(progressValue(received));
    progressLabel->setText(QStringLiteral("Got %1 bytes of %2 total").arg(received).arg(announced));
}

void UpdateOfferWindow::startDownload()
{
    setWindowTitle(QStringLiteral("Please wait... downloading your update!"));
    progressArea->show();
    buttonBar->hide();
    Q_EMIT downloadRequested();
}

void UpdateOfferWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    Q_EMIT closed();
}
