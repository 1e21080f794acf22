// Program entry: the application with its title, the main window, the event loop.
#include <QApplication>

#include "mainform.h"
#include "platform/notices.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(platform::kApplicationTitle);
    Tmainfm window;
    window.show();
    return QApplication::exec();
}
