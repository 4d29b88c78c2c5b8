// tuvanta-cli motor AXIS FILE.mp0 [--yes]: a motor file's parameter set into
// an amplifier, through the motor parameter window's data module.
#include "app/cli/Cli.h"
#include "app/cli/CliCommand.h"
#include "app/cli/CliSession.h"
#include "params/DMMotorParameter.h"
#include "params/MotorFile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

int RunMotor(TCliRun &run)
{
    if (run.args.size() != 2)
        return run.Usage(QStringLiteral("motor takes AXIS FILE.mp0"));
    int axis = 0;
    if (!TCliRun::ParseAxis(run.args[0], axis))
        return run.Usage(QStringLiteral("the axis is one hex digit 1 to F"));
    const QString file = run.args[1];
    TMotorFile motor;
    if (!TMotorFile::Load(file, motor)) {
        run.err << "tuvanta-cli: " << file << ": not a readable motor file\n";
        return TCli::ExitBadFile;
    }
    int status = 0;
    std::unique_ptr<TCliSession> s = run.Open(axis, status);
    if (!s)
        return status;

    TDMMotorParameter dm(*s->intf, *s->dmMain, *s->env, *s->tran);
    dm.SetProgress(&s->progress);
    dm.OpenTables();
    if (!dm.ReadFromAmplifier(axis))
        return s->Failed();
    if (!dm.HasSystemRow()) {
        run.err << "tuvanta-cli: the definition database has no system items for this model\n";
        return TCli::ExitRefused;
    }
    // The module reports a file of another kind through the messenger.
    if (!dm.LoadMotorFile(file))
        return TCli::ExitRefused;
    if (!s->messenger.AskOkCancel(
            QCoreApplication::translate("TFMParameterWindow", "パラメータをサーボアンプに書き込みます。\r\nよろしいですか?")))
        return TCli::ExitRefused;
    const int count = dm.MotorParameterCount();
    if (!dm.WriteToAmplifier(axis))
        return s->Failed();
    run.out << "wrote " << count << " motor parameters of " << (motor.motorType.isEmpty() ? QFileInfo(file).fileName() : motor.motorType)
            << " to axis " << QString::number(axis, 16).toUpper() << "\n";
    return TCli::ExitOk;
}

} // namespace

TCliCommand CliMotorCommand()
{
    return {QStringLiteral("motor"),
            QStringLiteral("  motor AXIS FILE.mp0 [--yes]    write the motor file's parameter set into the axis\n"),
            {},
            true,
            RunMotor};
}
