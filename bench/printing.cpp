// A report prepares all its pages before the preview opens, and the preview
// repaints a page on every scroll and zoom. Both are timed on a dense list
// page (a parameter list: 60 wrapped rows of eight cells).
#include "ZnLibs/FMZnPreview.h"
#include "ZnLibs/ZnPrinter.h"
#include "params/RPUserParameter.h"

#include <QImage>
#include <QPainter>
#include <QScrollArea>
#include <benchmark/benchmark.h>

namespace {

void BuildList(TZnPrinter &p, int pages)
{
    static const int widths[] = {80, 150, 500, 300, 160, 105, 105, 300};
    const QRect area = p.PrintableRect().adjusted(250, 100, -150, -100);
    for (int n = 1; n <= pages; ++n) {
        if (n > 1)
            p.NewPage();
        p.SetFontName(QStringLiteral("ＭＳ ゴシック"));
        p.SetFontHeight(16);
        p.SetFontStyle(false, false, true);
        p.TextBox(QRect(area.left(), area.top(), area.width(), 70), QStringLiteral("パラメータ一覧"),
                  TZnPrinter::haCentre, false);
        p.SetFontStyle(false);
        p.SetFontHeight(8);
        p.TextBox(QRect(area.right() - 450, area.top(), 450, 38), QStringLiteral("ページ : %1").arg(n),
                  TZnPrinter::haLeft, false);
        int y = area.top() + 200;
        for (int r = 0; y < area.bottom() - 120; ++r) {
            const QString cells[] = {QString::number(r), QStringLiteral("PA%1").arg(r, 3, 10, QChar(u'0')),
                                     QStringLiteral("速度ループ比例ゲイン 第%1 Speed loop proportional gain").arg(r),
                                     QString::number(1000 + r), QStringLiteral("rad/s"), QStringLiteral("1"),
                                     QStringLiteral("30000"), QString::number(500 + r)};
            int lines = 1;
            for (int c = 0; c < 8; ++c)
                lines = qMax(lines, p.TextLines(widths[c] - 10, cells[c]));
            const int h = 38 * lines;
            int x = area.left();
            for (int c = 0; c < 8; ++c) {
                p.Rectangle(x, y, x + widths[c], y + h);
                p.TextBox(QRect(x + 5, y, widths[c] - 10, h), cells[c],
                          c == 0 ? TZnPrinter::haCentre : TZnPrinter::haLeft, TZnPrinter::vaCentre, true);
                x += widths[c];
            }
            y += h;
        }
    }
}

void BM_Prepare50Pages(benchmark::State &state)
{
    TZnPrinter printer(QStringLiteral("bench"));
    printer.SetPageBuilder([](TZnPrinter &p) { BuildList(p, 50); });
    for (auto _ : state) {
        printer.Prepare();
        benchmark::DoNotOptimize(printer.PageCount());
    }
    state.counters["pages"] = printer.PageCount();
}
BENCHMARK(BM_Prepare50Pages)->Unit(benchmark::kMillisecond);

void BM_PreviewRepaint100(benchmark::State &state)
{
    TZnPrinter printer(QStringLiteral("bench"));
    printer.SetPageBuilder([](TZnPrinter &p) { BuildList(p, 2); });
    printer.Prepare();
    TFMZnPreview preview(printer);
    preview.setWindowState(Qt::WindowNoState);
    preview.resize(1280, 1000);
    preview.show();
    preview.SetZoom(100);
    QWidget *view = preview.PageView();
    QImage target(view->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["zoom"] = preview.Zoom();
}
BENCHMARK(BM_PreviewRepaint100)->Unit(benchmark::kMillisecond);

// The parameter report of 1000 parameters in 10 groups: the pages built
// from the module's texts, as preview, print and PDF do first.
void BM_ParameterReport1000(benchmark::State &state)
{
    TParameterReport content;
    content.empty = false;
    content.motorModel = QStringLiteral("TVM-A0100");
    content.ampModel = QStringLiteral("TVA-S10A");
    content.levelName = QStringLiteral("アドバンスドレベル");
    content.systemTitles = {QStringLiteral("ﾍﾟｰｼﾞ"), QStringLiteral("名称"), QStringLiteral("現在設定値")};
    content.generalTitles = {QStringLiteral("ﾍﾟｰｼﾞ"), QStringLiteral("シンボル"), QStringLiteral("名称"),
                             QStringLiteral("現在設定値"), QStringLiteral("単位"), QStringLiteral("下限値"),
                             QStringLiteral("上限値"), QStringLiteral("標準設定値")};
    for (int k = 0; k < 16; ++k)
        content.systemRows.append({QStringLiteral("%1").arg(k, 2, 16, QChar(u'0')), QStringLiteral("アンプ容量 %1").arg(k),
                                   QStringLiteral("200W")});
    for (int g = 0; g < 10; ++g) {
        TParameterReport::TGroup group{g, {}};
        for (int r = 0; r < 100; ++r)
            group.rows.append({QStringLiteral("%1").arg(r, 2, 16, QChar(u'0')), QStringLiteral("PA%1").arg(r),
                               QStringLiteral("速度ループ比例ゲイン 第%1 Speed loop proportional gain").arg(r),
                               QString::number(1000 + r), QStringLiteral("rad/s"), QStringLiteral("1"),
                               QStringLiteral("30000"), QString::number(500 + r)});
        content.groups.append(group);
    }
    TRPUserParameter report;
    report.SetContent(content);
    for (auto _ : state) {
        report.Prepare();
        benchmark::DoNotOptimize(report.Printer().PageCount());
    }
    state.counters["pages"] = report.Printer().PageCount();
}

} // namespace
BENCHMARK(BM_ParameterReport1000)->Unit(benchmark::kMillisecond);
