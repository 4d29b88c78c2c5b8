#include "sysanalysis/MachineFile.h"

#include "ZnLibs/ShiftJis.h"
#include "trace/TraceFile.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QStringList>

#include <cmath>

namespace {
QString Hex(int64_t value, int width)
{
    return QStringLiteral("0x") + QString::number(uint32_t(value), 16).toUpper().rightJustified(width, u'0');
}

QString Fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString Quoted(const QString &text)
{
    return u'"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

QStringList Lines(const QByteArray &bytes)
{
    QStringList lines = ShiftJis::Decode(bytes).split(u'\n');
    for (QString &l : lines)
        if (l.endsWith(u'\r'))
            l.chop(1);
    // The line end after the last line leaves no line of its own.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool Integer(const QStringList &f, int index, int64_t &v)
{
    return index < f.size() && TTraceFile::ParseInteger(f[index], v);
}

bool Real(const QString &text, double &v)
{
    bool ok = false;
    v = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(v);
}

QString SampleCell(int64_t v, int64_t noData)
{
    return v == noData ? QStringLiteral("-") : QString::number(v);
}
} // namespace

QByteArray TMachineFile::Write(const TMachineResult &r, double samplingMs)
{
    QStringList l;
    const QString sampling = TTraceFile::FormatDecimal(samplingMs);
    const QString tlim = Fixed(r.T_LIM, 1);
    auto monitor = [&](const char *key, uint16_t v, const QString &shown) {
        l << QStringLiteral("%1,%2,%3").arg(QLatin1String(key), Hex(v, 4), Quoted(shown));
    };
    l << QStringLiteral("AMP-CODE,") + Hex(r.AmpCode & 0xFFFFFF, 6);
    l << QStringLiteral("AMP-TYPE,") + Quoted(r.AmpType);
    l << QStringLiteral("MOT-TYPE,") + Quoted(r.MotType);
    l << QStringLiteral("TC,%1,%2").arg(Hex(r.TC, 2), Quoted(QString::number(r.TC) + QStringLiteral("[%]")));
    l << QStringLiteral("SAMPLING,%1,%2").arg(sampling, Quoted(sampling + QStringLiteral("[ms]")));
    l << QStringLiteral("FREQUENCY,%1,%2").arg(Hex(r.FREQUENCY, 4), Quoted(TMachineResult::FrequencyText(r.FREQUENCY)));
    monitor("JRAT_MON", r.JRAT_MON, QString::number(r.JRAT_MON) + QStringLiteral("[%]"));
    monitor("KVP_MON", r.KVP_MON, QString::number(r.KVP_MON) + QStringLiteral("[Hz]"));
    monitor("TVI_MON", r.TVI_MON, Fixed(r.TVI_MON / 10.0, 1) + QStringLiteral("[ms]"));
    monitor("TCFIL_MON", r.TCFIL_MON, QString::number(r.TCFIL_MON) + QStringLiteral("[Hz]"));
    monitor("TCNFILA_MON", r.TCNFILA_MON, QString::number(r.TCNFILA_MON) + QStringLiteral("[Hz]"));
    monitor("TCNFILB_MON", r.TCNFILB_MON, QString::number(r.TCNFILB_MON) + QStringLiteral("[Hz]"));
    l << QStringLiteral("MENP,%1").arg(r.MENP);
    l << QStringLiteral("SW1,%1,%2,%3").arg(r.SW[0]).arg(r.SW[1]).arg(r.SW[2]);
    l << QStringLiteral("SW4,%1,%2,%3").arg(r.SW[3]).arg(r.SW[4]).arg(r.SW[5]);
    l << QStringLiteral("T_LIM,%1,%2").arg(tlim, Quoted(tlim + QStringLiteral("[%]")));
    l << QStringLiteral("DATA2,%1").arg(r.DATA2.size());
    for (const TMachineResult::TRow &row : r.DATA2)
        l << QStringLiteral("%1,%2,%3").arg(Fixed(row.frequency, 2), Fixed(row.gain, 2), Fixed(row.phase, 2));
    l << QStringLiteral("DATA1,%1").arg(TMachineResult::SampleCount);
    l << QStringLiteral("TRIGGER-NO,%1").arg(r.TriggerNo);
    for (int k = 0; k < TMachineResult::SampleCount; ++k) {
        const TMachineResult::TSample &s = r.DATA1[size_t(k)];
        l << QStringLiteral("%1,%2,%3")
                 .arg(k)
                 .arg(SampleCell(s.analog, TMachineResult::NoData), SampleCell(s.bit, TMachineResult::NoDataBit));
    }
    return ShiftJis::Encode(l.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

bool TMachineFile::Read(const QByteArray &bytes, TMachineResult &r)
{
    static const char *const Keys[] = {"AMP-CODE", "AMP-TYPE",  "MOT-TYPE",    "TC",          "SAMPLING", "FREQUENCY",
                                       "JRAT_MON", "KVP_MON",   "TVI_MON",     "TCFIL_MON",   "TCNFILA_MON",
                                       "TCNFILB_MON", "MENP",   "SW1",         "SW4",         "T_LIM"};
    enum class TState { BeforeRows, ResultRows, SampleRows } state = TState::BeforeRows;
    size_t n = 0, row = 0;
    auto reject = [&r] {
        r.AmpCode = -1;
        return false;
    };
    const QStringList lines = Lines(bytes);
    for (int k = 0; k < lines.size(); ++k) {
        const QStringList f = TTraceFile::SplitCommaText(lines[k]);
        const QString key = f.value(0);
        int64_t v = 0;
        if (k <= 15 && key == QLatin1String(Keys[k])) {
            auto word = [&](uint16_t &out) {
                if (!Integer(f, 1, v))
                    return false;
                out = uint16_t(v);
                return true;
            };
            switch (k) {
            case 0:
                if (!Integer(f, 1, v))
                    return reject();
                r.AmpCode = int32_t(v);
                break;
            case 1: r.AmpType = f.value(1); break;
            case 2: r.MotType = f.value(1); break;
            case 3: if (!word(r.TC)) return reject(); break;
            case 4: break;
            case 5: if (!word(r.FREQUENCY)) return reject(); break;
            case 6: if (!word(r.JRAT_MON)) return reject(); break;
            case 7: if (!word(r.KVP_MON)) return reject(); break;
            case 8: if (!word(r.TVI_MON)) return reject(); break;
            case 9: if (!word(r.TCFIL_MON)) return reject(); break;
            case 10: if (!word(r.TCNFILA_MON)) return reject(); break;
            case 11: if (!word(r.TCNFILB_MON)) return reject(); break;
            case 12:
                if (!Integer(f, 1, v))
                    return reject();
                r.MENP = int32_t(v);
                break;
            case 13:
            case 14: {
                const int base = k == 13 ? 0 : 3;
                for (int i = 0; i < 3; ++i) {
                    if (!Integer(f, i + 1, v))
                        return reject();
                    r.SW[size_t(base + i)] = int32_t(v);
                }
                break;
            }
            case 15: {
                double t = 0;
                if (f.size() < 2 || !Real(f[1], t))
                    return reject();
                r.T_LIM = float(t);
                break;
            }
            }
            continue;
        }
        if (k == 16 && key == QLatin1String("DATA2")) {
            // A count beyond any real response is a damaged file, not a
            // reason to allocate gigabytes.
            if (!Integer(f, 1, v) || v < 0 || v > 1000000)
                return reject();
            n = size_t(v);
            r.DATA2.resize(n);
            row = 0;
            state = TState::ResultRows;
            continue;
        }
        if (key == QLatin1String("DATA1")) {
            state = TState::SampleRows;
            continue;
        }
        if (key == QLatin1String("TRIGGER-NO")) {
            if (!Integer(f, 1, v))
                return reject();
            r.TriggerNo = int32_t(v);
            continue;
        }
        if (k <= 16)
            return reject();
        switch (state) {
        case TState::ResultRows: {
            TMachineResult::TRow x;
            if (row >= n || f.size() < 3 || !Real(f[0], x.frequency) || !Real(f[1], x.gain) || !Real(f[2], x.phase))
                return reject();
            r.DATA2[row++] = x;
            break;
        }
        case TState::SampleRows: {
            int64_t index = 0, analog = 0, bit = 0;
            if (!Integer(f, 0, index) || index < 0 || index >= TMachineResult::SampleCount || !Integer(f, 1, analog) ||
                !Integer(f, 2, bit))
                return reject();
            r.DATA1[size_t(index)].analog = int32_t(analog);
            r.DATA1[size_t(index)].bit = int8_t(bit);
            break;
        }
        case TState::BeforeRows:
            break;
        }
    }
    return true;
}

QByteArray TMachineFile::WriteExchange(const TMachineResult &r, double samplingMs)
{
    QStringList l;
    auto one = [&](const QString &v) { l << v + QStringLiteral(",0,0"); };
    one(Fixed(samplingMs, 3));
    one(QString::number(r.TC));
    one(QString::number(r.FREQUENCY));
    one(QString::number(r.JRAT_MON));
    one(QString::number(r.KVP_MON));
    one(Fixed(r.TVI_MON / 10.0, 1));
    one(QString::number(r.TCFIL_MON));
    one(QString::number(r.TCNFILA_MON));
    one(QString::number(r.TCNFILB_MON));
    one(QString::number(r.MENP));
    l << QStringLiteral("%1,%2,%3").arg(r.SW[0]).arg(r.SW[1]).arg(r.SW[2]);
    l << QStringLiteral("%1,%2,%3").arg(r.SW[3]).arg(r.SW[4]).arg(r.SW[5]);
    one(QString::number(r.TriggerNo));
    l << QStringLiteral("1024,0,0");
    for (int k = 0; k < TMachineResult::SampleCount; ++k) {
        const TMachineResult::TSample &s = r.DATA1[size_t(k)];
        l << QStringLiteral("%1,%2,%3")
                 .arg(k)
                 .arg(SampleCell(s.analog, TMachineResult::NoData), SampleCell(s.bit, TMachineResult::NoDataBit));
    }
    return l.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
}

bool TMachineFile::ReadResult(const QByteArray &bytes, std::vector<TMachineResult::TRow> &rows)
{
    const QStringList lines = Lines(bytes);
    if (lines.isEmpty())
        return false;
    const QStringList head = TTraceFile::SplitCommaText(lines[0]);
    double count = 0;
    if (head.isEmpty() || !Real(head[0], count) || count < 0 || count != std::floor(count) || count > 1000000)
        return false;
    const auto n = size_t(count);
    if (size_t(lines.size()) < n + 1)
        return false;
    std::vector<TMachineResult::TRow> read(n);
    for (size_t k = 0; k < n; ++k) {
        const QStringList f = TTraceFile::SplitCommaText(lines[qsizetype(k + 1)]);
        if (f.size() < 3 || !Real(f[0], read[k].frequency) || !Real(f[1], read[k].gain) || !Real(f[2], read[k].phase))
            return false;
    }
    rows = std::move(read);
    return true;
}

bool TMachineFile::Save(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool TMachineFile::Load(const QString &fileName, QByteArray &bytes, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    bytes = file.readAll();
    return true;
}
