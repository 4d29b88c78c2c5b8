// tuvanta-cli report AXIS|FILE.ap0 -o LIST.pdf: the parameter report of an
// amplifier or a parameter file as a PDF, through the general parameter
// window's data module.
#include "app/cli/Cli.h"
#include "app/cli/CliCommand.h"
#include "app/cli/CliSession.h"
#include "params/DMUserParameter.h"

#include <QFileInfo>

namespace {

TCliReportWriter &Writer()
{
    static TCliReportWriter writer;
    return writer;
}

int RunReport(TCliRun &run)
{
    if (run.args.size() != 1)
        return run.Usage(QStringLiteral("report takes AXIS or FILE.ap0"));
    const QString output = run.Value(QStringLiteral("o"));
    if (output.isEmpty())
        return run.Usage(QStringLiteral("report needs -o LIST.pdf"));
    if (!Writer()) {
        run.err << "tuvanta-cli: this build cannot write reports\n";
        return TCli::ExitCannotWrite;
    }
    int axis = 0;
    const bool fromAxis = TCliRun::ParseAxis(run.args[0], axis);
    const QString file = fromAxis ? QString() : run.args[0];
    if (!fromAxis && !QFileInfo(file).isFile()) {
        run.err << "tuvanta-cli: " << file << ": neither an axis (1 to F) nor a parameter file\n";
        return TCli::ExitBadFile;
    }
    int level = dlAdvanced;
    if (run.Has(QStringLiteral("level"))) {
        bool ok = false;
        level = run.Value(QStringLiteral("level")).toInt(&ok);
        if (!ok || level < dlBasic || level > dlService)
            return run.Usage(QStringLiteral("--level takes 0 to 3"));
    }
    int status = 0;
    std::unique_ptr<TCliSession> s = fromAxis ? run.Open(axis, status) : run.OpenDatabase(status);
    if (!s)
        return status;
    s->env->DisplayLevel = level;

    TDMUserParameter dm(*s->intf, *s->dmMain, *s->env, *s->tran);
    dm.SetProgress(&s->progress);
    dm.OpenTables();
    const int source = fromAxis ? axis : 0;
    if (fromAxis) {
        if (!dm.ReadModelTexts(axis) || !dm.ReadFromAmplifier(axis))
            return s->Failed();
    } else if (!dm.LoadFromFile(file)) {
        return TCli::ExitBadFile;
    }
    TParameterReport report;
    if (!dm.PrepareReport(source, file, report))
        return fromAxis ? s->Failed() : TCli::ExitBadFile;
    if (report.empty) {
        run.err << "tuvanta-cli: the definition database has nothing to print for this model\n";
        return TCli::ExitRefused;
    }
    QString error;
    if (!Writer()(report, output, &error)) {
        run.err << "tuvanta-cli: " << output << ": " << error << "\n";
        return TCli::ExitCannotWrite;
    }
    run.err << "wrote the parameter list (" << report.systemRows.size() << " system items, "
            << report.ParameterCount() << " parameters) to " << output << "\n";
    return TCli::ExitOk;
}

} // namespace

void SetCliReportWriter(TCliReportWriter writer)
{
    Writer() = std::move(writer);
}

TCliCommand CliReportCommand()
{
    return {QStringLiteral("report"),
            QStringLiteral("  report AXIS|FILE.ap0 -o LIST.pdf [--level N]\n"
                           "                                 the parameter list as PDF (display level N\n"
                           "                                 0 basic .. 3 service, default 2)\n"),
            {{QStringLiteral("o"), true}, {QStringLiteral("level"), true}},
            false,
            RunReport};
}
