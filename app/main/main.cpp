#include "app/DMEnvironment.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // First module in, last one out: reads the settings, installs the
    // language file, and writes the settings back when main returns.
    TDMEnvironment environment;
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Tuvanta"));
    w.resize(800, 600);
    w.show();
    return app.exec();
}
