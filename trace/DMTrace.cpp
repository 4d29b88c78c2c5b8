#include "trace/DMTrace.h"

#include "ZnLibs/ShiftJis.h"
#include "app/AppContext.h"
#include "app/Busy.h"
#include "app/DMEnvironment.h"
#include "app/Messenger.h"
#include "app/Progress.h"
#include "comm/DMTran.h"
#include "defdb/DMInterface.h"
#include "trace/TraceFile.h"
#include "trace/TraceWaitView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("TDMTrace", text);
}

// A pause that keeps the windows alive.
void Pause(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents();
        QThread::msleep(qMin<qint64>(5, qMax<qint64>(0, ms - t.elapsed())));
    }
}

// Model texts are single bytes in amplifier memory; control bytes read as
// blanks.
QString TextOfBytes(QByteArray bytes)
{
    for (char &c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return ShiftJis::Decode(bytes).trimmed();
}

// The wait view of a caller that shows nothing and never stops.
class TSilentWait : public TTraceWaitView
{
public:
    void ShowWaiting() override {}
    void ShowRecording(double) override {}
    void HideWait() override {}
    bool TakeStopRequest() override { return false; }
    bool WaitCancelled() const override { return false; }
};

} // namespace

TDMTrace::TDMTrace(TAppContext &context) : ctx(context)
{
    trace.Reset();
}

void TDMTrace::OpenTables()
{
    tables.japanese = ctx.env.Japanese;
    tables.Load(ctx.intf);
}

double TDMTrace::SamplingTime() const
{
    const TTraceModel *m = Model();
    return (m ? m->samplingBase : 1.0) * trace.Setting.Sampling;
}

void TDMTrace::Evaluate()
{
    trace.EvaluateChannels(Model());
    trace.WidenTriggerLevel(Model());
}

bool TDMTrace::CheckTraceUsable(int axis, bool &usable)
{
    usable = true;
    if (axis < 1)
        return true;
    if (!ctx.tran.TraceUsable(axis, usable))
        return false;
    if (!usable)
        TMessenger::Instance().Warning(Tr("運転トレース機能を使用することはできません。"));
    return true;
}

bool TDMTrace::StartTrace(int axis)
{
    uint8_t s = 0;
    uint32_t n = 0;
    return axis < 1 || ctx.tran.TraceStart(axis, s, n);
}

bool TDMTrace::ClearTrace(int axis)
{
    uint8_t s = 0;
    uint32_t n = 0;
    if (axis < 1)
        return true;
    if (!ctx.tran.TraceClear(axis, s, n))
        return false;
    Pause(300);
    return true;
}

bool TDMTrace::Follow(int axis)
{
    trace.AmpCode = ctx.env.AmpCode(axis);
    trace.Reset();
    Evaluate();
    return true;
}

bool TDMTrace::ReadTraceSetting(int axis)
{
    if (axis < 1)
        return true;
    const TTraceModel *m = tables.ModelOfCode(ctx.env.AmpCode(axis));
    if (!m)
        return true; // no recorder in the database: nothing to read
    QByteArray a, b, c;
    TBusy::TScope busy;
    if (!ctx.tran.ReadBytes8(axis, m->settingAddress, a) || !ctx.tran.ReadBytes8(axis, m->settingAddress + 8, b) ||
        !ctx.tran.ReadBytes8(axis, m->settingAddress + 16, c))
        return false;
    auto u8 = [](const QByteArray &x, int i) { return uint8_t(x[i]); };
    TTraceSetting &s = trace.Setting;
    s.Mode = u8(a, 0);
    s.TriggerEdge = u8(a, 1);
    s.TriggerChannel = u8(a, 2) == 0xFF ? -1 : u8(a, 2);
    s.TriggerPosition = u8(a, 4) | u8(a, 5) << 8;
    s.Sampling = u8(a, 6) | u8(a, 7) << 8;
    s.TriggerLevel = int64_t(uint32_t(u8(b, 0) | u8(b, 1) << 8 | u8(b, 2) << 16 | uint32_t(u8(b, 3)) << 24));
    for (int i = 0; i < 4; ++i) {
        s.Analog[size_t(i)] = u8(c, i);
        s.Digital[size_t(i)] = u8(c, i + 4);
    }
    return Follow(axis);
}

