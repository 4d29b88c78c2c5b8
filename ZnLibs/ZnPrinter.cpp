#include "ZnLibs/ZnPrinter.h"

#include "ZnLibs/FMZnPreview.h"
#include "ZnLibs/FMZnPrintProgress.h"
#include "ZnLibs/ZnPrintTextMap.h"
#include "app/Hourglass.h"
#include "app/Messenger.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextLayout>
#include <QtMath>
#include <cmath>

namespace {

std::optional<bool> hasPrinterOverride;
TZnPrinter::TPathChooser pdfPathChooser;

// Paper height used for the vertical mapping when a printer reports none.
constexpr double DefaultDpi = 1200.0;
constexpr int EdgeMargin = 50; // 5 mm, in 0.1 mm

} // namespace

// One print job: the device pages go to and how the job ends or is dropped.
struct TZnPrinter::TJob {
    QPagedPaintDevice *device = nullptr;
    std::function<bool()> end;      // after the painter ended
    std::function<void()> abort;    // instead of end; no partial job is kept
};

TZnPrinter::TZnPrinter(const QString &title)
    : title(title), printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    // Pages are laid out from the paper's corner; the printable offset is
    // the report's business, not the painter's.
    printer->setFullPage(true);
    font = PageFont();
    pen = QPen(Qt::black, 1);
    brush = Qt::NoBrush;
    UpdateGeometry();
}

TZnPrinter::~TZnPrinter()
{
    if (canvas.isActive())
        canvas.end();
}

QFont TZnPrinter::PageFont() const
{
    QFont f;
    // The report fonts are Windows names; where they are missing the IPA
    // fonts stand in, made to the same widths. They map every character to
    // a glyph of its own, so the PDF's text layer reads back what was drawn
    // (the Noto CJK fonts share glyphs between 一 and the radical ⼀, and
    // their digits reach the text layer not at all); Noto is the last resort.
    f.setFamilies({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho"), QStringLiteral("IPAPMincho"),
                   QStringLiteral("Noto Serif CJK JP"), QStringLiteral("serif")});
    // Glyph advances must not depend on the size a page is recorded at:
    // text measured while building is played back at printer resolution.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setPixelSize(FontHeightFor(10));
    return f;
}

// ---- geometry ----

int TZnPrinter::ToDevice(int tenthsMm, double dpi)
{
    return qRound(tenthsMm * dpi / 254.0);
}

int TZnPrinter::FromDevice(double pixels, double dpi)
{
    return dpi > 0 ? qRound(pixels / dpi * 254.0) : 0;
}

void TZnPrinter::UpdateGeometry()
{
    const QPageLayout layout = printer->pageLayout();
    const QRectF full = layout.fullRect(QPageLayout::Millimeter);
    paperSize = QSize(qRound(full.width() * 10), qRound(full.height() * 10));
    // The printer's unprintable margins, in printer pixels at its resolution.
    const double dpi = printer->resolution() > 0 ? printer->resolution() : DefaultDpi;
    const QRectF fullPoints = layout.fullRect(QPageLayout::Point);
    const QRectF fullUnits = layout.fullRect();
    const double toPoints = fullUnits.width() > 0 ? fullPoints.width() / fullUnits.width() : 1.0;
    const QMarginsF m = layout.minimumMargins() * toPoints;   // in points
    auto pixels = [dpi](double points) { return points / 72.0 * dpi; };
    printableOffset = QPoint(FromDevice(pixels(m.left()), dpi), FromDevice(pixels(m.top()), dpi));
    int right = FromDevice(pixels(m.right()), dpi);
    int bottom = FromDevice(pixels(m.bottom()), dpi);
    // A PDF writer or a printer that claims to print to the very edge: keep
    // the margin of an ordinary printer, so no report puts text on the edge
    // of the sheet, where a viewer or a later print would cut it.
    if (printableOffset.isNull() && right == 0 && bottom == 0) {
        printableOffset = QPoint(EdgeMargin, EdgeMargin);
        right = bottom = EdgeMargin;
    }
    printableRect = QRect(printableOffset,
                          QSize(paperSize.width() - printableOffset.x() - right,
                                paperSize.height() - printableOffset.y() - bottom));
}

void TZnPrinter::SetPrintOffsets(int x, int y)
{
    offsetX = x;
    offsetY = y;
}

// ---- pages ----

