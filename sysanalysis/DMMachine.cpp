#include "sysanalysis/DMMachine.h"

#include "app/AppContext.h"
#include "app/Busy.h"
#include "app/DMEnvironment.h"
#include "app/Messenger.h"
#include "app/Progress.h"
#include "ZnLibs/PathUtils.h"
#include "comm/DMTran.h"
#include "sysanalysis/MachineFile.h"
#include "testrun/DMJog.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <cmath>
#include <optional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/types.h>
#endif

namespace {
QString Tr(const char *text)
{
    return QCoreApplication::translate("TDMMachine", text);
}

// Whether the detached analyser still runs. It is not our child, so the
// process table is asked; a zombie that nobody reaps has ended as well.
bool ProcessRunning(qint64 pid)
{
#ifdef Q_OS_UNIX
    if (pid <= 0 || ::kill(pid_t(pid), 0) != 0)
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray text = stat.readAll();
        const qsizetype close = text.lastIndexOf(')');
        if (close >= 0 && close + 2 < text.size() && text[close + 2] == 'Z')
            return false;
    }
    return true;
#else
    return false;
#endif
}

// Waits ms milliseconds with the window messages running.
void Pause(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}
} // namespace

TDMMachine::TDMMachine(TAppContext &context) : ctx(context), trace(context) {}

void TDMMachine::OpenTables()
{
    trace.OpenTables();
}

bool TDMMachine::ReadModelNames(int axis)
{
    if (!trace.ReadModelNames(axis))
        return false;
    result.AmpType = trace.trace.AmpType;
    result.MotType = trace.trace.MotType;
    return true;
}

double TDMMachine::SamplingBase() const
{
    const TTraceModel *m = trace.tables.ModelOfCode(trace.trace.AmpCode);
    return m ? m->samplingBase : 1.0;
}

TDMMachine::TEnd TDMMachine::ProgressEnd(uint32_t reply)
{
    switch (reply) {
    case 1: return TEnd::NotReady;
    case 7: return TEnd::Alarm;
    case 9: return TEnd::Overtravel;
    case 10: return TEnd::Abnormal;
    case 12: return TEnd::Done;
    default: return TEnd::Refused;
    }
}

QString TDMMachine::EndText(TEnd end)
{
    switch (end) {
    case TEnd::NotReady: return TDMJog::NotReadyText(TDMJog::tySystemAnalysis);
    case TEnd::Alarm: return TDMJog::AlarmText();
    case TEnd::Overtravel: return TDMJog::OvertravelText();
    case TEnd::Abnormal: return Tr("データ測定＆解析できません。（異常終了）");
    case TEnd::Refused: return TDMJog::ServoRefusedText();
    default: return {};
    }
}

