#include "app/cli/Cli.h"
#include "app/cli/CliCommand.h"
#include "params/RPUserParameter.h"
#include "sysanalysis/FMBodePlot.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

namespace {

QtMessageHandler qtHandler = nullptr;

// Drawing without a display makes Qt warn about the platform (no runtime
// folder in a cron job or a container, no window raising on the offscreen
// plug-in); scripts capture the error output, and only the program's own
// lines belong there.
void QuietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtCriticalMsg && type != QtFatalMsg
        && (text.startsWith(QLatin1String("QStandardPaths: ")) || text.startsWith(QLatin1String("This plugin does not support "))))
        return;
    qtHandler(type, context, text);
}

} // namespace

int main(int argc, char **argv)
{
    qtHandler = qInstallMessageHandler(QuietPlatform);
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
