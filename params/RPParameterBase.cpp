#include "params/RPParameterBase.h"

#include "ZnLibs/ZnPrinter.h"

#include <QLocale>
#include <algorithm>
#include <QPen>

namespace {

// A word wider than its cell would be cut off: let it break anywhere.
QString Breakable(const TZnPrinter &p, int width, const QString &text)
{
    for (const QString &word : text.split(u' '))
        if (p.TextWidth(word) > width) {
            QString out;
            for (QChar c : text) {
                if (!out.isEmpty() && !c.isLowSurrogate())
                    out += QChar(0x200B);
                out += c;
            }
            return out;
        }
    return text;
}

} // namespace

TRPParameterBase::TRPParameterBase(const QString &reportKey, const QString &title, QWidget *owner)
    : TRPCustom(reportKey, title, owner)
{
}

QString TRPParameterBase::DateText(const QDateTime &when, bool japanese)
{
    if (japanese)
        return when.toString(QStringLiteral("yyyy/MM/dd hh:mm"));
    static const char *const months[] = {"Jan.", "Feb.", "Mar.", "Apr.", "May.", "Jun.",
                                         "Jul.", "Aug.", "Sep.", "Oct.", "Nov.", "Dec."};
    const QDate d = when.date();
    return QStringLiteral("%1/%2/%3 %4")
        .arg(QLatin1String(months[std::clamp(d.month(), 1, 12) - 1]))
        .arg(d.day())
        .arg(d.year())
        .arg(when.toString(QStringLiteral("hh:mm")));
}

void TRPParameterBase::GothicFont(TZnPrinter &p)
{
    // Where the Windows gothic is missing, the IPA gothic of the same widths
    // stands in (then the system's CJK gothic) rather than the page font's
    // mincho.
    p.SetFontName(QStringLiteral("Noto Sans CJK JP"));
    p.SetFontName(QStringLiteral("IPAGothic"));
    p.SetFontName(QStringLiteral("MS Gothic"));
    p.SetFontName(QStringLiteral("ＭＳ ゴシック"));
}

void TRPParameterBase::PlainFont(TZnPrinter &p)
{
    GothicFont(p);
    p.SetFontHeight(8);
    p.SetFontStyle(false);
    p.SetPen(QPen(Qt::black, 1));
    p.SetBrush(Qt::NoBrush);
}

void TRPParameterBase::DrawTitle(TZnPrinter &p, int left, int right, int y)
{
    GothicFont(p);
    p.SetFontHeight(16);
    p.SetFontStyle(false, false, true);
    p.TextBox(QRect(left, y, right - left, p.LineHeight() + 10), Title(), TZnPrinter::haCentre, false);
    PlainFont(p);
}

void TRPParameterBase::DrawDateAndPage(TZnPrinter &p, int x, int y, int page)
{
    PlainFont(p);
    const int width = p.PaperSize().width() - x;
    const QString date = (japanese ? tr("印刷日時 : ") : QStringLiteral("Print Date : ")) + DateText(built, japanese);
    p.TextBox(QRect(x, y, width, RowHeight), date, TZnPrinter::haLeft, false);
    p.TextBox(QRect(x, y + RowHeight, width, RowHeight), tr("ページ : %1").arg(page), TZnPrinter::haLeft, false);
}

int TRPParameterBase::RowLines(TZnPrinter &p, const QList<TColumnSpec> &columns, const QStringList &texts) const
{
    int lines = 1;
    for (int c = 0; c < columns.size() && c < texts.size(); ++c)
        if (!texts[c].isEmpty())
            lines = std::max(lines, p.TextLines(columns[c].width - 2 * CellMargin,
                                                Breakable(p, columns[c].width - 2 * CellMargin, texts[c])));
    return lines;
}

int TRPParameterBase::DrawRow(TZnPrinter &p, int x, int y, const QList<TColumnSpec> &columns, const QStringList &texts,
                              int lines, bool allCentred)
{
    const int height = lines * RowHeight;
    for (int c = 0; c < columns.size(); ++c) {
        const int w = columns[c].width;
        p.Rectangle(x, y, x + w + 1, y + height + 1);
        if (c < texts.size() && !texts[c].isEmpty())
            p.TextBox(QRect(x + CellMargin, y, w - 2 * CellMargin, height), Breakable(p, w - 2 * CellMargin, texts[c]),
                      allCentred || columns[c].centred ? TZnPrinter::haCentre : TZnPrinter::haLeft,
                      TZnPrinter::vaCentre, true);
        x += w;
    }
    return y + height;
}

int TRPParameterBase::PageLimit(TZnPrinter &p)
{
    return p.PrintableRect().bottom() - 50;
}
