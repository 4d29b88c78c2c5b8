#pragma once

#include <QBrush>
#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QPicture>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPrinter;
class QPagedPaintDevice;
class QWidget;
class TFMZnPreview;

// The page store of every printed report: a report draws its pages once into
// it, and the store plays them back at any scale on the screen, at printer
// resolution on paper, or into a PDF file.
//
// Units. Page builders draw in logical units of 0.1 mm with the origin at the
// paper's top-left corner. Each page is kept as a vector recording (QPicture)
// in those units, so the same recording serves the preview, the printer and
// PDF (see DrawPage).
//
// Writing a page builder (a report's BuildPages):
//   - page 1 is already open when the builder is called; call NewPage() for
//     every further page;
//   - PaperSize() and PrintableRect() say where the paper and the printable
//     area lie (0.1 mm); keep text inside PrintableRect();
//   - SetFontName() / SetFontHeight(points) / SetFontStyle(), SetPen(),
//     SetBrush(), then MoveTo/LineTo/Rectangle/TextBox/StretchBitmap;
//   - TextWidth/TextHeight/TextLines measure with the current font, so rows
//     can be sized before they are drawn.
// Everything else (settings, preview, printing) is the report base's work.
class TZnPrinter
{
    Q_DECLARE_TR_FUNCTIONS(TZnPrinter)
public:
    enum THAlign { haLeft, haRight, haCentre };
    enum TVAlign { vaTop, vaCentre, vaBottom };
    // Raster operations of StretchBitmap; only copy is exact on every device
    // (PDF has no raster operations, the others fall back to composition modes).
    enum TRop { ropCopy, ropAnd, ropPaint, ropInvert };

    // The page builder: draws every page through the store.
    using TPageBuilder = std::function<void(TZnPrinter &)>;

    // title: the print job's document name and the preview caption. The store
    // owns a printer object set to the default printer; when the system has
    // no printer it is a PDF printer, so pages can still be built and viewed.
    explicit TZnPrinter(const QString &title = QString());
    ~TZnPrinter();
    TZnPrinter(const TZnPrinter &) = delete;
    TZnPrinter &operator=(const TZnPrinter &) = delete;

    QString Title() const { return title; }
    void SetTitle(const QString &value) { title = value; }
    void SetPageBuilder(TPageBuilder builder) { pageBuilder = std::move(builder); }

    // The printer whose settings (paper, orientation, ...) the pages are
    // built for.
    QPrinter &Printer() { return *printer; }

    // ---- drawing, for page builders (logical units of 0.1 mm) ----

