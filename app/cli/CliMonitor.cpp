#include "app/cli/Cli.h"
#include "app/cli/CliCommand.h"
#include "app/cli/CliSession.h"
#include "monitor/DMMonitor.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

namespace {

int RunMonitor(TCliRun &run)
{
    int axis = 0;
    if (run.args.size() != 1 || !TCliRun::ParseAxis(run.args[0], axis))
        return run.Usage(QStringLiteral("monitor needs one axis 1 to F"));
    bool ok = true;
    const int count = run.Value(QStringLiteral("count"), QStringLiteral("1")).toInt(&ok);
    if (!ok || count < 1)
        return run.Usage(QStringLiteral("--count takes a number of refreshes from 1"));
    const int interval = run.Value(QStringLiteral("interval"), QStringLiteral("200")).toInt(&ok);
    if (!ok || interval < 0 || interval > 3600000)
        return run.Usage(QStringLiteral("--interval takes milliseconds from 0"));
    const bool json = run.Has(QStringLiteral("json"));

    int status = 0;
    std::unique_ptr<TCliSession> session = run.Open(axis, status);
    if (!session)
        return status;
    TDMMonitor dm(*session->ctx);
    if (!dm.OpenTables()) {
        run.err << "tuvanta-cli: the monitor tables could not be loaded\n";
        return TCli::ExitNoDatabase;
    }
    if (!dm.ReadDecimals(axis))
        return session->Failed();

    QElapsedTimer clock;
    for (int refresh = 1; refresh <= count; ++refresh) {
        clock.start();
        if (!dm.ReadValues(axis, refresh == 1))
            return session->Failed();
        if (json) {
            QJsonArray rows;
            for (int r = 0; r < dm.RowCount(); ++r)
                rows.append(QJsonObject{{QStringLiteral("page"), dm.CellText(r, TDMMonitor::colPage)},
                                        {QStringLiteral("symbol"), dm.CellText(r, TDMMonitor::colSymbol)},
                                        {QStringLiteral("value"), dm.CellText(r, TDMMonitor::colNow)},
                                        {QStringLiteral("unit"), dm.CellText(r, TDMMonitor::colUnit)}});
            const QJsonObject block{{QStringLiteral("axis"), axis}, {QStringLiteral("refresh"), refresh},
                                    {QStringLiteral("rows"), rows}};
            run.out << QJsonDocument(block).toJson(QJsonDocument::Compact) << "\n";
        } else {
            if (refresh > 1)
                run.out << "\n";
            for (int r = 0; r < dm.RowCount(); ++r)
                run.out << dm.CellText(r, TDMMonitor::colPage) << '\t' << dm.CellText(r, TDMMonitor::colSymbol)
                        << '\t' << dm.CellText(r, TDMMonitor::colNow) << '\t' << dm.CellText(r, TDMMonitor::colUnit)
                        << "\n";
        }
        run.out.flush();
        if (refresh < count && clock.elapsed() < interval)
            QThread::msleep(unsigned(interval - clock.elapsed()));
    }
    return TCli::ExitOk;
}

} // namespace

TCliCommand CliMonitor()
{
    return {QStringLiteral("monitor"),
            QStringLiteral("  monitor AXIS [--count N] [--interval MS] [--json]\n"
                           "                      the displayed monitor items of the axis (page, symbol, value,\n"
                           "                      unit; tab separated, one block per refresh; --json: one\n"
                           "                      object per refresh); N refreshes (1), MS apart (200)\n"),
            {{QStringLiteral("count"), true}, {QStringLiteral("interval"), true}, {QStringLiteral("json"), false}},
            false,
            RunMonitor};
}
