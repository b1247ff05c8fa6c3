#include "platform/dialogs.h"

namespace Dialogs {
namespace {
Handler &currentHandler()
{
    static Handler handler;
    return handler;
}
} // namespace

Handler setHandler(Handler handler)
{
    return std::exchange(currentHandler(), std::move(handler));
}

QMessageBox::StandardButton ask(QWidget *parent, const Request &request)
{
    if (const Handler &handler = currentHandler())
        return handler(request);
    QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void inform(QWidget *parent, const QString &text)
{
    ask(parent, Request{QString(), text, QMessageBox::Ok, QMessageBox::NoIcon});
}

} // namespace Dialogs
