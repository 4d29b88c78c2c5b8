#include "ZnLibs/ZnPrintTextMap.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPicture>
#include <QTextItem>

namespace {

// A paint device that draws nothing and keeps the text handed to it.
class TTextEngine : public QPaintEngine
{
public:
    explicit TTextEngine(TZnPrintTextMap &map) : QPaintEngine(QPaintEngine::AllFeatures), map(map) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    // Everything but text is dropped (the defaults fall back on each other).
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override {}
    void drawTiledPixmap(const QRectF &, const QPixmap &, const QPointF &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint *, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath &) override {}
    void drawLines(const QLineF *, int) override {}
    void drawLines(const QLine *, int) override {}
    void drawRects(const QRectF *, int) override {}
    void drawRects(const QRect *, int) override {}
    void drawEllipse(const QRectF &) override {}
    void drawEllipse(const QRect &) override {}
    void drawPoints(const QPointF *, int) override {}
    void drawPoints(const QPoint *, int) override {}
    void drawTextItem(const QPointF &, const QTextItem &item) override { map.AddText(item.text()); }
    Type type() const override { return QPaintEngine::User; }

private:
    TZnPrintTextMap &map;
};

class TTextDevice : public QPaintDevice
{
public:
    explicit TTextDevice(TZnPrintTextMap &map) : engine(map) {}
    QPaintEngine *paintEngine() const override { return &engine; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
        case PdmHeight:
            return 10000;
        case PdmWidthMM:
        case PdmHeightMM:
            return 1000;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 254;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 1 << 24;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    mutable TTextEngine engine;
};

// What a character is a form of: its compatibility form when that is one
// character (⼀ U+2F00 is 一, µ U+00B5 is μ), a blank for any white space.
char32_t Twin(char32_t c)
{
    const QString s = QString::fromUcs4(&c, 1);
    if (s.size() == 1 && s[0].isSpace())
        return U' ';
    const QList<uint> form = s.normalized(QString::NormalizationForm_KC).toUcs4();
    return form.size() == 1 ? char32_t(form[0]) : c;
}

// Rewrites the destination code points of one bfchar or bfrange section
// (from..to in pdf). Entries are "<src> <dst>" or "<lo> <hi> <dst>" or
// "<lo> <hi> [<dst> ...]"; a sequential range maps a run and stays as it is.
int RepairSection(QByteArray &pdf, qsizetype from, qsizetype to, bool ranges, const TZnPrintTextMap &map)
{
    int changed = 0;
    qsizetype i = from;
    while (i < to) {
        // The entry's source codes.
        const int sources = ranges ? 2 : 1;
        int seen = 0;
        while (i < to && seen < sources) {
            if (pdf[i] == '<') {
                const qsizetype close = pdf.indexOf('>', i);
                if (close < 0 || close > to)
                    return changed;
                i = close + 1;
                ++seen;
            } else {
                ++i;
            }
        }
        while (i < to && (pdf[i] == ' ' || pdf[i] == '\n' || pdf[i] == '\r'))
            ++i;
        if (i >= to)
            break;
        const bool list = pdf[i] == '[';
        if (ranges && !list) {
            // A sequential run "<lo> <hi> <dst>": skip its destination.
            const qsizetype close = pdf.indexOf('>', i);
            if (close < 0 || close > to)
                return changed;
            i = close + 1;
            continue;
        }
        const qsizetype end = list ? pdf.indexOf(']', i) : pdf.indexOf('>', i) + 1;
        if (end <= 0 || end > to)
            return changed;
        // Each destination: four hex digits are one BMP code point that a
        // twin of four digits can take without moving a byte.
        for (qsizetype j = i; j < end; ++j) {
            if (pdf[j] != '<')
                continue;
            const qsizetype close = pdf.indexOf('>', j);
            if (close < 0 || close > end)
                break;
            if (close - j == 5) {
                bool hex = false;
                const char32_t code = pdf.mid(j + 1, 4).toUInt(&hex, 16);
                const char32_t restored = hex ? map.Restore(code) : code;
                if (restored != code && restored <= 0xFFFF) {
                    const QByteArray digits = QByteArray::number(uint(restored), 16).toUpper().rightJustified(4, '0');
                    pdf.replace(j + 1, 4, digits);
                    ++changed;
                }
            }
            j = close;
        }
        i = end;
    }
    return changed;
}

} // namespace

void TZnPrintTextMap::AddText(const QString &text)
{
    for (const uint u : text.toUcs4()) {
        const char32_t c = char32_t(u);
        if (drawn.contains(c))
            continue;
        drawn.insert(c);
        twins[Twin(c)].append(c);
    }
}

void TZnPrintTextMap::AddPage(const QPicture &page)
{
    TTextDevice device(*this);
    QPainter painter(&device);
    painter.drawPicture(0, 0, page);
}

char32_t TZnPrintTextMap::Restore(char32_t c) const
{
    if (drawn.contains(c))
        return c;
    const char32_t form = Twin(c);
    // The plain form wins (a tab read back is a blank, not an ideographic
    // space); otherwise a twin only when it is the one.
    if (form != c && drawn.contains(form))
        return form;
    const QList<char32_t> candidates = twins.value(form);
    return candidates.size() == 1 ? candidates.front() : c;
}

int TZnPrintTextMap::Repair(QByteArray &pdf) const
{
    static const QByteArray mapStart = "/CIDInit /ProcSet findresource begin";
    int changed = 0;
    qsizetype at = 0;
    while ((at = pdf.indexOf(mapStart, at)) >= 0) {
        const qsizetype end = pdf.indexOf("endcmap", at);
        if (end < 0)
            break;
        for (const bool ranges : {false, true}) {
            const QByteArray open = ranges ? "beginbfrange" : "beginbfchar";
            const QByteArray close = ranges ? "endbfrange" : "endbfchar";
            qsizetype s = at;
            while ((s = pdf.indexOf(open, s)) >= 0 && s < end) {
                const qsizetype e = pdf.indexOf(close, s);
                if (e < 0 || e > end)
                    break;
                changed += RepairSection(pdf, s + open.size(), e, ranges, *this);
                s = e;
            }
        }
        at = end;
    }
    return changed;
}
