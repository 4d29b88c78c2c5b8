#include "trace/TraceFile.h"

#include "ZnLibs/ShiftJis.h"
#include "trace/Trace.h"
#include "trace/TraceTables.h"

#include <QFile>
#include <QSaveFile>

#include <cmath>

namespace {

const char *const HeaderKeys[19] = {
    "AMP-CODE",   "AMP-TYPE",   "MOT-TYPE",   "TRACE-MODE", "TRIGGER-CH", "TRIGGER-LEVEL", "TRIGGER-EDGE",
    "TRIGGER-POSITION", "SAMPLING-TIME", "TARGET-CH1", "TARGET-CH2", "TARGET-CH3", "TARGET-CH4", "TARGET-CH5",
    "TARGET-CH6", "TARGET-CH7", "TARGET-CH8", "TRIGGER-NO", "No."};

QString Hex(int64_t value, int width)
{
    // Negative values show their 32-bit pattern, as the formatter did.
    const quint64 bits = value < 0 ? quint64(uint32_t(int32_t(value))) : quint64(value);
    return QStringLiteral("0x") + QString::number(bits, 16).toUpper().rightJustified(width, u'0');
}

// A text between double quotes; a quote inside is doubled so it reads back.
QString Quoted(const QString &text)
{
    QString t = text;
    t.replace(u'"', QStringLiteral("\"\""));
    return u'"' + t + u'"';
}

bool Int32Field(const QStringList &f, int32_t &out)
{
    int64_t v = 0;
    if (f.size() < 2 || !TTraceFile::ParseInteger(f[1], v) || v < INT32_MIN || v > INT32_MAX)
        return false;
    out = int32_t(v);
    return true;
}

double SamplingMs(const TTrace &trace, const TTraceTables &tables)
{
    const TTraceModel *m = tables.ModelOfCode(trace.AmpCode);
    return (m ? m->samplingBase : 1.0) * trace.Setting.Sampling;
}

} // namespace

QStringList TTraceFile::SplitCommaText(const QString &line)
{
    QStringList out;
    const qsizetype n = line.size();
    qsizetype p = 0;
    auto blank = [&](qsizetype i) { return i < n && line[i].unicode() > 0 && line[i].unicode() <= ' '; };
    while (blank(p))
        ++p;
    while (p < n) {
        QString field;
        if (line[p] == u'"') {
            ++p;
            while (p < n) {
                if (line[p] == u'"') {
                    if (p + 1 < n && line[p + 1] == u'"') {
                        field += u'"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                field += line[p++];
            }
        } else {
            const qsizetype from = p;
            while (p < n && line[p].unicode() > ' ' && line[p] != u',')
                ++p;
            field = line.mid(from, p - from);
        }
        out << field;
        while (blank(p))
            ++p;
        if (p < n && line[p] == u',') {
            if (p + 1 == n)
                out << QString();
            do
                ++p;
            while (blank(p));
        }
    }
    return out;
}

bool TTraceFile::ParseInteger(const QString &text, int64_t &value)
{
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t[0] == u'-';
        t.remove(0, 1);
    }
    if (t.isEmpty())
        return false;
    QString digits;
    bool hex = false;
    if (t.startsWith(u'$')) {
        hex = true;
        digits = t.mid(1);
    } else if (t.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        hex = true;
        digits = t.mid(2);
    } else {
        digits = t;
    }
    if (digits.isEmpty())
        return false;
    bool ok = false;
    int64_t v = 0;
    if (hex) {
        if (digits.size() > 16)
            return false;
        const quint64 u = digits.toULongLong(&ok, 16);
        if (!ok)
            return false;
        v = digits.size() <= 8 ? int64_t(int32_t(uint32_t(u))) : int64_t(u);
    } else {
        for (QChar c : digits)
            if (!c.isDigit() || c.unicode() > '9')
                return false;
        const quint64 u = digits.toULongLong(&ok, 10);
        if (!ok || u > quint64(INT64_MAX) + (negative ? 1 : 0))
            return false;
        v = int64_t(u);
    }
    value = negative ? int64_t(0 - quint64(v)) : v;
    return true;
}

QString TTraceFile::FormatDecimal(double value)
{
    QString s = QString::number(value, 'f', 3);
    if (s.contains(u'.')) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u'.'))
            s.chop(1);
    }
    if (s == QStringLiteral("-0"))
        s = QStringLiteral("0");
    return s;
}

