#include "app/cli/Cli.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char **argv)
{
    // The engine waits in the event loop, so an application object is needed.
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return TCli(out, err).Run(app.arguments().mid(1));
}
