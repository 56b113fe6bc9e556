#include "app/mainwindow.h"

#include <csignal>
#include <QApplication>

int main(int argc, char *argv[])
{
    // Past a file-size limit a write must fail (and the old file stay), not
    // end the process half-way.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    MainWindow window;
    // kzconfig PORT: start with PORT chosen (also a path the enumerator does not list).
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        window.selectPort(args.at(1));
    window.show();
    return app.exec();
}
