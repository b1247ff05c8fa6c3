// The floor a start of the program is compared with: a Qt Widgets window that is shown, says so
// on standard output and ends.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(320, 200);
    window.show();
    // After the events of the show.
    QTimer::singleShot(0, &app, [] {
        std::puts("shown");
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return QApplication::exec();
}