bool TDMTrace::WriteTraceSetting(int axis)
{
    if (axis < 1)
        return true;
    const TTraceModel *m = tables.ModelOfCode(ctx.env.AmpCode(axis));
    if (!m)
        return true;
    const TTraceSetting &s = trace.Setting;
    const uint32_t a = m->settingAddress;
    TBusy::TScope busy;
    TDMTran &t = ctx.tran;
    bool ok = t.WriteByte(axis, a, uint8_t(s.Mode)) && t.WriteByte(axis, a + 1, uint8_t(s.TriggerEdge)) &&
              t.WriteByte(axis, a + 2, uint8_t(s.TriggerChannel < 0 ? 0xFF : s.TriggerChannel)) &&
              t.WriteWord(axis, a + 4, uint16_t(s.TriggerPosition)) && t.WriteWord(axis, a + 6, uint16_t(s.Sampling)) &&
              t.WriteLong(axis, a + 8, uint32_t(s.TriggerLevel));
    for (int i = 0; ok && i < 8; ++i)
        ok = t.WriteByte(axis, a + 16 + uint32_t(i), uint8_t(i < 4 ? s.Analog[size_t(i)] : s.Digital[size_t(i - 4)]));
    return ok && Follow(axis);
}

bool TDMTrace::ReadModelNames(int axis)
{
    trace.AmpType.clear();
    trace.MotType.clear();
    if (axis < 1)
        return true;
    trace.AmpCode = ctx.env.AmpCode(axis);
    const TTraceModel *m = Model();
    if (!m)
        return true;
    TBusy::TScope busy;
    QByteArray x, y;
    if (m->motorAddress) {
        if (!ctx.tran.ReadBytes8(axis, *m->motorAddress + 4, x) || !ctx.tran.ReadBytes8(axis, *m->motorAddress + 12, y))
            return false;
        trace.MotType = TextOfBytes(x + y.left(2));
    }
    if (m->amplifierAddress) {
        if (!ctx.tran.ReadBytes8(axis, *m->amplifierAddress, x) ||
            !ctx.tran.ReadBytes8(axis, *m->amplifierAddress + 8, y))
            return false;
        trace.AmpType = TextOfBytes(x + y.left(2));
    }
    return true;
}

bool TDMTrace::WaitAndReadTrace(int axis, bool &read)
{
    read = false;
    if (axis < 1)
        return true;
    TSilentWait silent;
    TTraceWaitView &view = waitView ? *waitView : silent;
    uint8_t s = 0;
    uint32_t n = 0;
    if (!ctx.tran.TraceStatus(axis, s, n))
        return false;
    for (;;) {
        QCoreApplication::processEvents();
        if (view.TakeStopRequest()) {
            if (!ctx.tran.TraceStop(axis, s, n)) {
                view.HideWait();
                return false;
            }
        } else if (view.WaitCancelled()) {
            view.HideWait();
            return true;
        }
        switch (s) {
        case 0:
            view.ShowWaiting();
            break;
        case 1:
            view.ShowRecording(SamplingTime() * n / 1000.0);
            break;
        case 2:
        case 3:
            view.HideWait();
            read = ReadTraceData(axis);
            return read;
        case 4:
        case 5:
            view.HideWait();
            TMessenger::Instance().Warning(Tr("トレースデータがありません。"));
            return true;
        default:
            view.HideWait();
            return false;
        }
        if (!ctx.tran.TraceStatus(axis, s, n)) {
            view.HideWait();
            return false;
        }
    }
}

bool TDMTrace::ReadTraceData(int axis)
{
    if (axis < 1)
        return true;
    const TTraceModel *m = tables.ModelOfCode(ctx.env.AmpCode(axis));
    if (!m)
        return true;
    TBusy::TScope busy;
    if (progress)
        progress->Start(Tr("読み出し中"), Tr("読み出し中です。お待ちください。"), 274);
    auto step = [this] {
        if (progress)
            progress->Step();
    };
    std::array<uint16_t, 1024> words{};
    std::array<uint8_t, 128> bits{};
    TDMTran::TWords w{};
    bool ok = ctx.tran.ReadWords8(axis, m->traceAddress + 8, 4, w);
    const int ringStart = w[3];
    step();
    ok = ok && ctx.tran.ReadWords8(axis, m->traceAddress + 16, 4, w);
    const int triggerNo = w[0];
    step();
    for (int i = 0; ok && i < 256; ++i) {
        ok = ctx.tran.ReadWords8(axis, m->analogAddress + uint32_t(8 * i), 4, w);
        std::copy(w.begin(), w.end(), words.begin() + 4 * i);
        step();
    }
    QByteArray b;
    for (int i = 0; ok && i < 16; ++i) {
        ok = ctx.tran.ReadBytes8(axis, m->digitalAddress + uint32_t(8 * i), b) && b.size() == 8;
        if (ok)
            std::copy(b.begin(), b.end(), bits.begin() + 8 * i);
        step();
    }
    if (progress)
        progress->Finish();
    if (!ok)
        return false;
    trace.TriggerNo = triggerNo;
    trace.Unpack(words.data(), bits.data(), ringStart);
    return true;
}

