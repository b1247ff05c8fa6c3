#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// Every modal message box of the program goes through here, so a test can answer it without a
// person: with a handler installed, no box is shown and the handler's answer is returned.
namespace Dialogs {

struct Request
{
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

using Handler = std::function<QMessageBox::StandardButton(const Request &)>;

// Installs (or, with an empty handler, removes) the answerer; returns the previous one.
Handler setHandler(Handler handler);

QMessageBox::StandardButton ask(QWidget *parent, const Request &request);

// The program's own check messages: OK button only, empty title.
void inform(QWidget *parent, const QString &text);

} // namespace Dialogs