QByteArray TTraceFile::Write(const TTrace &trace, const TTraceTables &tables)
{
    const TTraceSetting &s = trace.Setting;
    const TTraceModel *m = tables.ModelOfCode(trace.AmpCode);
    QStringList lines;
    lines << QStringLiteral("AMP-CODE,") + Hex(trace.AmpCode & 0xFFFFFF, 6)
          << QStringLiteral("AMP-TYPE,") + Quoted(trace.AmpType) << QStringLiteral("MOT-TYPE,") + Quoted(trace.MotType)
          << QStringLiteral("TRACE-MODE,%1,%2").arg(Hex(s.Mode, 2), Quoted(tables.ModeName(s.Mode)))
          << QStringLiteral("TRIGGER-CH,%1,%2")
                 .arg(Hex(s.TriggerChannel, 2), Quoted(tables.TriggerChannelName(s.TriggerChannel)))
          << QStringLiteral("TRIGGER-LEVEL,") + Hex(int64_t(uint32_t(s.TriggerLevel)), 8)
          << QStringLiteral("TRIGGER-EDGE,%1,%2").arg(Hex(s.TriggerEdge, 2), Quoted(tables.EdgeName(s.TriggerEdge)))
          << QStringLiteral("TRIGGER-POSITION,%1,%2")
                 .arg(Hex(s.TriggerPosition, 4), Quoted(QString::number(s.TriggerPosition) + QStringLiteral("[%]")))
          << QStringLiteral("SAMPLING-TIME,%1,%2")
                 .arg(Hex(s.Sampling, 4), Quoted(FormatDecimal(SamplingMs(trace, tables)) + QStringLiteral("[ms]")));
    for (int c = 0; c < 4; ++c) {
        const int code = s.Analog[size_t(c)];
        lines << QStringLiteral("TARGET-CH%1,%2,%3")
                     .arg(c + 1)
                     .arg(Hex(code, 2),
                          Quoted(tables.AnalogName(m, code) + TTraceTables::UnitText(tables.AnalogUnit(m, code))));
    }
    for (int c = 0; c < 4; ++c) {
        const int code = s.Digital[size_t(c)];
        lines << QStringLiteral("TARGET-CH%1,%2,%3").arg(c + 5).arg(Hex(code, 2), Quoted(tables.DigitalName(m, code)));
    }
    lines << QStringLiteral("TRIGGER-NO,%1").arg(trace.TriggerNo)
          << QStringLiteral("No.,CH1,CH2,CH3,CH4,CH5,CH6,CH7,CH8");
    QByteArray out = ShiftJis::Encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    const int n = int(trace.Samples.size());
    QByteArray row;
    for (int j = 0; j < n; ++j) {
        const TTraceSample &sample = trace.At(j);
        row = QByteArray::number(j);
        for (int c = 0; c < 8; ++c) {
            row += ',';
            if (sample.IsGap(c))
                row += "--";
            else if (!trace.Possible[size_t(c)] || sample.IsNoData(c))
                row += '-';
            else
                row += QByteArray::number(qlonglong(sample.Value(c)));
        }
        row += "\r\n";
        out += row;
    }
    return out;
}

