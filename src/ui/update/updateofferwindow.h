#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QTextBrowser;

// The offer of a new version: the product's name as a banner, the server's page about the new
// version, and three answers. "Update Now!" turns the window into the download's progress view;
// the window reports the answers and leaves the work to its owner.
class UpdateOfferWindow : public QWidget
{
    Q_OBJECT

public:
    explicit UpdateOfferWindow(QWidget *parent = nullptr);

    // Builds the controls the first time (the banner keeps that first name), then shows the
    // offer modally and returns at once. The page is shown without following or loading anything.
    void showOffer(const QString &productName, const QString &page);
    // "Got N bytes of M total"; M is 0 when the server announced no length.
    void showProgress(qint64 received, qint64 announced);
    // The download at `path` arrived but could not be verified, so it is not opened.
    void showUnverified(const QString &path);

Q_SIGNALS:
    void downloadRequested(); // after the window has switched to the progress view
    void remindLaterRequested();
    void neverRemindRequested();
    void closed(); // however the window closes

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void build(const QString &productName);
    void startDownload();

    QTextBrowser *m_pageView = nullptr; // null until the first offer builds the controls
    QWidget *m_buttonBar = nullptr;
    QWidget *m_progressArea = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QLabel *m_progressLabel = nullptr;
};