void TZnPrinter::NewPage()
{
    if (canvas.isActive())
        canvas.end();
    pages.push_back(std::make_unique<QPicture>());
    canvas.begin(pages.back().get());
    finished = false;
    font = PageFont();
    pen = QPen(Qt::black, 1);
    brush = Qt::NoBrush;
    penPos = QPoint();
    ResetCanvasState();
}

void TZnPrinter::ResetCanvasState()
{
    if (!canvas.isActive())
        return;
    canvas.resetTransform();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setFont(font);
    canvas.setPen(pen);
    canvas.setBrush(brush);
    canvas.setBackgroundMode(Qt::TransparentMode);
}

void TZnPrinter::SetMapping()
{
    if (canvas.isActive())
        canvas.resetTransform();
}

int TZnPrinter::FontHeightFor(double points) const
{
    // The page is mapped from paper 0.1 mm to paper pixels, so logical extent
    // over device extent is the paper's 0.1 mm per pixel.
    const double dpiY = printer->resolution() > 0 ? printer->resolution() : DefaultDpi;
    const double paperPixels = paperSize.height() > 0 ? paperSize.height() * dpiY / 254.0 : dpiY;
    const double logicalPerDevice = paperSize.height() > 0 ? paperSize.height() / paperPixels : 254.0 / dpiY;
    return qRound(points / 72.0 * dpiY * logicalPerDevice);
}

void TZnPrinter::SetFontHeight(double points)
{
    font.setPixelSize(qMax(1, FontHeightFor(points)));
    if (canvas.isActive())
        canvas.setFont(font);
}

void TZnPrinter::SetFontName(const QString &family)
{
    QStringList families = font.families();
    families.removeAll(family);
    families.prepend(family);
    font.setFamilies(families);
    if (canvas.isActive())
        canvas.setFont(font);
}

void TZnPrinter::SetFontStyle(bool bold, bool italic, bool underline)
{
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    if (canvas.isActive())
        canvas.setFont(font);
}

void TZnPrinter::SetFont(const QFont &value)
{
    font = value;
    font.setHintingPreference(QFont::PreferNoHinting);
    if (canvas.isActive())
        canvas.setFont(font);
}

void TZnPrinter::SetPen(const QPen &value)
{
    pen = value;
    if (canvas.isActive())
        canvas.setPen(pen);
}

void TZnPrinter::SetBrush(const QBrush &value)
{
    brush = value;
    if (canvas.isActive())
        canvas.setBrush(brush);
}

void TZnPrinter::SetCopyMode(QPainter::CompositionMode mode)
{
    if (canvas.isActive())
        canvas.setCompositionMode(mode);
}

void TZnPrinter::MoveTo(int x, int y)
{
    penPos = QPoint(x, y);
}

void TZnPrinter::LineTo(int x, int y)
{
    if (canvas.isActive())
        canvas.drawLine(penPos, QPoint(x, y));
    penPos = QPoint(x, y);
}

void TZnPrinter::Rectangle(int left, int top, int right, int bottom)
{
    if (canvas.isActive())
        canvas.drawRect(QRectF(left, top, right - left, bottom - top));
}

void TZnPrinter::CopyRect(const QRect &dest, const QImage &source, const QRect &sourceRect)
{
    if (canvas.isActive() && !source.isNull())
        canvas.drawImage(QRectF(dest), source, QRectF(sourceRect));
}

int TZnPrinter::LineHeight() const
{
    // A line is one em high, as the report fonts' cell height is: reports
    // lay out rows of a fixed height per line, and the stand-in fonts'
    // larger line spacing would overflow them.
    return font.pixelSize() > 0 ? font.pixelSize() : qCeil(QFontMetricsF(font).height());
}

int TZnPrinter::TextHeight(const QString &text) const
{
    return LineHeight();
}

int TZnPrinter::TextWidth(const QString &text) const
{
    return qCeil(QFontMetricsF(font).horizontalAdvance(text));
}

namespace {

// The text broken into lines as a box shows it: explicit breaks always,
// word wrap at the width when asked.
struct TLaidOut {
    std::vector<std::unique_ptr<QTextLayout>> paragraphs;
    int lines = 0;
};

void LayOut(TLaidOut &out, const QFont &font, const QString &text, int width, bool wordWrap)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QString &paragraph : t.split(u'\n')) {
        auto layout = std::make_unique<QTextLayout>(paragraph, font);
        QTextOption option;
        option.setWrapMode(wordWrap ? QTextOption::WordWrap : QTextOption::ManualWrap);
        layout->setTextOption(option);
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            if (wordWrap)
                line.setLineWidth(width);
            else
                line.setNumColumns(qMax(1, int(paragraph.size())));
            ++out.lines;
        }
        layout->endLayout();
        if (layout->lineCount() == 0)
            ++out.lines;
        out.paragraphs.push_back(std::move(layout));
    }
}

} // namespace

