#include "app/cli/Cli.h"
#include "app/cli/CliCommand.h"
#include "app/cli/CliSession.h"

#include "app/Busy.h"
#include "sysanalysis/DMMachine.h"
#include "testrun/DMJog.h"
#include "trace/TraceFile.h"

#include <QElapsedTimer>
#include <QTextStream>

// analyse AXIS --torque N --frequency CODE -o RESULT.csv [--yes]: the whole
// system analysis of the measurement dialog and the system-analysis window
// (servo on, measurement, read-back, the analyser) into a system-analysis
// file.
namespace {

TCliBodeWriter &BodeWriter()
{
    static TCliBodeWriter writer;
    return writer;
}

// The analyser's wait on the error output; Ctrl-C gives up waiting.
class TCliAnalyserWait final : public TAnalyserWait
{
public:
    TCliAnalyserWait(QTextStream &err, TProgress &progress) : err(err), progress(progress) {}
    void Begin() override
    {
        err << "tuvanta-cli: analysing\n";
        err.flush();
    }
    bool Step(int) override { return progress.Request() == TProgress::rqNone; }

private:
    QTextStream &err;
    TProgress &progress;
};

int Run(TCliRun &run)
{
    int axis = 0;
    if (run.args.size() != 1 || !TCliRun::ParseAxis(run.args[0], axis))
        return run.Usage(QStringLiteral("analyse takes AXIS"));
    int64_t torque = -1, frequency = -1;
    if (!TTraceFile::ParseInteger(run.Value(QStringLiteral("torque")), torque) || torque < 0 || torque > 200)
        return run.Usage(QStringLiteral("--torque is 0 to 200 [%]"));
    if (!TTraceFile::ParseInteger(run.Value(QStringLiteral("frequency")), frequency) || frequency < 1 || frequency > 7)
        return run.Usage(QStringLiteral("--frequency is a code 1 to 7"));
    const QString output = run.Value(QStringLiteral("o"));
    if (output.isEmpty())
        return run.Usage(QStringLiteral("analyse needs -o FILE"));
    const QString bode = run.Value(QStringLiteral("bode"));
    if (run.Has(QStringLiteral("bode")) && bode.isEmpty())
        return run.Usage(QStringLiteral("--bode needs FILE.png"));
    // Refused before the motor moves, not after the measurement.
    if (!bode.isEmpty() && !BodeWriter()) {
        run.err << "tuvanta-cli: this build cannot draw the frequency response\n";
        return TCli::ExitCannotWrite;
    }

    int status = 0;
    std::unique_ptr<TCliSession> s = run.Open(axis, status);
    if (!s)
        return status;
    TAppContext &ctx = *s->ctx;
    if (run.Has(QStringLiteral("analyser")))
        s->env->AnalyserPath = run.Value(QStringLiteral("analyser"));
    TDMJog jog(ctx);
    jog.OpenTables();
    TDMMachine machine(ctx);
    machine.OpenTables();
    QString model;
    if (!jog.ReadModelName(axis, model))
        return s->Failed();
    const int type = TDMJog::tySystemAnalysis;
    const QString title = TDMJog::Title(type, axis, model);
    if (!TMessenger::Instance().AskOkCancel(TDMJog::ConfirmText(type), title))
        return TCli::ExitRefused;
    auto refuse = [&](const QString &text) {
        run.err << "tuvanta-cli: " << text << "\n";
        return TCli::ExitRefused;
    };

    TBusy::TScope busy;
    uint32_t reply = 10;
    QElapsedTimer since;
    since.start();
    while (reply == 10) {
        if (!ctx.tran.TestRunStatus(axis, type, reply))
            return s->Failed();
        if (reply == 10 && since.elapsed() > 10000)
            reply = 1;
    }
    if (reply == 1)
        return refuse(TDMJog::NotReadyText(type));
    if (reply == 2)
        return refuse(TDMJog::NotUsableText(type));
    // From here on the test run is ended whatever happens.
    int result = TCli::ExitOk;
    TDMMachine::TEnd end = TDMMachine::TEnd::Failed;
    uint16_t w[8] = {};
    if (!ctx.tran.TestRunRunStatus(axis, type, reply)) {
        result = s->Failed();
    } else if (reply != 0) {
        result = refuse(reply == 1 ? TDMJog::NotReadyText(type)
                        : reply == 7 ? TDMJog::AlarmText()
                        : reply == 9 ? TDMJog::OvertravelText()
                                     : TDMJog::ServoRefusedText());
    } else if (!jog.ReadMeasurementResults(axis, w) || !ctx.tran.TuningStart(axis, type, reply)) {
        result = s->Failed();
    } else if (reply != 0) {
        result = refuse(reply == 1 ? TDMJog::NotReadyText(type)
                        : reply == 7 ? TDMJog::AlarmText()
                                     : TDMJog::ServoRefusedText());
    } else {
        TDMMachine::TConditions c;
        c.torque = int(torque);
        c.frequency = int(frequency);
        c.jrat = w[1];
        c.kvp = w[3];
        c.tvi = w[4];
        c.tcfil = w[5];
        c.tcnfila = w[6];
        c.tcnfilb = w[7];
        end = machine.Measure(jog, axis, c, &s->progress, title);
        if (end == TDMMachine::TEnd::Failed)
            result = s->Failed();
        else if (end == TDMMachine::TEnd::Cancelled || end == TDMMachine::TEnd::ServoOff)
            result = refuse(QStringLiteral("the measurement was stopped"));
        else if (end != TDMMachine::TEnd::Done)
            result = refuse(TDMMachine::EndText(end));
    }
    uint32_t ended = 0;
    if (!ctx.tran.TestRunEnd(axis, type, ended) && result == TCli::ExitOk)
        result = s->Failed();
    if (result != TCli::ExitOk)
        return result;

    if (!machine.ReadModelNames(axis))
        return s->Failed();
    TCliAnalyserWait wait(run.err, s->progress);
    if (!machine.RunAnalyser(false, &wait))
        return refuse(QStringLiteral("the analyser gave no result"));
    QString error;
    if (!machine.SaveAnalysisFile(output, &error)) {
        run.err << "tuvanta-cli: cannot write " << output << ": " << error << "\n";
        return TCli::ExitCannotWrite;
    }
    if (!bode.isEmpty() && !BodeWriter()(machine.result, bode, &error)) {
        run.err << "tuvanta-cli: cannot write " << bode << ": " << error << "\n";
        return TCli::ExitCannotWrite;
    }
    run.out << "analysed: " << machine.result.DATA2.size() << " rows, torque limit "
            << QString::number(machine.result.T_LIM, 'f', 1) << " %\n";
    return TCli::ExitOk;
}

} // namespace

void SetCliBodeWriter(TCliBodeWriter writer)
{
    BodeWriter() = std::move(writer);
}

TCliCommand CliAnalyseCommand()
{
    return {QStringLiteral("analyse"),
            QStringLiteral("  analyse AXIS --torque N --frequency CODE -o FILE.csv [--bode FILE.png]\n"
                           "        [--analyser PATH] [--yes]\n"
                           "                          system analysis: the measurement (torque 0..200 %, frequency\n"
                           "                          code 1..7), the analyser, and the system-analysis file;\n"
                           "                          --bode also draws gain and phase as the window does\n"),
            {{QStringLiteral("torque"), true},
             {QStringLiteral("frequency"), true},
             {QStringLiteral("o"), true},
             {QStringLiteral("analyser"), true},
             {QStringLiteral("bode"), true}},
            true,
            Run};
}
