#pragma once

#include <QDialog>
#include <QLabel>

class QPlainTextEdit;
class QPushButton;

// A label that opens a page when clicked, with the hand cursor links have.
class TLinkLabel : public QLabel
{
    Q_OBJECT

public:
    TLinkLabel(const QString &text, QWidget *parent);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// The about window: not modal; "OK" or the frame hides it, and opened again it is the same
// window.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    TLinkLabel *Label5 = nullptr;
    TLinkLabel *Label6 = nullptr;
    TLinkLabel *Label7 = nullptr;
    TLinkLabel *Label8 = nullptr;
    QPlainTextEdit *Memo2 = nullptr;
    QWidget *Panel2 = nullptr;
    QPushButton *OKButton = nullptr;

public Q_SLOTS:
    void Label5Click();
    void Label6Click();
    void Label7Click();
    void Label8Click();
    void OKButtonClick();
};