TDMMachine::TEnd TDMMachine::Measure(TDMJog &jog, int axis, const TConditions &c, TProgress *progress,
                                     const QString &title)
{
    TBusy::TScope busy;
    // A press of "中止" or "サーボオフ" seen after a step that let messages run.
    auto pressed = [&]() -> std::optional<TEnd> {
        if (!progress || progress->Request() == TProgress::rqNone)
            return std::nullopt;
        const bool servoOff = progress->Request() & TProgress::rqServoOff;
        progress->Hide();
        progress->ClearRequest();
        progress->Finish();
        return servoOff ? TEnd::ServoOff : TEnd::Cancelled;
    };
    auto finish = [&](TEnd end) {
        if (progress)
            progress->Finish();
        return end;
    };
    if (progress) {
        progress->ShowButtons(true, true);
        progress->Start(title, Tr("システムアナリシス設定中です。"), 100);
        progress->SetPosition(0);
    }
    if (!jog.WriteWord0(axis, uint16_t(c.torque)))
        return finish(TEnd::Failed);
    if (auto p = pressed())
        return *p;
    if (progress)
        progress->SetPosition(5);
    if (!jog.WriteWord6(axis, uint16_t(c.frequency)))
        return finish(TEnd::Failed);
    if (auto p = pressed())
        return *p;
    if (progress) {
        progress->SetText(Tr("データ測定をしています。"));
        progress->SetPosition(10);
    }
    for (;;) {
        QCoreApplication::processEvents();
        if (auto p = pressed())
            return *p;
        uint32_t reply = 0;
        if (!ctx.tran.TuningProgress(axis, TDMJog::tySystemAnalysis, reply))
            return finish(TEnd::Failed);
        if (reply == 11)
            continue;
        if (reply != 12)
            return finish(ProgressEnd(reply));
        break;
    }
    uint32_t menp = 0;
    if (!jog.ReadMeasurementPair(axis, menp))
        return finish(TEnd::Failed);
    if (auto p = pressed())
        return *p;
    if (progress) {
        progress->SetText(Tr("データを読み込み中です。"));
        progress->SetPosition(75);
    }
    result.TC = uint16_t(c.torque);
    result.FREQUENCY = uint16_t(c.frequency);
    result.JRAT_MON = c.jrat;
    result.KVP_MON = c.kvp;
    result.TVI_MON = c.tvi;
    result.TCFIL_MON = c.tcfil;
    result.TCNFILA_MON = c.tcnfila;
    result.TCNFILB_MON = c.tcnfilb;
    result.MENP = int32_t(menp);
    if (!ReadMeasurementData(axis, progress, 75)) {
        if (auto p = pressed())
            return *p;
        return finish(TEnd::Failed);
    }
    if (auto p = pressed())
        return *p;
    uint32_t reply = 0;
    if (!ctx.tran.TuningProgress(axis, TDMJog::tySystemAnalysis, reply))
        return finish(TEnd::Failed);
    return finish(ProgressEnd(reply));
}

bool TDMMachine::ReadMeasurementData(int axis, TProgress *progress, int start)
{
    result.AmpCode = ctx.env.AmpCode(axis);
    trace.trace.AmpCode = result.AmpCode;
    const TTraceModel *m = trace.tables.ModelOfCode(result.AmpCode);
    if (!m)
        return false;
    TBusy::TScope busy;
    constexpr int Reads = 274;
    int done = 0;
    auto next = [&]() {
        if (progress && progress->Request() != TProgress::rqNone)
            return false;
        return true;
    };
    auto step = [&] {
        ++done;
        if (progress)
            progress->SetPosition(int(std::lround(start + (100.0 - start) * done / Reads)));
    };
    TDMTran::TWords w{};
    if (!next() || !ctx.tran.ReadWords8(axis, m->traceAddress + 8, 4, w))
        return false;
    const int ringStart = w[3];
    step();
    if (!next() || !ctx.tran.ReadWords8(axis, m->traceAddress + 16, 4, w))
        return false;
    const int triggerNo = w[0];
    step();
    std::array<uint16_t, 1024> words{};
    std::array<uint8_t, 128> bits{};
    for (int i = 0; i < 256; ++i) {
        if (!next() || !ctx.tran.ReadWords8(axis, m->analogAddress + uint32_t(8 * i), 4, w))
            return false;
        std::copy(w.begin(), w.end(), words.begin() + 4 * i);
        step();
    }
    for (int i = 0; i < 16; ++i) {
        QByteArray b;
        if (!next() || !ctx.tran.ReadBytes8(axis, m->digitalAddress + uint32_t(8 * i), b) || b.size() != 8)
            return false;
        std::copy(b.begin(), b.end(), bits.begin() + 8 * i);
        step();
    }
    result.TriggerNo = triggerNo;
    result.Unpack(words.data(), bits.data(), ringStart);
    result.ComputeTorqueLimitRate();
    for (int i = 0; i < 6; ++i)
        result.SW[size_t(i)] = ctx.env.AnalysisSwitch(i + 1);
    return true;
}

QString TDMMachine::AnalyserProgram() const
{
    return ExpandPath(ctx.env.AnalyserPath, programDir);
}

QString TDMMachine::ExchangeFolder() const
{
    const QString own = QFileInfo(AnalyserProgram()).absolutePath();
    if (QFileInfo(own).isWritable())
        return own;
    // An installed program's folder is read-only: the files go to the
    // user's own data folder instead (the analyser runs there).
    QString user = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (user.isEmpty())
        user = QDir::temp().filePath(QStringLiteral("Tuvanta"));
    user = QDir(user).filePath(QStringLiteral("SystemAnalysis"));
    QDir().mkpath(user);
    return user;
}

