#include "app/cli/Cli.h"
#include "app/cli/CliCommand.h"
#include "app/cli/CliSession.h"
#include "monitor/DMAlarm.h"
#include "testrun/DMAdjust.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// alarms AXIS [--json]: the current alarm and the history through the
// alarm window's module. alarm-reset AXIS [--yes]: the reset sequence of
// the one-shot operation window.
namespace {

bool AxisArgument(TCliRun &run, const QString &command, int &axis, int &status)
{
    if (run.args.size() != 1) {
        status = run.Usage(QStringLiteral("%1 takes AXIS").arg(command));
        return false;
    }
    if (!TCliRun::ParseAxis(run.args[0], axis) || axis < 1) {
        status = run.Usage(QStringLiteral("bad axis \"%1\" (one hex digit 1 to F)").arg(run.args[0]));
        return false;
    }
    return true;
}

QJsonObject Entry(const TDMAlarm::TRow &row)
{
    return QJsonObject{{QStringLiteral("code"), row.code},
                       {QStringLiteral("symbol"), row.symbol},
                       {QStringLiteral("name"), row.name},
                       {QStringLiteral("state"), row.state},
                       {QStringLiteral("stateCode"), row.stateCode}};
}

QString Line(const TDMAlarm::TRow &row)
{
    return QStringLiteral("%1  %2  [%3]").arg(row.symbol, row.name, row.state);
}

// Code 0 is no alarm: an empty (cleared) ring entry, or nothing active.
bool IsAlarm(const TDMAlarm::TRow &row)
{
    return row.code > 0;
}

int Alarms(TCliRun &run)
{
    int axis = 0, status = TCli::ExitOk;
    if (!AxisArgument(run, QStringLiteral("alarms"), axis, status))
        return status;
    auto session = run.Open(axis, status);
    if (!session)
        return status;
    TDMAlarm dm(*session->ctx);
    dm.OpenTables();
    if (!dm.ReadAmp(axis))
        return session->Failed();

    if (run.Has(QStringLiteral("json"))) {
        QJsonArray history;
        for (const TDMAlarm::TRow &row : dm.history)
            if (IsAlarm(row))
                history.append(Entry(row));
        QJsonObject current;
        if (IsAlarm(dm.now)) {
            current = Entry(dm.now);
            current.insert(QStringLiteral("elapsed"), dm.elapsed);
        }
        const QJsonObject all{{QStringLiteral("axis"), axis},
                              {QStringLiteral("version"), dm.version},
                              {QStringLiteral("current"), IsAlarm(dm.now) ? QJsonValue(current) : QJsonValue()},
                              {QStringLiteral("history"), history}};
        run.out << QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Indented));
        return TCli::ExitOk;
    }
    run.out << "version: " << dm.version << "\n";
    if (IsAlarm(dm.now))
        run.out << "current: " << Line(dm.now) << "  " << dm.elapsed << "\n";
    else
        run.out << "current: none\n";
    int shown = 0;
    for (int k = 0; k < TDMAlarm::Shown; ++k) {
        const TDMAlarm::TRow &row = dm.history[size_t(k)];
        if (!IsAlarm(row))
            continue;
        run.out << TDMAlarm::HistoryLabel(k) << ": " << Line(row) << "\n";
        ++shown;
    }
    if (shown == 0)
        run.out << "history: empty\n";
    return TCli::ExitOk;
}

int AlarmReset(TCliRun &run)
{
    int axis = 0, status = TCli::ExitOk;
    if (!AxisArgument(run, QStringLiteral("alarm-reset"), axis, status))
        return status;
    auto session = run.Open(axis, status);
    if (!session)
        return status;
    TDMAdjust dm(*session->ctx);
    dm.SetProgress(&session->progress);
    dm.OpenTables();
    QString model;
    if (!dm.ReadModelName(axis, model) && !session->env->AxisInUse(axis))
        return session->Failed();
    switch (dm.Execute(TDMAdjust::atAlarmReset, axis, model)) {
    case TDMAdjust::TOutcome::Succeeded:
        run.out << "alarm reset done\n";
        return TCli::ExitOk;
    case TDMAdjust::TOutcome::CommFailure:
        return session->Failed();
    default:
        // Declined, refused by the amplifier, or failed there.
        return TCli::ExitRefused;
    }
}

} // namespace

TCliCommand CliAlarmsCommand()
{
    return {QStringLiteral("alarms"),
            QStringLiteral("  alarms AXIS [--json]          the current alarm (with the time since it occurred)\n"
                           "                                and the alarm history, newest first\n"),
            {{QStringLiteral("json"), false}},
            false,
            Alarms};
}

TCliCommand CliAlarmResetCommand()
{
    return {QStringLiteral("alarm-reset"),
            QStringLiteral("  alarm-reset AXIS [--yes]      alarm reset; exits 67 when the amplifier refuses\n"),
            {},
            true,
            AlarmReset};
}
