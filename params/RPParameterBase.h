#pragma once

#include "printing/RPCustom.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

class TZnPrinter;

// What the parameter list and the verification result share on paper: the
// font, the underlined title, print date and page number, dates in the
// display language, and tables of framed cells whose text wraps and whose
// row grows to the tallest cell.
class TRPParameterBase : public TRPCustom
{
    Q_DECLARE_TR_FUNCTIONS(TRPParameterBase)
public:
    TRPParameterBase(const QString &reportKey, const QString &title, QWidget *owner);

    // The date printed; the time of building the pages when not set.
    void SetPrintDate(const QDateTime &when) { printDate = when; }
    void SetJapanese(bool value) { japanese = value; }

    // "yyyy/mm/dd hh:nn", in English "Jan./d/yyyy hh:nn".
    static QString DateText(const QDateTime &when, bool japanese);

protected:
    enum { RowHeight = 38, CellMargin = 5 };

    struct TColumnSpec
    {
        int width;
        bool centred;
    };

    // "ＭＳ ゴシック" or the nearest gothic the system has.
    static void GothicFont(TZnPrinter &p);
    // Report font at 8 points, thin black pen.
    void PlainFont(TZnPrinter &p);
    // The title at 16 points, underlined, centred over left..right.
    void DrawTitle(TZnPrinter &p, int left, int right, int y);
    // "印刷日時 : ..." at x, y and "ページ : n" below it.
    void DrawDateAndPage(TZnPrinter &p, int x, int y, int page);
    // Lines the tallest cell of the row needs (at least 1).
    int RowLines(TZnPrinter &p, const QList<TColumnSpec> &columns, const QStringList &texts) const;
    // One row of framed cells at y; returns the y below it.
    int DrawRow(TZnPrinter &p, int x, int y, const QList<TColumnSpec> &columns, const QStringList &texts, int lines,
                bool allCentred = false);
    // The y a row must not pass: the printable area's bottom less 5 mm.
    static int PageLimit(TZnPrinter &p);

    bool japanese = true;
    QDateTime printDate;
    QDateTime built; // the print date of the pages being built
};
