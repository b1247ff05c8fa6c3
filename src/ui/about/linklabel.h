#pragma once

#include <QLabel>

// A label that opens a page when clicked, with the hand cursor links have.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    LinkLabel(const QString &text, QWidget *parent);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
