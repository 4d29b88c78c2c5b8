#include "SampleReport.h"

#include "ZnLibs/FMZnPrintOffset.h"
#include "ZnLibs/FMZnPreview.h"
#include "ZnLibs/ZnPrintGray.h"
#include "ZnLibs/ZnPrinter.h"

#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <gtest/gtest.h>

namespace {

// Plays page n at 1 pixel per millimetre * scale (paper coordinates / 10 * scale).
QImage Render(const TZnPrinter &p, int page, double pixelsPerMm = 2)
{
    const QSize paper = p.PaperSize();
    QImage image(qRound(paper.width() / 10.0 * pixelsPerMm), qRound(paper.height() / 10.0 * pixelsPerMm),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    p.DrawPage(painter, page, QRectF(image.rect()));
    return image;
}

bool Dark(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

} // namespace

TEST(PageStore, ConvertsTenthsOfMillimetresAndFontHeights)
{
    struct Case { int tenths; double dpi; int pixels; };
    for (const Case &c : {Case{254, 600, 600}, Case{2100, 1200, 9921}, Case{1, 96, 0}, Case{2, 96, 1},
                          Case{-254, 300, -300}, Case{2970, 300, 3508}}) {
        EXPECT_EQ(TZnPrinter::ToDevice(c.tenths, c.dpi), c.pixels) << c.tenths << " at " << c.dpi;
    }
    EXPECT_EQ(TZnPrinter::FromDevice(600, 600), 254);
    EXPECT_EQ(TZnPrinter::FromDevice(118, 1200), 25);   // 2.497 mm
    EXPECT_EQ(TZnPrinter::FromDevice(10, 0), 0);

    TZnPrinter p;
    // points / 72 * 254: 10 pt is 3.53 mm, 8 pt 2.82 mm, 16 pt 5.64 mm.
    EXPECT_EQ(p.FontHeightFor(10), 35);
    EXPECT_EQ(p.FontHeightFor(8), 28);
    EXPECT_EQ(p.FontHeightFor(16), 56);
}

TEST(PageStore, RecordsPagesInPaperUnits)
{
    TZnPrinter p(QStringLiteral("t"));
    p.Printer().setPageSize(QPageSize(QPageSize::A4));
    p.Printer().setPageOrientation(QPageLayout::Portrait);
    int built = 0;
    p.SetPageBuilder([&](TZnPrinter &s) {
        ++built;
        s.SetBrush(Qt::black);
        s.Rectangle(1000, 1000, 1100, 1100);    // 10 mm square at 100 mm, 100 mm
        s.NewPage();
        s.SetPen(QPen(Qt::black, 10));
        s.MoveTo(0, 500);
        s.LineTo(2100, 500);                    // a 1 mm line at 50 mm
        s.NewPage();
    });
    p.Prepare();
    EXPECT_EQ(built, 1);
    EXPECT_TRUE(p.Finished());
    EXPECT_EQ(p.PageCount(), 3);
    EXPECT_EQ(p.PaperSize(), QSize(2100, 2970));
    // A device without unprintable margins (the PDF writer here) still
    // leaves 5 mm, so report text never sits on the sheet's edge.
    p.Printer().setOutputFormat(QPrinter::PdfFormat);
    p.Prepare();
    EXPECT_EQ(p.PrintableRect(), QRect(50, 50, 2000, 2870));
    built = 1;

    const QImage one = Render(p, 1);
    EXPECT_TRUE(Dark(one, 210, 210));           // inside the square (105 mm)
    EXPECT_FALSE(Dark(one, 190, 210));          // left of it (95 mm)
    EXPECT_FALSE(Dark(one, 230, 210));          // right of it (115 mm)
    const QImage two = Render(p, 2);
    EXPECT_TRUE(Dark(two, 50, 100));
    EXPECT_FALSE(Dark(two, 50, 120));
    // The third page is empty.
    const QImage three = Render(p, 3, 0.5);
    int ink = 0;
    for (int y = 0; y < three.height(); ++y)
        for (int x = 0; x < three.width(); ++x)
            ink += Dark(three, x, y);
    EXPECT_EQ(ink, 0);

    // Preparing again rebuilds the pages instead of adding to them.
    p.Prepare();
    EXPECT_EQ(p.PageCount(), 3);
    EXPECT_EQ(built, 2);

    // Landscape swaps the paper.
    p.Printer().setPageOrientation(QPageLayout::Landscape);
    p.Prepare();
    EXPECT_EQ(p.PaperSize(), QSize(2970, 2100));
}

TEST(PageStore, NewPagesStartWithTransparentBrushAndPageFont)
{
    TZnPrinter p;
    p.SetPageBuilder([](TZnPrinter &s) {
        s.SetBrush(Qt::black);
        s.SetFontHeight(20);
        s.NewPage();
        EXPECT_EQ(s.Brush().style(), Qt::NoBrush);
        EXPECT_EQ(s.Font().pixelSize(), s.FontHeightFor(10));
        s.SetPen(QPen(Qt::black, 10));
        s.Rectangle(1000, 1000, 1100, 1100);   // a frame only
    });
    p.Prepare();
    const QImage page = Render(p, 2);
    EXPECT_FALSE(Dark(page, 210, 210));
    EXPECT_TRUE(Dark(page, 200, 210));
}

TEST(PageStore, TextBoxesAlignAndWrap)
{
    TZnPrinter p;
    const QString word = QStringLiteral("WWWW");
    int width = 0;
    int lines = 0;
    p.SetPageBuilder([&](TZnPrinter &s) {
        s.SetFontHeight(20);
        width = s.TextWidth(word);
        lines = s.TextLines(width + 10, word + QStringLiteral(" ") + word + QStringLiteral(" ") + word);
        s.TextBox(QRect(0, 0, 2000, 200), word, TZnPrinter::haRight, TZnPrinter::vaBottom, false);
        s.TextBox(QRect(0, 300, 2000, 200), word, TZnPrinter::haLeft, TZnPrinter::vaTop, false);
        s.TextBox(QRect(0, 600, 2000, 200), word, TZnPrinter::haCentre, TZnPrinter::vaCentre, false);
    });
    p.Prepare();
    EXPECT_GT(width, 100);
    EXPECT_EQ(lines, 3);

    // Where the ink lies, in millimetre columns and rows of the rendering.
    const QImage page = Render(p, 1, 1);
    auto inkIn = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (Dark(page, x, y))
                    return true;
        return false;
    };
    const int w = width / 10 + 1;
    EXPECT_TRUE(inkIn(200 - w, 200, 10, 20));      // right, bottom
    EXPECT_FALSE(inkIn(0, 150, 0, 20));
    EXPECT_FALSE(inkIn(150, 200, 0, 8));
    EXPECT_TRUE(inkIn(0, w, 30, 38));              // left, top
    EXPECT_FALSE(inkIn(w + 5, 200, 30, 50));
    EXPECT_TRUE(inkIn(100 - w, 100 + w, 66, 74));  // centred both ways
    EXPECT_FALSE(inkIn(0, 80, 60, 80));
    EXPECT_FALSE(inkIn(100 - w, 100 + w, 60, 64));
}

TEST(PageStore, StretchesBitmapsAndConvertsToGrey)
{
    QImage bitmap(2, 1, QImage::Format_ARGB32);
    bitmap.setPixel(0, 0, qRgb(255, 0, 0));
    bitmap.setPixel(1, 0, qRgb(0, 0, 255));
    TZnPrinter p;
    p.SetPageBuilder([&](TZnPrinter &s) { s.StretchBitmap(QRect(0, 0, 200, 100), bitmap); });
    p.Prepare();
    const QImage page = Render(p, 1, 1);
    EXPECT_EQ(QColor(page.pixel(5, 5)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(page.pixel(15, 5)), QColor(0, 0, 255));

    struct Case { QColor in; int grey; };
    for (const Case &c : {Case{QColor(255, 0, 0), 76}, Case{QColor(0, 255, 0), 150}, Case{QColor(0, 0, 255), 29},
                          Case{QColor(255, 255, 255), 255}, Case{QColor(0, 0, 0), 0}}) {
        EXPECT_EQ(ZnPrintGray::GrayColor(c.in), QColor(c.grey, c.grey, c.grey)) << c.in.name().toStdString();
    }
    const QImage grey = ZnPrintGray::GrayBitmap(bitmap);
    ASSERT_EQ(grey.format(), QImage::Format_Indexed8);
    ASSERT_EQ(grey.colorCount(), 256);
    EXPECT_EQ(grey.color(0), qRgb(255, 255, 255));
    EXPECT_EQ(grey.color(255), qRgb(0, 0, 0));
    EXPECT_EQ(grey.pixelIndex(0, 0), 179);   // round(255 - 76.22)
    EXPECT_EQ(grey.pixelIndex(1, 0), 226);   // round(255 - 29.19)
    EXPECT_TRUE(ZnPrintGray::GrayBitmap(QImage()).isNull());
}

TEST(Preview, ZoomStepsStopAtTheEndsAndStepFromTheNearest)
{
    struct Case { double current; bool in; int next; };
    for (const Case &c : {Case{20, false, 20}, Case{800, true, 800}, Case{20, true, 30}, Case{800, false, 600},
                          Case{110, true, 120}, Case{110, false, 90}, Case{115, true, 180},
                          Case{100, true, 120}, Case{12, false, 20}, Case{5000, true, 800},
                          Case{64.9, true, 70}, Case{150, false, 100}}) {
        EXPECT_EQ(TFMZnPreview::NextZoom(c.current, c.in), c.next) << c.current << (c.in ? " in" : " out");
    }
}

TEST(PrintOffset, FieldTextsKeepLeadingDigitsAndPoints)
{
    struct Case { const char *text; const char *shown; int offset; };
    for (const Case &c : {Case{"12.34mm", "12.3mm", 123}, Case{"5", "5.0mm", 50}, Case{"0.0mm", "0.0mm", 0},
                          Case{"mm", "0.0mm", 0}, Case{"abc12", "0.0mm", 0}, Case{"1.2.3mm", "1.2mm", 12},
                          Case{"  7.5 mm", "7.5mm", 75}, Case{".5mm", "0.5mm", 5}, Case{"-3mm", "0.0mm", 0}}) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(TFMZnPrintOffset::FieldText(TFMZnPrintOffset::FieldMillimetres(text)), QString::fromUtf8(c.shown)) << c.text;
        EXPECT_EQ(TFMZnPrintOffset::FieldOffset(text), c.offset) << c.text;
    }
}
