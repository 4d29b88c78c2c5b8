#include "params/RPVerify.h"

#include "ZnLibs/ZnPrintSettings.h"
#include "ZnLibs/ZnPrinter.h"
#include "params/DMVerify.h"

#include <QFileInfo>
#include <QPrinter>

namespace {

constexpr int Left = 150;
constexpr int Right = 2720;
constexpr int HalfWidth = 1285;
constexpr int SideWidth = 643;

const QList<int> SideWidths{60, 80, 500, 300, 160, 185};

} // namespace

TRPVerify::TRPVerify(QWidget *owner) : TRPParameterBase(QStringLiteral("Matching"), tr("パラメータ照合結果一覧"), owner)
{
    // The two sides need the paper's long edge across, until the user
    // chooses otherwise.
    if (!TZnPrintSettings::Exists(ReportKey()))
        Printer().Printer().setPageOrientation(QPageLayout::Landscape);
}

void TRPVerify::SetContent(const TDMVerify &verify, bool isJapanese)
{
    japanese = isJapanese;
    rows.clear();
    for (int i = 0; i < verify.DifferenceCount(); ++i) {
        QStringList texts;
        for (TDMVerify::TSide side : {TDMVerify::sdAmp, TDMVerify::sdDisk})
            for (int c = 0; c < TDMVerify::ColumnCount; ++c)
                texts.append(verify.CellText(i, side, TDMVerify::TColumn(c)));
        rows.append(texts);
    }
    ampMotor.clear();
    ampModel.clear();
    diskMotor.clear();
    diskModel = verify.FileModelText();
    fileName = verify.FileName();
    fileDate = verify.FileDate();
}

void TRPVerify::DrawHeader(TZnPrinter &p, int page)
{
    DrawTitle(p, Left, Right, 250);
    DrawDateAndPage(p, 2270, 250, page);
    const int top = 364;
    p.Rectangle(Left, top, Right + 1, 478 + 1);
    auto text = [&](int x, int y, int width, const QString &s, TZnPrinter::THAlign align) {
        p.TextBox(QRect(x + CellMargin, y, width - 2 * CellMargin, RowHeight), s, align, TZnPrinter::vaCentre, false);
    };
    const int middle = Left + HalfWidth;
    p.MoveTo(middle, top);
    p.LineTo(middle, 478);
    text(Left, top, HalfWidth, tr("アンプ"), TZnPrinter::haCentre);
    text(middle, top, HalfWidth, tr("ディスク"), TZnPrinter::haCentre);
    int y = top + RowHeight;
    text(Left, y, SideWidth, tr("モータ型番 : %1").arg(ampMotor.trimmed()), TZnPrinter::haLeft);
    text(Left + SideWidth, y, SideWidth, tr("アンプ型番 : %1").arg(ampModel.trimmed()), TZnPrinter::haLeft);
    text(middle, y, SideWidth, tr("モータ型番 : %1").arg(diskMotor.trimmed()), TZnPrinter::haLeft);
    text(middle + SideWidth, y, SideWidth, tr("アンプ型番 : %1").arg(diskModel.trimmed()), TZnPrinter::haLeft);
    y += RowHeight;
    text(middle, y, SideWidth, tr("ファイル名 : %1").arg(QFileInfo(fileName).fileName()), TZnPrinter::haLeft);
    const QString date = fileDate.isValid() ? DateText(fileDate, japanese) : QString();
    text(middle + SideWidth, y, SideWidth,
         (japanese ? tr("ファイル日時 : ") : QStringLiteral("File Date : ")) + date, TZnPrinter::haLeft);
}

void TRPVerify::BuildPages(TZnPrinter &p)
{
    built = printDate.isValid() ? printDate : QDateTime::currentDateTime();
    QList<TColumnSpec> columns;
    for (int side = 0; side < 2; ++side)
        for (int c = 0; c < SideWidths.size(); ++c)
            columns.append({SideWidths[c], c < 2});
    QStringList titles;
    for (int side = 0; side < 2; ++side)
        for (int c = 0; c < TDMVerify::ColumnCount; ++c)
            titles.append(TDMVerify::ColumnTitle(TDMVerify::TColumn(c)));
    const int titleLines = RowLines(p, columns, titles);
    const int limit = PageLimit(p);

    int page = 1;
    int y = 0;
    auto head = [&] {
        DrawHeader(p, page);
        y = 516;
        y = DrawRow(p, Left, y, {{HalfWidth, true}, {HalfWidth, true}}, {tr("アンプ"), tr("ディスク")}, 1, true);
        y = DrawRow(p, Left, y, columns, titles, titleLines, true);
    };
    head();
    for (const QStringList &row : rows) {
        const int lines = RowLines(p, columns, row);
        if (y + lines * RowHeight > limit) {
            p.NewPage();
            ++page;
            head();
        }
        y = DrawRow(p, Left, y, columns, row, lines);
    }
}
