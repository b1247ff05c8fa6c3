#include "ui/update/updateofferwindow.h"

#include "ui/common/colours.h"
#include "ui/common/fonts.h"

#include <QCloseEvent>
#include <QDir>
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
    : QWidget(parent, Qt::Dialog) // a dialog-type window stays above the window it belongs to
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

    auto *banner = new QLabel(QStringLiteral("   ") + productName);
    banner->setObjectName(QStringLiteral("banner"));
    QFont bannerFont;
    bannerFont.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans")});
    bannerFont.setPointSize(16);
    bannerFont.setWeight(QFont::Black);
    banner->setFont(bannerFont);
    fill(banner, Colours::darkBlue);
    setTextColour(banner, Qt::white);
    layout->addWidget(banner);

    m_pageView = offlinePageView();
    m_pageView->setObjectName(QStringLiteral("pageView"));
    layout->addWidget(m_pageView, 1);

    // What "Update Now!" does on this system, said before it is pressed.
    auto *openNote = new QLabel(tr(
        "\"Update Now!\" downloads the new version, closes %1 and opens the downloaded file with the "
        "program your desktop uses for such files.").arg(productName));
    openNote->setObjectName(QStringLiteral("openNote"));
    openNote->setWordWrap(true);
    openNote->setMargin(4);
    fill(openNote, Colours::darkBlue);
    setTextColour(openNote, Qt::white);
    layout->addWidget(openNote);

    m_progressArea = new QWidget;
    m_progressArea->setObjectName(QStringLiteral("progressArea"));
    fill(m_progressArea, Qt::white);
    auto *progressLayout = new QVBoxLayout(m_progressArea);
    progressLayout->setContentsMargins(0, 0, 0, 0);
    progressLayout->setSpacing(0);
    m_progressBar = new QProgressBar;
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setFixedHeight(20);
    m_progressBar->setTextVisible(false);
    progressLayout->addWidget(m_progressBar);
    m_progressLabel = new QLabel;
    m_progressLabel->setObjectName(QStringLiteral("progressLabel"));
    m_progressLabel->setFont(Fonts::arialPoints(10));
    m_progressLabel->setAlignment(Qt::AlignCenter);
    m_progressLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    fill(m_progressLabel, Colours::darkBlue);
    setTextColour(m_progressLabel, Qt::white);
    progressLayout->addWidget(m_progressLabel);
    m_progressArea->hide();
    layout->addWidget(m_progressArea);

    m_buttonBar = new QWidget;
    m_buttonBar->setObjectName(QStringLiteral("buttonBar"));
    fill(m_buttonBar, Colours::darkBlue);
    const auto button = [this](const char *name, const QString &caption, int left, int width) {
        auto *created = new QPushButton(caption, m_buttonBar);
        created->setObjectName(QString::fromLatin1(name));
        created->setGeometry(left, 0, width, 25);
        return created;
    };
    QPushButton *updateNowButton = button("updateNowButton", tr("Update Now!"), 56, 83);
    QPushButton *remindButton = button("remindButton", tr("Remind me in 5 days"), 144, 139);
    QPushButton *neverRemindButton =
        button("neverRemindButton", tr("Never remind me about updates again"), 288, 195);
    m_buttonBar->setFixedHeight(25);
    layout->addWidget(m_buttonBar);

    connect(updateNowButton, &QPushButton::clicked, this, &UpdateOfferWindow::startDownload);
    connect(remindButton, &QPushButton::clicked, this, &UpdateOfferWindow::remindLaterRequested);
    connect(neverRemindButton, &QPushButton::clicked, this, &UpdateOfferWindow::neverRemindRequested);
}

void UpdateOfferWindow::showOffer(const QString &productName, const QString &page)
{
    if (!m_pageView)
        build(productName);
    if (Qt::mightBeRichText(page))
        m_pageView->setHtml(page);
    else
        m_pageView->setPlainText(page);
    resize(500, 300);
    setWindowTitle(tr("New version available"));
    fill(this, Colours::darkBlue);
    setWindowModality(Qt::ApplicationModal);
    show();
}

void UpdateOfferWindow::showProgress(qint64 received, qint64 announced)
{
    m_progressBar->setMaximum(progressValue(announced));
    m_progressBar->setValue(progressValue(received));
    m_progressLabel->setText(tr("Got %1 bytes of %2 total").arg(received).arg(announced));
}

void UpdateOfferWindow::showUnverified(const QString &path)
{
    m_progressLabel->setWordWrap(true);
    m_progressLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    m_progressLabel->setText(tr("The download could not be verified, so it was not opened. "
                                            "It is kept as %1")
                                 .arg(QDir::toNativeSeparators(path)));
}

void UpdateOfferWindow::startDownload()
{
    setWindowTitle(tr("Please wait... downloading your update!"));
    m_progressArea->show();
    m_buttonBar->hide();
    Q_EMIT downloadRequested();
}

void UpdateOfferWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    Q_EMIT closed();
}
