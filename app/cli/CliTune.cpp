// tuvanta-cli tune notch|frequency AXIS --torque N [--friction N] [--yes]:
// runs an automatic tuning to its end through the tuning windows' module and
// prints the result. The motor moves, so nothing is sent before --yes
// confirms it.
#include "app/Messenger.h"
#include "app/cli/Cli.h"
#include "app/cli/CliCommand.h"
#include "app/cli/CliSession.h"
#include "testrun/DMJog.h"
#include "testrun/DMTuning.h"

#include <QCoreApplication>

namespace {

int Tune(TCliRun &run)
{
    if (run.args.size() != 2)
        return run.Usage(QStringLiteral("tune takes notch|frequency AXIS"));
    const QString kind = run.args[0].toLower();
    if (kind != QLatin1String("notch") && kind != QLatin1String("frequency"))
        return run.Usage(QStringLiteral("tune takes notch or frequency, not \"%1\"").arg(run.args[0]));
    const int type = kind == QLatin1String("notch") ? TDMJog::tyNotchTuning : TDMJog::tyFrequencyTuning;
    int axis = 0;
    if (!TCliRun::ParseAxis(run.args[1], axis) || axis < 1)
        return run.Usage(QStringLiteral("bad axis \"%1\" (one hex digit 1 to F)").arg(run.args[1]));
    TDMTuning::TRunSettings settings;
    qint64 v = 0;
    if (!run.Has(QStringLiteral("torque")) || !TDMJog::ParseWhole(run.Value(QStringLiteral("torque")), v)
        || v < -32768 || v > 32767)
        return run.Usage(QStringLiteral("tune needs --torque N, a whole number"));
    settings.torque = int(v);
    if (run.Has(QStringLiteral("friction"))) {
        if (type != TDMJog::tyFrequencyTuning)
            return run.Usage(QStringLiteral("--friction belongs to the frequency tuning"));
        if (!TDMJog::ParseWhole(run.Value(QStringLiteral("friction")), v) || v < 0 || v > 50)
            return run.Usage(QStringLiteral("--friction takes 0 to 50"));
        settings.friction = int(v);
    }

    int status = TCli::ExitOk;
    auto session = run.Open(axis, status);
    if (!session)
        return status;
    TDMJog jog(*session->ctx);
    jog.OpenTables();
    if (!jog.LocateRow(axis) || !jog.HasCommonArea()) {
        run.err << TDMJog::NotUsableText(type) << "\n";
        return TCli::ExitRefused;
    }
    if (settings.torque < jog.TcmdMin() || settings.torque > jog.TcmdMax())
        return run.Usage(QStringLiteral("--torque takes %1 to %2 on this model").arg(jog.TcmdMin()).arg(jog.TcmdMax()));
    // The motor moves: only with --yes.
    if (!TMessenger::Instance().AskOkCancel(TDMJog::ConfirmText(type), TDMJog::FunctionName(type)))
        return TCli::ExitRefused;

    TDMTuning tuning(*session->ctx, jog);
    int result = 0;
    QString error;
    const bool ok = tuning.RunToEnd(axis, type, settings, &session->progress, [] {
        QCoreApplication::processEvents();
        return true;
    }, result, error);
    if (!ok) {
        run.err << error << "\n";
        // A lost line has its own exit status; the amplifier's refusals and
        // failed tunings are refusals.
        return session->env->AxisInUse(axis) ? TCli::ExitRefused : session->Failed();
    }
    run.out << tuning.ResultName(type) << ": " << result << " " << tuning.ResultUnit(type) << "\n";
    return TCli::ExitOk;
}

} // namespace

TCliCommand CliTuneCommand()
{
    return {QStringLiteral("tune"),
            QStringLiteral("  tune notch|frequency AXIS --torque N [--friction N] [--yes]\n"
                           "                                run the automatic notch-filter or vibration-suppression\n"
                           "                                frequency tuning to its end and print the result;\n"
                           "                                the motor moves, so it needs --yes\n"),
            {{QStringLiteral("torque"), true}, {QStringLiteral("friction"), true}},
            true,
            Tune};
}
