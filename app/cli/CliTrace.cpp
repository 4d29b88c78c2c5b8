#include "app/cli/Cli.h"
#include "app/cli/CliCommand.h"
#include "app/cli/CliSession.h"

#include "app/DMEnvironment.h"
#include "trace/DMTrace.h"
#include "trace/TraceFile.h"
#include "trace/TraceWaitView.h"

#include <QTextStream>

namespace {

// The wait on the error output: one line per state change; Ctrl-C (the
// progress's cancel) gives up.
class TCliWait : public TTraceWaitView
{
public:
    TCliWait(QTextStream &err, TProgress &progress) : err(err), progress(progress) {}
    void ShowWaiting() override { Say(QStringLiteral("waiting for the trigger")); }
    void ShowRecording(double s) override
    {
        Say(QStringLiteral("triggered, recording (%1 s left)").arg(s, 0, 'f', 3), QStringLiteral("triggered"));
    }
    void HideWait() override {}
    bool TakeStopRequest() override { return false; }
    bool WaitCancelled() const override { return progress.Request() == TProgress::rqCancel; }

private:
    void Say(const QString &text, const QString &key = QString())
    {
        const QString k = key.isEmpty() ? text : key;
        if (k == last)
            return;
        last = k;
        err << "tuvanta-cli: " << text << "\n";
        err.flush();
    }
    QTextStream &err;
    TProgress &progress;
    QString last;
};

bool ParseInt(const QString &text, int64_t &v)
{
    return TTraceFile::ParseInteger(text, v);
}

int Run(TCliRun &run)
{
    int axis = 0;
    if (run.args.size() != 1 || !TCliRun::ParseAxis(run.args[0], axis))
        return run.Usage(QStringLiteral("trace takes AXIS"));
    const QString output = run.Value(QStringLiteral("o"));
    if (output.isEmpty())
        return run.Usage(QStringLiteral("trace needs -o FILE"));
    int64_t mode = 1, sampling = 1;
    if (run.Has(QStringLiteral("mode")) && (!ParseInt(run.Value(QStringLiteral("mode")), mode) || mode < 1 || mode > 3))
        return run.Usage(QStringLiteral("--mode is 1, 2 or 3"));
    if (run.Has(QStringLiteral("sampling")) &&
        (!ParseInt(run.Value(QStringLiteral("sampling")), sampling) || sampling < 1 || sampling > 65535))
        return run.Usage(QStringLiteral("--sampling is 1 to 65535"));
    std::array<int64_t, 8> codes;
    codes.fill(-1);
    for (int c = 0; c < 8; ++c) {
        const QString key = QStringLiteral("ch%1").arg(c + 1);
        if (run.Has(key) && (!ParseInt(run.Value(key), codes[size_t(c)]) || codes[size_t(c)] < 0 || codes[size_t(c)] > 255))
            return run.Usage(QStringLiteral("--%1 is a code 0 to 255").arg(key));
    }
    int64_t trigger[4] = {-1, 0, 0, 0};
    if (run.Has(QStringLiteral("trigger"))) {
        const QStringList parts = run.Value(QStringLiteral("trigger")).split(u',');
        bool ok = parts.size() == 4;
        for (int i = 0; ok && i < 4; ++i)
            ok = ParseInt(parts[i], trigger[i]);
        if (!ok || trigger[0] < 1 || trigger[0] > 8 || trigger[1] < 0 || trigger[1] > 255 || trigger[3] < 0 ||
            trigger[3] > 100 || trigger[2] < INT32_MIN || trigger[2] > UINT32_MAX)
            return run.Usage(QStringLiteral("--trigger is CH,EDGE,LEVEL,POS (CH 1..8, POS 0..100)"));
    }

    int status = 0;
    std::unique_ptr<TCliSession> s = run.Open(axis, status);
    if (!s)
        return status;
    TDMTrace dm(*s->ctx);
    dm.OpenTables();
    dm.SetProgress(&s->progress);
    TCliWait wait(run.err, s->progress);
    dm.SetWaitView(&wait);
    const TTraceModel *model = dm.tables.ModelOfCode(s->env->AmpCode(axis));
    if (!model) {
        run.err << "tuvanta-cli: axis #" << QString::number(axis, 16).toUpper() << " has no operation trace\n";
        return TCli::ExitRefused;
    }
    bool usable = false;
    if (!dm.CheckTraceUsable(axis, usable) || !dm.ReadModelNames(axis) || !dm.ReadTraceSetting(axis))
        return s->Failed();
    if (!usable)
        return TCli::ExitRefused;
    // Channels left out take the model's first codes.
    TTraceSetting &set = dm.trace.Setting;
    set.Mode = int(mode);
    set.Sampling = int(sampling);
    auto first = [](const auto &map, int n) {
        auto it = map.begin();
        for (int i = 0; i < n && it != map.end(); ++i)
            ++it;
        return it == map.end() ? (map.empty() ? 0 : map.begin()->first) : it->first;
    };
    for (int c = 0; c < 8; ++c) {
        const int code = codes[size_t(c)] >= 0 ? int(codes[size_t(c)])
                                               : c < 4 ? first(model->analog, c) : first(model->digital, c - 4);
        if (c < 4)
            set.Analog[size_t(c)] = code;
        else
            set.Digital[size_t(c - 4)] = code;
    }
    set.TriggerChannel = int(trigger[0]) - 1;
    set.TriggerEdge = int(trigger[1]);
    set.TriggerLevel = trigger[2];
    set.TriggerPosition = int(trigger[3]);
    if (!dm.WriteTraceSetting(axis) || !dm.ClearTrace(axis) || !dm.StartTrace(axis))
        return s->Failed();
    bool read = false;
    if (!dm.WaitAndReadTrace(axis, read))
        return s->Failed();
    if (!read) {
        run.err << "tuvanta-cli: no recording was read\n";
        return TCli::ExitRefused;
    }
    QString error;
    if (!dm.SaveToFile(output, &error)) {
        run.err << "tuvanta-cli: cannot write " << output << ": " << error << "\n";
        return TCli::ExitCannotWrite;
    }
    const QString csv = run.Value(QStringLiteral("csv"));
    if (!csv.isEmpty() && !dm.SaveCsv(csv, &error)) {
        run.err << "tuvanta-cli: cannot write " << csv << ": " << error << "\n";
        return TCli::ExitCannotWrite;
    }
    run.out << "trace of axis #" << QString::number(axis, 16).toUpper() << " mode " << set.Mode << ": "
            << dm.trace.Samples.size() << " samples, trigger at " << dm.trace.TriggerNo << ", written to " << output
            << "\n";
    return TCli::ExitOk;
}

} // namespace

TCliCommand CliTraceCommand()
{
    QList<TCliOption> options = {{QStringLiteral("mode"), true},    {QStringLiteral("sampling"), true},
                                 {QStringLiteral("trigger"), true}, {QStringLiteral("o"), true},
                                 {QStringLiteral("csv"), true}};
    for (int c = 1; c <= 8; ++c)
        options << TCliOption{QStringLiteral("ch%1").arg(c), true};
    return {QStringLiteral("trace"),
            QStringLiteral("  trace AXIS [--mode 1|2|3] [--sampling N] [--ch1 CODE ... --ch8 CODE]\n"
                           "        [--trigger CH,EDGE,LEVEL,POS] -o FILE [--csv FILE.csv]\n"
                           "                          capture one operation-trace recording into a trace file\n"
                           "                          (channels left out: the model's first codes; no trigger:\n"
                           "                          at once)\n"),
            options, true, Run};
}
