#include "params/RPUserParameter.h"

#include "ZnLibs/ZnPrinter.h"

#include <QFileInfo>

namespace {

constexpr int Left = 250;
constexpr int Right = 1950;
constexpr int BodyTop = 366;

} // namespace

TRPUserParameter::TRPUserParameter(QWidget *owner)
    : TRPParameterBase(QStringLiteral("Parameter"), tr("パラメータ一覧"), owner)
{
}

void TRPUserParameter::SetContent(const TParameterReport &report)
{
    content = report;
    japanese = report.japanese;
}

void TRPUserParameter::DrawHeader(TZnPrinter &p, int page)
{
    DrawTitle(p, Left, Right, 100);
    DrawDateAndPage(p, 1500, 100, page);
    int y = 214;
    const int middle = 1100;
    p.Rectangle(Left, y, Right + 1, 328 + 1);
    auto line = [&](int from, int to, const QString &text) {
        p.TextBox(QRect(from + CellMargin, y, to - from - 2 * CellMargin, RowHeight), text, TZnPrinter::haLeft,
                  TZnPrinter::vaCentre, false);
    };
    line(Left, middle, tr("モータ型番 : %1").arg(content.motorModel.trimmed()));
    line(middle, Right, tr("アンプ型番 : %1").arg(content.ampModel.trimmed()));
    y += RowHeight;
    if (content.fileLine) {
        line(Left, middle, tr("ファイル名 : %1").arg(QFileInfo(content.fileName).fileName()));
        const QString date = content.fileDate.isValid() ? DateText(content.fileDate, japanese) : QString();
        line(middle, Right, (japanese ? tr("ファイル日時 : ") : QStringLiteral("File Date : ")) + date);
    }
    y += RowHeight;
    line(Left, Right, tr("表示レベル : %1").arg(content.levelName));
}

void TRPUserParameter::BuildPages(TZnPrinter &p)
{
    built = printDate.isValid() ? printDate : QDateTime::currentDateTime();
    int page = 1;
    DrawHeader(p, page);
    const int limit = PageLimit(p);
    int y = BodyTop;
    auto newPage = [&] {
        p.NewPage();
        DrawHeader(p, ++page);
        y = BodyTop;
    };
    auto heading = [&](const QString &text) {
        p.TextBox(QRect(Left, y, Right - Left, RowHeight), text, TZnPrinter::haLeft, TZnPrinter::vaCentre, false);
        y += RowHeight;
    };

    // System section.
    const QList<TColumnSpec> systemColumns{{80, true}, {650, false}, {460, false}};
    heading(tr("システムパラメータ"));
    y = DrawRow(p, Left, y, systemColumns, content.systemTitles, RowLines(p, systemColumns, content.systemTitles), true);
    for (const QStringList &row : content.systemRows) {
        const int lines = RowLines(p, systemColumns, row);
        if (y + lines * RowHeight > limit) {
            newPage();
            heading(tr("システムパラメータ"));
            y = DrawRow(p, Left, y, systemColumns, content.systemTitles,
                        RowLines(p, systemColumns, content.systemTitles), true);
        }
        y = DrawRow(p, Left, y, systemColumns, row, lines);
    }

    // General sections, one per group.
    const QList<TColumnSpec> columns{{80, true},   {150, false}, {500, false}, {300, false},
                                     {160, false}, {105, false}, {105, false}, {300, false}};
    const int titleLines = RowLines(p, columns, content.generalTitles);
    for (const TParameterReport::TGroup &group : content.groups) {
        const QString caption = tr("一般パラメータ [Group %1]").arg(QString::number(group.modeNo, 16));
        auto groupHead = [&] {
            heading(caption);
            y = DrawRow(p, Left, y, columns, content.generalTitles, titleLines, true);
        };
        const int first = group.rows.isEmpty() ? 1 : RowLines(p, columns, group.rows.first());
        if (y + (first + titleLines + 2) * RowHeight > limit)
            newPage();
        else if (y > BodyTop)
            y += RowHeight;
        groupHead();
        for (const QStringList &row : group.rows) {
            const int lines = RowLines(p, columns, row);
            if (y + lines * RowHeight > limit) {
                newPage();
                groupHead();
            }
            y = DrawRow(p, Left, y, columns, row, lines);
        }
    }
}
