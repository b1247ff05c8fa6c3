#pragma once

#include <QDialog>

class LinkLabel;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The about window: not modal; "OK" or the frame hides it, and opened again it is the same
// window.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);

    QLabel *titleLabel = nullptr;   // "Tarvo"
    QLabel *makerLabel = nullptr;   // "KELMIRA"
    QLabel *versionLabel = nullptr;
    LinkLabel *productSiteLink = nullptr;
    LinkLabel *makerSiteLink = nullptr;
    LinkLabel *softwareSiteLink = nullptr;
    LinkLabel *copyrightLink = nullptr; // on the blue band, to the software site
    QPlainTextEdit *creditsText = nullptr;
    QWidget *bottomBand = nullptr;
    QPushButton *okButton = nullptr;
};