int TZnPrinter::TextLines(int width, const QString &text) const
{
    TLaidOut laidOut;
    LayOut(laidOut, font, text, width, true);
    return laidOut.lines;
}

void TZnPrinter::TextBox(const QRect &box, const QString &text, THAlign hAlign, bool wordWrap)
{
    TextBox(box, text, hAlign, vaTop, wordWrap);
}

void TZnPrinter::TextBox(const QRect &box, const QString &text, THAlign hAlign, TVAlign vAlign,
                         bool wordWrap)
{
    if (!canvas.isActive())
        return;
    TLaidOut laidOut;
    LayOut(laidOut, font, text, box.width(), wordWrap);
    const double lineHeight = LineHeight();
    const QFontMetricsF metrics(font);
    // The baseline divides the line as ascent and descent divide the font.
    const double baseline = lineHeight * metrics.ascent() / qMax(1.0, metrics.ascent() + metrics.descent());
    const double height = laidOut.lines * lineHeight;
    double y = box.top();
    if (vAlign == vaCentre)
        y += (box.height() - height) / 2;
    else if (vAlign == vaBottom)
        y += box.height() - height;

    canvas.save();
    canvas.setClipRect(box, Qt::IntersectClip);
    int k = 0;
    for (auto &layout : laidOut.paragraphs) {
        for (int i = 0; i < layout->lineCount(); ++i, ++k) {
            QTextLine line = layout->lineAt(i);
            const double free = box.width() - line.naturalTextWidth();
            const double x = hAlign == haLeft ? 0 : hAlign == haRight ? free : free / 2;
            line.setPosition(QPointF(x, k * lineHeight + baseline - line.ascent()));
        }
        if (layout->lineCount() == 0)
            ++k;
        layout->draw(&canvas, QPointF(box.left(), y));
    }
    canvas.restore();
}

void TZnPrinter::StretchBitmap(const QRect &dest, const QImage &bitmap, TRop rop)
{
    if (!canvas.isActive() || bitmap.isNull())
        return;
    const QImage image = bitmap.convertToFormat(QImage::Format_RGB888);
    const QPainter::CompositionMode old = canvas.compositionMode();
    switch (rop) {
    case ropCopy: canvas.setCompositionMode(QPainter::CompositionMode_SourceOver); break;
    case ropAnd: canvas.setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
    case ropPaint: canvas.setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
    case ropInvert: canvas.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    }
    canvas.drawImage(QRectF(dest), image);
    canvas.setCompositionMode(old);
}

// ---- preparing and playing ----

void TZnPrinter::Finish()
{
    if (canvas.isActive())
        canvas.end();
    finished = true;
}

void TZnPrinter::Prepare()
{
    THourglass hourglass;
    TFMZnPrintProgress window(preview);
    window.Start(TFMZnPrintProgress::pmPreparing);
    if (canvas.isActive())
        canvas.end();
    pages.clear();
    finished = false;
    UpdateGeometry();
    NewPage();
    if (pageBuilder)
        pageBuilder(*this);
    Finish();
    window.Finish();
}

