#pragma once

#include "ZnLibs/ZnPrinter.h"
#include "printing/RPCustom.h"

#include <QDir>
#include <QTemporaryDir>

// A report of n pages: a title, a framed box and a few wrapped Japanese and
// English lines per page, enough to see every drawing operation work.
class TRPSample : public TRPCustom
{
public:
    explicit TRPSample(int pages = 2, const QString &key = QStringLiteral("Sample"))
        : TRPCustom(key, QStringLiteral("サンプル帳票"), nullptr), pageTotal(pages)
    {
    }
    int pageTotal;
    int rowsPerPage = 10;

protected:
    void BuildPages(TZnPrinter &p) override
    {
        const QRect area = p.PrintableRect().adjusted(150, 150, -150, -150);
        for (int n = 1; n <= pageTotal; ++n) {
            if (n > 1)
                p.NewPage();
            p.SetFontName(QStringLiteral("ＭＳ ゴシック"));
            p.SetFontHeight(16);
            p.SetFontStyle(false, false, true);
            p.TextBox(QRect(area.left(), area.top(), area.width(), 80),
                      QStringLiteral("パラメータ一覧 Sample report"), TZnPrinter::haCentre, false);
            p.SetFontStyle(false);
            p.SetFontHeight(8);
            p.TextBox(QRect(area.right() - 600, area.top() + 100, 600, 40),
                      QStringLiteral("ページ : %1").arg(n), TZnPrinter::haRight, false);
            int y = area.top() + 200;
            for (int r = 0; r < rowsPerPage; ++r) {
                const QString name = QStringLiteral("速度ループ比例ゲイン %1 Speed loop gain").arg(r);
                const int lines = p.TextLines(480, name);
                const int h = 38 * lines;
                p.Rectangle(area.left(), y, area.left() + 500, y + h);
                p.Rectangle(area.left() + 500, y, area.left() + 800, y + h);
                p.TextBox(QRect(area.left() + 5, y, 490, h), name, TZnPrinter::haLeft, TZnPrinter::vaCentre, true);
                p.TextBox(QRect(area.left() + 505, y, 290, h), QString::number(100 * n + r),
                          TZnPrinter::haRight, TZnPrinter::vaCentre, false);
                y += h;
            }
            p.MoveTo(area.left(), y + 50);
            p.LineTo(area.right(), y + 50);
        }
    }
};

// Keeps the per-report printer settings in a file of its own.
class TPrintStoreScope
{
public:
    TPrintStoreScope();
    ~TPrintStoreScope();
    QString Path() const { return dir.filePath(QStringLiteral("Halvex.ini")); }
    QTemporaryDir dir;
};
