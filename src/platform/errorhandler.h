#pragma once

#include <exception>

class QWidget;

// The program's error handler: an error that ends an event handler is shown in a message box
// with its text, titled with the program's name, and the program goes on. Every handler that
// can raise one runs through run(), so no exception ever crosses Qt's event loop.
namespace ErrorHandler {

void show(QWidget *parent, const std::exception &error);

template<typename Handler>
void run(QWidget *parent, Handler &&handler) noexcept
{
    try {
        handler();
    } catch (const std::exception &error) {
        show(parent, error);
    }
}

} // namespace ErrorHandler