bool TDMTrace::ReadMonitorRecord(int axis, TRecord &record)
{
    if (axis < 1)
        return true;
    const TTraceModel *m = tables.ModelOfCode(ctx.env.AmpCode(axis));
    if (!m)
        return false;
    TDMTran::TWords w{};
    if (!ctx.tran.ReadWords8(axis, m->traceAddress, 4, w))
        return false;
    record = w;
    return true;
}

void TDMTrace::AppendMonitorRecord(const TRecord &record)
{
    trace.Append(trace.DecodeMonitorRecord(record));
}

void TDMTrace::AppendGap(int count)
{
    for (int i = 0; i < count; ++i)
        trace.Append(TTraceSample::GapSample());
}

int TDMTrace::CounterDifference(uint16_t previous, uint16_t current)
{
    int d = int(current) - int(previous);
    if (current < previous)
        d += 65535;
    return d;
}

void TDMTrace::ClearLocal()
{
    for (TTraceSample &s : trace.Samples) {
        s.analog.fill(0);
        s.digital.fill(0);
    }
    trace.Start = 0;
}

TDMTrace::TMonitorEnd TDMTrace::Monitor(int axis, const std::function<bool()> &running,
                                        const std::function<void()> &appended)
{
    const int pause = SamplingTime() >= 1000 ? 100 : 0;
    const int limit = ctx.env.UnfitLevel;
    TRecord previous{}, record{};
    if (!ReadMonitorRecord(axis, previous))
        return TMonitorEnd::Failed;
    int lost = 0, count = 0;
    while (running()) {
        QCoreApplication::processEvents();
        if (pause)
            Pause(pause);
        if (!running())
            break;
        if (!ReadMonitorRecord(axis, record))
            return TMonitorEnd::Failed;
        const int d = CounterDifference(previous[0], record[0]);
        if (d == 0)
            continue;
        if (d > 1) {
            lost += d - 1;
            if (lost >= limit) {
                TMessenger::Instance().Warning(
                    Tr("現在のボーレート・通信環境では、設定されたサンプリング周期を実現することができません。") +
                    QStringLiteral("\r\n") + Tr("設定を修正してください。"));
                return TMonitorEnd::TooManyLost;
            }
            AppendGap(d - 1);
        }
        AppendMonitorRecord(record);
        count += d;
        if (appended)
            appended();
        previous = record;
        if (count > 999)
            lost = count = 0;
    }
    return TMonitorEnd::Stopped;
}

bool TDMTrace::SaveToFile(const QString &fileName, QString *error) const
{
    return TTraceFile::Save(fileName, trace, tables, error);
}

bool TDMTrace::SaveCsv(const QString &fileName, QString *error) const
{
    return TTraceFile::SaveCsv(fileName, trace, tables, error);
}

bool TDMTrace::LoadFromFile(const QString &fileName)
{
    bool rejected = false;
    QString error;
    if (!TTraceFile::Load(fileName, trace, rejected, &error)) {
        trace.AmpCode = -1;
        TMessenger::Instance().Warning(error);
        return false;
    }
    if (rejected) {
        TMessenger::Instance().Warning(Tr("運転トレースファイルではありません。"));
        return false;
    }
    Evaluate();
    return true;
}

bool TDMTrace::ReadSettingFromFile(const QString &fileName, TTraceSetting &setting)
{
    TTrace temporary;
    bool rejected = false;
    QString error;
    if (!TTraceFile::Load(fileName, temporary, rejected, &error)) {
        TMessenger::Instance().Warning(error);
        return false;
    }
    if (rejected) {
        TMessenger::Instance().Warning(Tr("運転トレースファイルではありません。"));
        return false;
    }
    temporary.WidenTriggerLevel(tables.ModelOfCode(temporary.AmpCode));
    setting = temporary.Setting;
    return true;
}
