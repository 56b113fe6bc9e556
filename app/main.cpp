#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    MainWindow window;
    // kzconfig PORT: start with PORT chosen (also a path the enumerator does not list).
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        window.selectPort(args.at(1));
    window.show();
    return app.exec();
}