    // Ends the current page (if any) and opens a new one with a transparent
    // brush, a black pen one unit wide and the page font at 10 points.
    void NewPage();
    // Resets the current page to the plain 0.1 mm mapping, undoing any
    // transformation a builder applied to the canvas.
    void SetMapping();
    // Sets the font height from a size in points:
    // -round(points / 72 * vertical resolution * logical extent / device extent).
    void SetFontHeight(double points);
    // The height the rule above gives, in logical units (a positive number).
    int FontHeightFor(double points) const;
    void SetFontName(const QString &family);
    void SetFontStyle(bool bold, bool italic = false, bool underline = false);
    QFont Font() const { return font; }
    void SetFont(const QFont &value);
    QPen Pen() const { return pen; }
    void SetPen(const QPen &value);
    QBrush Brush() const { return brush; }
    void SetBrush(const QBrush &value);
    void SetCopyMode(QPainter::CompositionMode mode);
    // The painter of the current page, for what the operations below do not
    // cover. Open only between NewPage and the end of the build.
    QPainter &Canvas() { return canvas; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // A frame with the pen, filled with the brush; right and bottom exclusive.
    void Rectangle(int left, int top, int right, int bottom);
    // Copies part of another picture (a window's graph) into a rectangle.
    void CopyRect(const QRect &dest, const QImage &source, const QRect &sourceRect);

    // The height of one line of text: the font's em, as the report fonts'
    // cell height. Text boxes space their lines by it.
    int LineHeight() const;
    int TextHeight(const QString &text) const;
    int TextWidth(const QString &text) const;
    // Number of lines the text takes in a box of this width with word wrap.
    int TextLines(int width, const QString &text) const;
    // Text in a box, aligned horizontally, with or without word wrap; text
    // beyond the box is clipped.
    void TextBox(const QRect &box, const QString &text, THAlign hAlign, bool wordWrap);
    // As above, vertically placed by measuring the wrapped text first.
    void TextBox(const QRect &box, const QString &text, THAlign hAlign, TVAlign vAlign,
                 bool wordWrap);
    // Draws a bitmap into a rectangle as a 24-bit image, stretched.
    void StretchBitmap(const QRect &dest, const QImage &bitmap, TRop rop = ropCopy);

    int PageCount() const { return int(pages.size()); }

    // ---- page geometry (0.1 mm) ----
    QSize PaperSize() const { return paperSize; }
    // The top-left corner of the printable area:
    // round(physical offset in pixels / resolution * 254).
    QPoint PrintableOffset() const { return printableOffset; }
    QRect PrintableRect() const { return printableRect; }
    // Converts between 0.1 mm and device pixels (value * dpi / 254, rounded).
    static int ToDevice(int tenthsMm, double dpi);
    static int FromDevice(double pixels, double dpi);

    // ---- user settings kept per report ----
    int PrintOffsetX() const { return offsetX; }
    int PrintOffsetY() const { return offsetY; }
    void SetPrintOffsets(int x, int y);
    bool SettingsChanged() const { return settingsChanged; }
    void SetSettingsChanged(bool value) { settingsChanged = value; }

    // ---- preparing, playing, printing ----

    // Clears the pages, takes the paper geometry from the printer, opens page
    // 1, runs the page builder and finishes the document, under the
    // "印刷準備中" progress window.
    void Prepare();
    bool Finished() const { return finished; }
    // Ends the page being drawn; the document can be played from now on.
    void Finish();
    // The one painting routine of a page: plays page n (1-based) into the
    // rectangle that stands for the whole paper.
    void DrawPage(QPainter &painter, int page, const QRectF &paperRect) const;

    // Prints pages first..last on the printer, with the "印刷中" progress
    // window whose "ｷｬﾝｾﾙ" aborts the job between pages. Without an
    // installed printer it offers a PDF file instead. Returns true when the
    // pages went out; false on cancel, failure or when there is nothing.
    bool PrintPages(int first, int last, QWidget *owner = nullptr);
    // Writes pages first..last (last -1: to the end) as a PDF in the page
    // size and orientation of the printer settings, print offsets applied,
    // with the same progress and cancel as printing. The file is written
    // through a temporary file: a cancelled or failed job leaves the old
    // file (or none). error receives the reason of a failure.
    bool SavePdf(const QString &path, int first = 1, int last = -1, QString *error = nullptr);
    // Asks for a file name and writes the PDF; messages on failure.
    bool SavePdfAs(QWidget *owner, int first = 1, int last = -1);

    // True when the system has at least one printer.
    static bool HasPrinter();
    // Tests: pretend the system has (true) / has no (false) printer; unset
    // (the default) asks the printing system.
    static void OverrideHasPrinter(std::optional<bool> value);
    // Tests: the PDF file name chooser used by SavePdfAs (default: a dialog).
    using TPathChooser = std::function<QString(QWidget *owner, const QString &suggestion)>;
    static void SetPdfPathChooser(TPathChooser chooser);

    // The preview that shows the pages while one is open; printing writes its
    // page into the preview's status line.
    void SetPreview(TFMZnPreview *value) { preview = value; }
    TFMZnPreview *Preview() const { return preview; }
    // Called after each page went out while printing (after the progress
    // step, before the next cancel check). For tests and observers.
    std::function<void(int page)> PagePrinted;
    // The print progress window while printing, for tests.
    class TFMZnPrintProgress *Progress() const { return progress; }

private:
    struct TJob;
    bool PlayPages(TJob &job, int first, int last);
    void UpdateGeometry();
    void ResetCanvasState();
    QFont PageFont() const;

    QString title;
    std::unique_ptr<QPrinter> printer;
    TPageBuilder pageBuilder;
    std::vector<std::unique_ptr<QPicture>> pages;
    QPainter canvas;
    bool finished = false;
    QPoint penPos;
    QFont font;
    QPen pen;
    QBrush brush;
    QSize paperSize;
    QPoint printableOffset;
    QRect printableRect;
    int offsetX = 0;
    int offsetY = 0;
    bool settingsChanged = false;
    TFMZnPreview *preview = nullptr;
    class TFMZnPrintProgress *progress = nullptr;
};
