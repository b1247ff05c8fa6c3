#include "platform/errorhandler.h"

#include "platform/dialogs.h"

void ErrorHandler::show(QWidget *parent, const std::exception &error)
{
    Dialogs::ask(parent, Dialogs::Request{QStringLiteral("Tarvo"), QString::fromUtf8(error.what()), QMessageBox::Ok,
                                          QMessageBox::Critical});
}
