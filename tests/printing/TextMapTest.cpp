// The PDF text layer's mending: which code points go back to the drawn
// character, the in-place rewrite of the ToUnicode maps, and a page drawn
// in a font that shares glyphs between twins read back by pdftotext.
#include "PdfText.h"

#include "ZnLibs/ZnPrintTextMap.h"
#include "ZnLibs/ZnPrinter.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QPicture>
#include <QRawFont>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Chars(char32_t c) { return QString::fromUcs4(&c, 1); }

} // namespace

TEST(PrintTextMap, RestoresTheDrawnTwin)
{
    TZnPrintTextMap map;
    map.AddText(QStringLiteral("一覧 表示 \u03BCm 10 \u2126")); // Greek mu, the ohm sign
    const struct {
        char32_t read, expected;
        const char *why;
    } cases[] = {
        {U'\u2F00', U'一', "Kangxi radical one"},
        {U'\u2F70', U'示', "Kangxi radical spirit"},
        {U'\u4E00', U'一', "drawn itself"},
        {U'\t', U' ', "a tab on the blank's glyph"},
        {U'\u00B5', U'\u03BC', "micro sign for the Greek mu drawn"},
        {U'\u03A9', U'\u2126', "Greek omega for the ohm sign drawn"},
        {U'A', U'A', "not drawn, no twin"},
        {U'\u2F08', U'\u2F08', "radical whose ideograph was not drawn"},
        {U'\uFB01', U'\uFB01', "ligature: two characters, no twin"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(map.Restore(c.read), c.expected) << c.why;

    // Two drawn characters of one form: the plain one wins, and a twin
    // that is not plain is taken only when it is the only one.
    TZnPrintTextMap spaces;
    spaces.AddText(QStringLiteral("a b\u3000c"));
    EXPECT_EQ(spaces.Restore(U'\t'), U' ');
    TZnPrintTextMap wide;
    wide.AddText(QStringLiteral("\u2126\u212B"));   // ohm and angstrom signs
    EXPECT_EQ(wide.Restore(U'\u03A9'), U'\u2126');
    EXPECT_EQ(wide.Restore(U'\u00C5'), U'\u212B');
}

TEST(PrintTextMap, RewritesToUnicodeMapsInPlace)
{
    TZnPrintTextMap map;
    map.AddText(QStringLiteral("一覧表示 "));
    const QByteArray head = "%PDF-1.4\n1 0 obj\n<< /Length 9 >>\nstream\nbeginbfchar <0001> <2F00>\nendstream\n";
    const QByteArray cmap = "16 0 obj\n<< /Length 400 >>\nstream\n/CIDInit /ProcSet findresource begin\n"
                            "begincmap\n2 beginbfchar\n<0001> <2F70>\n<0002> <0041>\nendbfchar\n"
                            "3 beginbfrange\n<0000> <0000> <0000>\n<0003> <0006> [<2F00> <89A7> <0009> <2f70> ]\n"
                            "<0010> <0019> <2F00>\nendbfrange\nendcmap\nendstream\n";
    QByteArray pdf = head + cmap + "xref\n";
    const qsizetype size = pdf.size();
    EXPECT_EQ(map.Repair(pdf), 4);
    EXPECT_EQ(pdf.size(), size);
    // Outside a ToUnicode map nothing changes.
    EXPECT_TRUE(pdf.startsWith(head));
    EXPECT_TRUE(pdf.contains("<0001> <793A>\n<0002> <0041>\n"));
    EXPECT_TRUE(pdf.contains("[<4E00> <89A7> <0020> <793A> ]"));
    // A sequential run maps a series and stays as it was.
    EXPECT_TRUE(pdf.contains("<0010> <0019> <2F00>\n"));
    EXPECT_EQ(map.Repair(pdf), 0);

    // A map cut short ends the rewrite without harm.
    QByteArray cut = "/CIDInit /ProcSet findresource begin\n1 beginbfchar\n<0001> <2F0";
    const QByteArray before = cut;
    EXPECT_EQ(map.Repair(cut), 0);
    EXPECT_EQ(cut, before);
}

TEST(PrintTextMap, PageLearnsTheTextItDraws)
{
    QPicture page;
    QPainter painter(&page);
    painter.drawText(QPointF(10, 20), QStringLiteral("表示レベル"));
    painter.end();
    TZnPrintTextMap map;
    map.AddPage(page);
    EXPECT_TRUE(map.Drew(U'示'));
    EXPECT_TRUE(map.Drew(U'ル'));
    EXPECT_FALSE(map.Drew(U'一'));
}

// Noto's CJK fonts draw 一 and the radical ⼀ with one glyph; without the
// mending pdftotext reads "⼀覧".
TEST(PrintTextMap, SharedGlyphsReadBackAsDrawn)
{
    QFont noto(QStringLiteral("Noto Sans CJK JP"));
    const QList<quint32> glyphs = QRawFont::fromFont(noto).glyphIndexesForString(QStringLiteral("一\u2F00"));
    if (QRawFont::fromFont(noto).familyName() != QStringLiteral("Noto Sans CJK JP") || glyphs.size() != 2
        || glyphs[0] != glyphs[1])
        GTEST_SKIP() << "no CJK font here that shares the glyph of 一 and ⼀";
    QTemporaryDir dir;
    TZnPrinter printer(QStringLiteral("一覧"));
    printer.SetPageBuilder([](TZnPrinter &p) {
        p.SetFont(QFont(QStringLiteral("Noto Sans CJK JP")));
        p.SetFontHeight(12);
        p.TextBox(QRect(200, 200, 1500, 100), QStringLiteral("パラメータ一覧 表示レベル"), TZnPrinter::haLeft, false);
    });
    printer.Prepare();
    const QString path = dir.filePath(QStringLiteral("shared.pdf"));
    ASSERT_TRUE(printer.SavePdf(path));
    const QString text = PdfText(path);
    if (text.isNull())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_TRUE(text.contains(QStringLiteral("パラメータ一覧 表示レベル"))) << text.toStdString();
    EXPECT_FALSE(text.contains(Chars(U'\u2F00')));
}

// Shapes, pictures and text together: only the text is learnt.
TEST(PrintTextMap, PageWithShapesAndPictures)
{
    QPicture page;
    QPainter painter(&page);
    painter.drawLine(0, 0, 100, 100);
    painter.drawRect(10, 10, 50, 50);
    painter.drawEllipse(QRectF(0, 0, 30, 20));
    painter.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(10, 0), QPointF(5, 8)}));
    painter.drawPoint(3, 3);
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    painter.drawImage(QRect(0, 0, 40, 40), image);
    painter.drawPath(QPainterPath(QPointF(1, 1)));
    painter.drawText(QPointF(10, 20), QStringLiteral("照合"));
    painter.end();
    TZnPrintTextMap map;
    map.AddPage(page);
    EXPECT_TRUE(map.Drew(U'照'));
    EXPECT_TRUE(map.Drew(U'合'));
}
