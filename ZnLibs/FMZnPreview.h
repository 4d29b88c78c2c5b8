#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;
class TZnPrinter;

// The print preview: shows the pages of a page store one at a time on a
// white sheet, zooms by whole page, page width or clicks, and prints, prints
// one page, runs the printer set-up and the print offset dialog, or saves
// the report as a PDF. Works on the pages prepared before it opened, except
// after a printer set-up, which prepares them again.
class TFMZnPreview : public QDialog
{
    Q_OBJECT
public:
    explicit TFMZnPreview(TZnPrinter &printer, QWidget *owner = nullptr);
    ~TFMZnPreview() override;

    // The zoom scale of click zooming, in percent.
    static const QList<int> &ZoomSteps();
    // The step a click leads to from the current zoom: one step after (in) or
    // before (out) the step nearest the current zoom, kept within the scale.
    static int NextZoom(double current, bool zoomIn);

    int Page() const { return page; }
    void SetPage(int value);
    // Zoom in percent: page width in screen inches * 254 / paper width in
    // 0.1 mm * 100.
    double Zoom() const;
    void SetZoom(double percent);
    void FitWhole();
    void FitWidth();
    bool GridShown() const { return grid; }
    void SetGridShown(bool value);
    // A click on the page at a point of the page widget.
    void ClickZoom(const QPoint &at, bool zoomIn);

    QString StatusText() const;
    void SetStatusText(const QString &text);
    // The page's rectangle in the page widget.
    QRect PageRect() const { return pageRect; }

    // Runs the printer set-up dialog; on OK marks the settings changed,
    // prepares the pages again and shows page 1 whole. True on OK.
    bool PrinterSetup();
    // Asks for the page and prints it.
    void PrintOnePage();
    // Opens the offset dialog with the current offsets.
    bool AdjustOffsets();

    QToolButton *sbtnFirst;
    QToolButton *sbtnPrior;
    QToolButton *sbtnNext;
    QToolButton *sbtnLast;
    QPushButton *btnFitWidth;
    QPushButton *btnWhole;
    QPushButton *btnGrid;
    QPushButton *btnPrint;
    QPushButton *btnPrintPage;
    QPushButton *btnSetup;
    QPushButton *btnClose;
    QPushButton *btnOffset;
    QPushButton *btnPdf;
    QLabel *lblStatus;
    QScrollArea *scrPage;

    class TPageView;
    QWidget *PageView() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    enum TFit { fitWhole, fitWidth, fitZoom };
    void Relayout();
    void UpdateState();
    void PaintView(class QPainter &painter);
    double PaperAspect() const;

    TZnPrinter &printer;
    TPageView *view;
    int page = 1;
    bool grid = false;
    TFit fit = fitWhole;
    double zoomPercent = 100.0;
    QRect pageRect;
    friend class TPageView;
};
