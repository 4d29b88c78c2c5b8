#include "monitor/RPAlarm.h"

#include "ZnLibs/ZnPrinter.h"
#include "monitor/DMAlarm.h"

#include <QFileInfo>
#include <QPen>

namespace {

QString OneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// A grid of cells with a frame around each, text centred in the header
// rows and left-aligned (with a margin) elsewhere. Returns the bottom.
int DrawGrid(TZnPrinter &p, int left, int top, const QList<int> &widths, const QList<QStringList> &rows,
             int headerRows, int rowHeight)
{
    const int margin = 15;
    int y = top;
    for (int r = 0; r < rows.size(); ++r) {
        const int height = r < headerRows ? 2 * rowHeight : rowHeight;
        int x = left;
        for (int c = 0; c < widths.size(); ++c) {
            const QRect cell(x, y, widths[c], height);
            p.Rectangle(cell.left(), cell.top(), cell.left() + cell.width(), cell.top() + cell.height());
            const QString text = c < rows[r].size() ? OneLine(rows[r][c]) : QString();
            const bool centred = r < headerRows || c == 0;
            p.TextBox(cell.adjusted(margin, 0, -margin, 0), text, centred ? TZnPrinter::haCentre : TZnPrinter::haLeft,
                      TZnPrinter::vaCentre, true);
            x += widths[c];
        }
        y += height;
    }
    return y;
}

} // namespace

TRPAlarm::TRPAlarm(QWidget *owner) : TRPCustom(QStringLiteral("AlarmHistory"), tr("アラーム履歴一覧"), owner) {}

void TRPAlarm::SetContent(const TDMAlarm &alarm, bool file)
{
    fileView = file;
    motorModel = alarm.motorModel;
    ampModel = alarm.ampModel;
    fileName = alarm.fileName;
    fileDate = alarm.fileDate;
    nowRow = QStringList{QStringLiteral("Now"), alarm.now.symbol, alarm.now.name, alarm.now.state};
    elapsed = alarm.elapsed;
    for (int k = 0; k < TDMAlarm::Shown; ++k) {
        const TDMAlarm::TRow &row = alarm.history[size_t(k)];
        historyRows[size_t(k)] = QStringList{TDMAlarm::HistoryLabel(k), row.symbol, row.name, row.state};
    }
}

void TRPAlarm::BuildPages(TZnPrinter &p)
{
    const QRect area = p.PrintableRect();
    const int left = area.left() + 150;
    const int width = area.width() - 300;
    int y = area.top() + 150;

    p.SetPen(QPen(Qt::black, 0));
    p.SetBrush(Qt::NoBrush);
    p.SetFontHeight(9);
    const int line = p.LineHeight() + 20;
    const QDateTime when = printDate.isValid() ? printDate : QDateTime::currentDateTime();
    p.TextBox(QRect(left, y, width, line), tr("印刷日時 : %1").arg(when.toString(QStringLiteral("yyyy/MM/dd hh:mm"))),
              TZnPrinter::haRight, false);
    p.TextBox(QRect(left, area.bottom() - 150 - line, width, line), tr("- %1 -").arg(1), TZnPrinter::haCentre, false);

    p.SetFontHeight(16);
    p.SetFontStyle(true);
    const int titleHeight = p.LineHeight() + 40;
    y += line;
    p.TextBox(QRect(left, y, width, titleHeight), Title(), TZnPrinter::haCentre, false);
    y += titleHeight + 60;

    p.SetFontHeight(10);
    p.SetFontStyle(false);
    const int row = p.LineHeight() + 50;
    QStringList heading{tr("モータ型番 : %1").arg(motorModel.trimmed()), tr("アンプ型番 : %1").arg(ampModel.trimmed())};
    if (fileView) {
        heading << tr("ファイル名 : %1").arg(QFileInfo(fileName).fileName());
        heading << tr("ファイル日付 : %1").arg(fileDate.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")));
    }
    for (const QString &text : heading) {
        p.TextBox(QRect(left, y, width, row), text, TZnPrinter::haLeft, false);
        y += row;
    }
    y += 60;

    const QList<int> widths{width * 12 / 100, width * 20 / 100, width * 43 / 100,
                            width - width * 12 / 100 - width * 20 / 100 - width * 43 / 100};
    auto section = [&](const QString &caption) {
        p.SetFontStyle(true);
        p.TextBox(QRect(left, y, width, row), caption, TZnPrinter::haLeft, false);
        p.SetFontStyle(false);
        y += row;
    };

    section(TDMAlarm::NowCaption());
    y = DrawGrid(p, left, y, widths, {TDMAlarm::ColumnHeaders(), nowRow}, 1, row);
    y += 40;
    y = DrawGrid(p, left, y, {widths[0] + widths[1], widths[2] + widths[3]},
                 {QStringList{TDMAlarm::ElapsedCaption(), elapsed}}, 0, row);
    y += 100;

    section(TDMAlarm::HistoryCaption());
    QList<QStringList> rows{TDMAlarm::ColumnHeaders()};
    for (const QStringList &r : historyRows)
        rows << r;
    DrawGrid(p, left, y, widths, rows, 1, row);
}