QString TDMMachine::InputFile() const
{
    return QDir(ExchangeFolder()).filePath(QLatin1String(InputName));
}

QString TDMMachine::OutputFile() const
{
    return QDir(ExchangeFolder()).filePath(QLatin1String(OutputName));
}

bool TDMMachine::WriteExchangeFile(const QString &fileName)
{
    return TMachineFile::Save(fileName, TMachineFile::WriteExchange(result, SamplingBase()));
}

QString TDMMachine::ElapsedText(int seconds)
{
    QString text;
    if (seconds / 3600)
        text += Tr("%1時間").arg(seconds / 3600);
    if (seconds / 60 % 60)
        text += Tr("%1分").arg(seconds / 60 % 60);
    if (seconds % 60)
        text += Tr("%1秒").arg(seconds % 60);
    return text.trimmed();
}

QString TDMMachine::WaitText(int seconds)
{
    return Tr("データを解析中です。しばらくお待ちください。（数秒～数分程度）") + QStringLiteral("\r\n") +
           Tr("%1 経過").arg(ElapsedText(seconds));
}

bool TDMMachine::RunAnalyser(bool reuse, TAnalyserWait *wait)
{
    TMessenger &msg = TMessenger::Instance();
    const QString program = AnalyserProgram();
    const QFileInfo programInfo(program);
    if (program.isEmpty() || !programInfo.isFile()) {
        msg.Warning(Tr("%1 ファイルが見つかりません。").arg(programInfo.fileName()));
        return false;
    }
    const QString folder = ExchangeFolder();
    const QString input = InputFile();
    const QString output = OutputFile();
    if (!reuse)
        WriteExchangeFile(input);
    if (!QFileInfo::exists(input)) {
        msg.Warning(Tr("%1 ファイルが見つかりません。").arg(QLatin1String(InputName)));
        return false;
    }
    if (QFileInfo::exists(output) && !QFile::remove(output)) {
        msg.Warning(Tr("%1 を削除できません。アクセスできません。").arg(QLatin1String(OutputName)));
        return false;
    }
    QProcess process;
    process.setProgram(programInfo.absoluteFilePath());
    process.setArguments({QFileInfo(input).completeBaseName()});
    process.setWorkingDirectory(folder);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        msg.Warning(Tr("変換ツールを実行できませんでした。"));
        return false;
    }
    TAnalyserWait none;
    TAnalyserWait &w = wait ? *wait : none;
    QElapsedTimer clock;
    clock.start();
    w.Begin();
    bool cancelled = false;
    while (ProcessRunning(pid)) {
        if (!w.Step(int(clock.elapsed() / 1000))) {
            cancelled = true;
            break;
        }
        Pause(100);
    }
    w.End();
    if (cancelled)
        return false;
    Pause(settleMs);
    if (!QFileInfo::exists(output)) {
        msg.Warning(Tr("%1 を作成できません。").arg(QLatin1String(OutputName)));
        return false;
    }
    return ReadResultFile(output);
}

QString TDMMachine::NotAnalysisFileText()
{
    return Tr("システムアナリシスファイルではありません。");
}

bool TDMMachine::ReadResultFile(const QString &fileName)
{
    QByteArray bytes;
    if (!TMachineFile::Load(fileName, bytes) || !TMachineFile::ReadResult(bytes, result.DATA2)) {
        TMessenger::Instance().Warning(NotAnalysisFileText());
        result.AmpCode = -1;
        return false;
    }
    return true;
}

bool TDMMachine::SaveAnalysisFile(const QString &fileName, QString *error) const
{
    return TMachineFile::Save(fileName, TMachineFile::Write(result, SamplingBase()), error);
}

bool TDMMachine::LoadAnalysisFile(const QString &fileName)
{
    if (fileName.isEmpty())
        return true;
    QByteArray bytes;
    if (!TMachineFile::Load(fileName, bytes) || !TMachineFile::Read(bytes, result)) {
        TMessenger::Instance().Warning(NotAnalysisFileText());
        result.AmpCode = -1;
        return false;
    }
    // The recorder (sampling base) of the file's model.
    trace.trace.AmpCode = result.AmpCode;
    return true;
}