bool TTraceFile::Read(const QByteArray &bytes, TTrace &trace)
{
    const QString text = ShiftJis::Decode(bytes);
    QStringList lines = text.split(QStringLiteral("\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    trace.Setting.Mode = 1;
    trace.Reset();
    TTraceSetting &s = trace.Setting;
    auto reject = [&trace] {
        trace.AmpCode = -1;
        return false;
    };
    for (int k = 0; k < lines.size(); ++k) {
        QString line = lines[k];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringList f = SplitCommaText(line);
        if (k < 19) {
            if (f.isEmpty() || f[0] != QLatin1String(HeaderKeys[k]))
                return reject();
            int32_t v = 0;
            int64_t v64 = 0;
            switch (k) {
            case 0:
                if (!Int32Field(f, v))
                    return reject();
                trace.AmpCode = v;
                break;
            case 1: trace.AmpType = f.value(1); break;
            case 2: trace.MotType = f.value(1); break;
            case 3:
                if (!Int32Field(f, s.Mode))
                    return reject();
                break;
            case 4:
                if (!Int32Field(f, s.TriggerChannel))
                    return reject();
                break;
            case 5:
                if (f.size() < 2 || !ParseInteger(f[1], v64))
                    return reject();
                s.TriggerLevel = int64_t(uint32_t(v64));
                break;
            case 6:
                if (!Int32Field(f, s.TriggerEdge))
                    return reject();
                break;
            case 7:
                if (!Int32Field(f, s.TriggerPosition))
                    return reject();
                break;
            case 8:
                if (!Int32Field(f, s.Sampling))
                    return reject();
                break;
            case 17:
                if (!Int32Field(f, trace.TriggerNo))
                    return reject();
                break;
            case 18: trace.Reset(); break;
            default:
                if (!Int32Field(f, v))
                    return reject();
                if (k <= 12)
                    s.Analog[size_t(k - 9)] = v;
                else
                    s.Digital[size_t(k - 13)] = v;
                break;
            }
            continue;
        }
        int64_t row = 0;
        if (f.size() < 9 || !ParseInteger(f[0], row) || row < 0 || row >= int64_t(trace.Samples.size()))
            return reject();
        TTraceSample &sample = trace.Samples[size_t(row)];
        for (int c = 0; c < 8; ++c) {
            const QString &cell = f[c + 1];
            if (cell == QLatin1String("--")) {
                if (c < 4)
                    sample.analog[size_t(c)] = TTraceSample::Gap;
                else
                    sample.digital[size_t(c - 4)] = TTraceSample::GapBit;
                continue;
            }
            if (cell == QLatin1String("-"))
                continue;
            int64_t v = 0;
            if (!ParseInteger(cell, v))
                return reject();
            if (c < 4)
                sample.analog[size_t(c)] = v;
            else
                sample.digital[size_t(c - 4)] = int8_t(v);
        }
    }
    // A file that ends inside the header still gets the samples of its mode.
    if (int(trace.Samples.size()) != TTrace::SampleCount(s.Mode))
        trace.Reset();
    return true;
}

bool TTraceFile::Save(const QString &fileName, const TTrace &trace, const TTraceTables &tables, QString *error)
{
    const QByteArray bytes = Write(trace, tables);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool TTraceFile::Load(const QString &fileName, TTrace &trace, bool &rejected, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    rejected = !Read(file.readAll(), trace);
    return true;
}

QByteArray TTraceFile::Csv(const TTrace &trace, const TTraceTables &tables)
{
    const TTraceModel *m = tables.ModelOfCode(trace.AmpCode);
    const double period = SamplingMs(trace, tables);
    QStringList head{QStringLiteral("t[ms]")};
    std::vector<int> shown;
    for (int c = 0; c < 8; ++c) {
        if (!trace.InUse[size_t(c)])
            continue;
        shown.push_back(c);
        QString name = c < 4 ? tables.AnalogName(m, trace.Setting.Analog[size_t(c)]) +
                                   TTraceTables::UnitText(tables.AnalogUnit(m, trace.Setting.Analog[size_t(c)]))
                             : tables.DigitalName(m, trace.Setting.Digital[size_t(c - 4)]);
        name = QStringLiteral("CH%1 %2").arg(c + 1).arg(name).trimmed();
        if (name.contains(u',') || name.contains(u'"'))
            name = Quoted(name);
        head << name;
    }
    QByteArray out = head.join(u',').toUtf8() + '\n';
    for (int j = 0; j < int(trace.Samples.size()); ++j) {
        const TTraceSample &s = trace.At(j);
        out += FormatDecimal(j * period).toLatin1();
        for (int c : shown) {
            out += ',';
            if (s.HasValue(c))
                out += QByteArray::number(qlonglong(s.Value(c)));
        }
        out += '\n';
    }
    return out;
}

bool TTraceFile::SaveCsv(const QString &fileName, const TTrace &trace, const TTraceTables &tables, QString *error)
{
    const QByteArray bytes = Csv(trace, tables);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
