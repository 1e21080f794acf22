// Baseline for the start-up benchmark: the least a Qt main window costs to become
// visible (a menu bar with a few menus, a status bar, the main window's size and
// place), so the real program's start-up is read as a ratio to it.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare Qt main window"));
    window.move(190, 106);
    window.resize(691, 513);
    for (const char* title : {"Settings", "Symbology", "Help"}) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        menu->addAction(QStringLiteral("Item"));
    }
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.show();
    return QApplication::exec();
}
