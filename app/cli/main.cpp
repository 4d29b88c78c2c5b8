#include "app/cli/Cli.h"
#include "app/cli/CliCommand.h"
#include "params/RPUserParameter.h"
#include "sysanalysis/FMBodePlot.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    // The engine waits in the event loop, so an application object is
    // needed; drawing a report needs the widgets' one, on any display.
    bool drawing = false;
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "report") == 0 || qstrcmp(argv[i], "--bode") == 0)
            drawing = true;
    std::unique_ptr<QCoreApplication> app;
    if (drawing) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
            && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
        SetCliReportWriter([](const TParameterReport &content, const QString &path, QString *error) {
            TRPUserParameter report;
            report.SetContent(content);
            return report.SavePdf(path, error);
        });
        SetCliBodeWriter(&TFMBodePlot::SavePng);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    return TCli(out, err).Run(app->arguments().mid(1));
}