void TZnPrinter::DrawPage(QPainter &painter, int page, const QRectF &paperRect) const
{
    if (page < 1 || page > PageCount() || paperSize.isEmpty())
        return;
    painter.save();
    painter.translate(paperRect.topLeft());
    painter.scale(paperRect.width() / paperSize.width(), paperRect.height() / paperSize.height());
    // Playing a picture scales it by the device's resolution over the
    // picture's; the rectangle above already says where the page goes.
    const QPicture &picture = *pages[page - 1];
    if (QPaintDevice *device = painter.device()) {
        if (device->logicalDpiX() > 0 && device->logicalDpiY() > 0)
            painter.scale(double(picture.logicalDpiX()) / device->logicalDpiX(),
                          double(picture.logicalDpiY()) / device->logicalDpiY());
    }
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

bool TZnPrinter::PlayPages(TJob &job, int first, int last)
{
    // Pending events run between pages; a second job never starts inside
    // one (and must not abort the running one: an unfinished PDF file is
    // dropped by itself).
    if (progress)
        return false;
    const int total = PageCount();
    TFMZnPrintProgress window(preview);
    progress = &window;
    window.Start(TFMZnPrintProgress::pmPrinting, last - first + 1);
    const QString savedStatus = preview ? preview->StatusText() : QString();
    auto done = [&] {
        if (preview)
            preview->SetStatusText(savedStatus);
        window.Finish();
        progress = nullptr;
    };

    QPainter painter;
    if (!painter.begin(job.device)) {
        job.abort();
        done();
        return false;
    }
    const double dpiX = job.device->logicalDpiX();
    const double dpiY = job.device->logicalDpiY();
    for (int i = first; i <= last; ++i) {
        QCoreApplication::processEvents();
        if (window.Cancelled()) {
            painter.end();
            job.abort();
            done();
            return false;
        }
        if (preview)
            preview->SetStatusText(QString::asprintf("Printing page %d / %d", i, total));
        if (i > first)
            job.device->newPage();
        const QRectF target(ToDevice(offsetX, dpiX), ToDevice(offsetY, dpiY),
                            ToDevice(paperSize.width(), dpiX), ToDevice(paperSize.height(), dpiY));
        DrawPage(painter, i, target);
        window.Step();
        if (PagePrinted)
            PagePrinted(i);
    }
    painter.end();
    const bool ok = job.end();
    done();
    return ok;
}

bool TZnPrinter::PrintPages(int first, int last, QWidget *owner)
{
    if (!finished)
        Finish();
    if (pages.empty())
        return false;
    last = last < 0 ? PageCount() : qMin(last, PageCount());
    first = qMax(first, 1);
    if (first > last)
        return false;
    if (!HasPrinter() || printer->outputFormat() != QPrinter::NativeFormat)
        return SavePdfAs(owner, first, last);

    printer->setDocName(title);
    TJob job;
    job.device = printer.get();
    job.end = [] { return true; };
    job.abort = [this] { printer->abort(); };
    return PlayPages(job, first, last);
}

bool TZnPrinter::SavePdf(const QString &path, int first, int last, QString *error)
{
    if (!finished)
        Finish();
    if (pages.empty()) {
        if (error)
            *error = tr("印刷するページがありません。");
        return false;
    }
    last = last < 0 ? PageCount() : qMin(last, PageCount());
    first = qMax(first, 1);
    if (first > last)
        return false;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // The PDF is made in memory first: its text layer is mended before
    // the file gets it.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Tuvanta"));
    writer.setResolution(1200);
    const QPageLayout source = printer->pageLayout();
    writer.setPageLayout(QPageLayout(source.pageSize(), source.orientation(), QMarginsF()));

    TJob job;
    job.device = &writer;
    job.end = [&] {
        TZnPrintTextMap textMap;
        for (int i = first; i <= last; ++i)
            textMap.AddPage(*pages[i - 1]);
        QByteArray pdf = buffer.data();
        textMap.Repair(pdf);
        if (file.write(pdf) == pdf.size() && file.commit())
            return true;
        if (error)
            *error = file.errorString();
        return false;
    };
    job.abort = [&] { file.cancelWriting(); };
    const bool ok = PlayPages(job, first, last);
    if (!ok && error && error->isEmpty() && file.error() != QFileDevice::NoError)
        *error = file.errorString();
    return ok;
}

bool TZnPrinter::SavePdfAs(QWidget *owner, int first, int last)
{
    QString name = title.isEmpty() ? QStringLiteral("report") : title;
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    const QString suggestion = QDir::home().filePath(name + QStringLiteral(".pdf"));
    QString path;
    if (pdfPathChooser) {
        path = pdfPathChooser(owner, suggestion);
    } else {
        path = QFileDialog::getSaveFileName(owner, tr("PDFに保存"), suggestion,
                                            tr("PDFファイル (*.pdf)"));
    }
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    QString error;
    if (SavePdf(path, first, last, &error))
        return true;
    if (!error.isEmpty())
        TMessenger::Instance().Warning(tr("PDFファイルを書き込めません。\r\n%1").arg(error));
    return false;
}

bool TZnPrinter::HasPrinter()
{
    if (hasPrinterOverride)
        return *hasPrinterOverride;
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

void TZnPrinter::OverrideHasPrinter(std::optional<bool> value)
{
    hasPrinterOverride = value;
}

void TZnPrinter::SetPdfPathChooser(TPathChooser chooser)
{
    pdfPathChooser = std::move(chooser);
}
