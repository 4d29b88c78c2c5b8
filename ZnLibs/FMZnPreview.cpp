#include "ZnLibs/FMZnPreview.h"

#include "ZnLibs/FMZnPrintOffset.h"
#include "ZnLibs/ZnPrinter.h"
#include "app/Messenger.h"

#include <QBitmap>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPainterPath>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr int Margin = 15;

// A magnifying glass, hot spot at the centre of the lens.
QCursor MagnifierCursor()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QRectF(3, 3, 16, 16));
    p.drawLine(QPointF(17, 17), QPointF(28, 28));
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QRectF(3, 3, 16, 16));
    p.setPen(QPen(Qt::black, 3));
    p.drawLine(QPointF(17, 17), QPointF(28, 28));
    p.end();
    return QCursor(pixmap, 11, 11);
}

} // namespace

// The page area inside the scroll area: paints the sheet and turns clicks
// into zoom steps.
class TFMZnPreview::TPageView : public QWidget
{
public:
    explicit TPageView(TFMZnPreview &owner) : QWidget(nullptr), owner(owner)
    {
        setObjectName(QStringLiteral("PageView"));
        setCursor(MagnifierCursor());
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        owner.PaintView(painter);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
            owner.ClickZoom(event->position().toPoint(), event->button() == Qt::LeftButton);
    }

private:
    TFMZnPreview &owner;
};

TFMZnPreview::TFMZnPreview(TZnPrinter &printer, QWidget *owner)
    : QDialog(owner, Qt::Window), printer(printer)
{
    setObjectName(QStringLiteral("FMZnPreview"));
    setWindowTitle(printer.Title());
    setWindowState(Qt::WindowMaximized);

    auto arrow = [this](const QString &name, Qt::ArrowType type, bool twice, const QString &tip) {
        auto *b = new QToolButton(this);
        b->setObjectName(name);
        if (twice)
            b->setText(type == Qt::LeftArrow ? QStringLiteral("|◀") : QStringLiteral("▶|"));
        else
            b->setArrowType(type);
        b->setToolTip(tip);
        b->setAutoRaise(false);
        b->setMinimumSize(28, 26);
        return b;
    };
    sbtnFirst = arrow(QStringLiteral("sbtnFirst"), Qt::LeftArrow, true, tr("最初のページ"));
    sbtnPrior = arrow(QStringLiteral("sbtnPrior"), Qt::LeftArrow, false, tr("前のページ"));
    sbtnNext = arrow(QStringLiteral("sbtnNext"), Qt::RightArrow, false, tr("次のページ"));
    sbtnLast = arrow(QStringLiteral("sbtnLast"), Qt::RightArrow, true, tr("最後のページ"));

    auto button = [this](const QString &name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    btnFitWidth = button(QStringLiteral("btnFitWidth"), tr("幅に合せて(&W)"));
    btnWhole = button(QStringLiteral("btnWhole"), tr("全体(&O)"));
    btnGrid = button(QStringLiteral("btnGrid"), tr("ｸﾞﾘｯﾄﾞ表示(&G)"));
    btnPrint = button(QStringLiteral("btnPrint"), tr("印刷(&P)"));
    btnPrintPage = button(QStringLiteral("btnPrintPage"), tr("ﾍﾟｰｼﾞ印刷(&A)"));
    btnSetup = button(QStringLiteral("btnSetup"), tr("ﾌﾟﾘﾝﾀ設定(&S)"));
    btnClose = button(QStringLiteral("btnClose"), tr("閉じる(&C)"));
    btnOffset = button(QStringLiteral("btnOffset"), tr("位置調節(&I)"));
    btnPdf = button(QStringLiteral("btnPdf"), tr("PDFに保存(&F)..."));

    auto *bar = new QHBoxLayout;
    bar->setSpacing(4);
    for (QWidget *w : {static_cast<QWidget *>(sbtnFirst), static_cast<QWidget *>(sbtnPrior),
                       static_cast<QWidget *>(sbtnNext), static_cast<QWidget *>(sbtnLast)})
        bar->addWidget(w);
    bar->addSpacing(12);
    for (QPushButton *b : {btnFitWidth, btnWhole, btnGrid})
        bar->addWidget(b);
    bar->addSpacing(12);
    for (QPushButton *b : {btnPrint, btnPrintPage, btnSetup, btnOffset, btnPdf})
        bar->addWidget(b);
    bar->addSpacing(12);
    bar->addWidget(btnClose);
    bar->addStretch();

    view = new TPageView(*this);
    scrPage = new QScrollArea(this);
    scrPage->setObjectName(QStringLiteral("scrPage"));
    scrPage->setWidget(view);
    scrPage->setWidgetResizable(false);
    scrPage->setBackgroundRole(QPalette::Dark);
    scrPage->setFrameShape(QFrame::StyledPanel);
    scrPage->installEventFilter(this);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setFrameShape(QFrame::StyledPanel);
    lblStatus->setFrameShadow(QFrame::Sunken);
    lblStatus->setContentsMargins(4, 1, 4, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(bar);
    layout->addWidget(scrPage, 1);
    layout->addWidget(lblStatus);

    connect(sbtnFirst, &QToolButton::clicked, this, [this] { SetPage(1); });
    connect(sbtnPrior, &QToolButton::clicked, this, [this] { SetPage(page - 1); });
    connect(sbtnNext, &QToolButton::clicked, this, [this] { SetPage(page + 1); });
    connect(sbtnLast, &QToolButton::clicked, this, [this] { SetPage(this->printer.PageCount()); });
    connect(btnFitWidth, &QPushButton::clicked, this, &TFMZnPreview::FitWidth);
    connect(btnWhole, &QPushButton::clicked, this, &TFMZnPreview::FitWhole);
    connect(btnGrid, &QPushButton::clicked, this, [this] { SetGridShown(!grid); });
    connect(btnPrint, &QPushButton::clicked, this,
            [this] { this->printer.PrintPages(1, this->printer.PageCount(), this); });
    connect(btnPrintPage, &QPushButton::clicked, this, &TFMZnPreview::PrintOnePage);
    connect(btnSetup, &QPushButton::clicked, this, &TFMZnPreview::PrinterSetup);
    connect(btnOffset, &QPushButton::clicked, this, &TFMZnPreview::AdjustOffsets);
    connect(btnPdf, &QPushButton::clicked, this,
            [this] { this->printer.SavePdfAs(this, 1, this->printer.PageCount()); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

    printer.SetPreview(this);
    resize(1000, 760);
    UpdateState();
}

TFMZnPreview::~TFMZnPreview()
{
    if (printer.Preview() == this)
        printer.SetPreview(nullptr);
}

const QList<int> &TFMZnPreview::ZoomSteps()
{
    static const QList<int> steps{20, 30, 40, 50, 60, 70, 80, 90, 100, 120, 180, 200, 250, 300, 400, 600, 800};
    return steps;
}

int TFMZnPreview::NextZoom(double current, bool zoomIn)
{
    const QList<int> &steps = ZoomSteps();
    int nearest = 0;
    for (int i = 1; i < steps.size(); ++i) {
        if (std::abs(steps[i] - current) < std::abs(steps[nearest] - current))
            nearest = i;
    }
    const int next = qBound(0, nearest + (zoomIn ? 1 : -1), int(steps.size()) - 1);
    return steps[next];
}

double TFMZnPreview::PaperAspect() const
{
    const QSize paper = printer.PaperSize();
    return paper.height() > 0 ? double(paper.width()) / paper.height() : 210.0 / 297.0;
}

void TFMZnPreview::SetPage(int value)
{
    page = qBound(1, value, qMax(1, printer.PageCount()));
    view->update();
    UpdateState();
}

double TFMZnPreview::Zoom() const
{
    const QSize paper = printer.PaperSize();
    const double dpi = view->logicalDpiX();
    if (paper.width() <= 0 || dpi <= 0)
        return 0;
    return pageRect.width() / dpi * 254.0 / paper.width() * 100.0;
}

void TFMZnPreview::SetZoom(double percent)
{
    fit = fitZoom;
    zoomPercent = percent;
    Relayout();
}

void TFMZnPreview::FitWhole()
{
    fit = fitWhole;
    Relayout();
}

void TFMZnPreview::FitWidth()
{
    fit = fitWidth;
    Relayout();
}

void TFMZnPreview::Relayout()
{
    const QSize port = scrPage->maximumViewportSize();
    const double aspect = PaperAspect();
    QSize area = port;
    switch (fit) {
    case fitWhole: {
        const int h = qMax(1, port.height() - 2 * Margin);
        const int w = qMax(1, qRound(h * aspect));
        pageRect = QRect((port.width() - w) / 2, Margin, w, h);
        break;
    }
    case fitWidth: {
        // Room for the vertical scroll bar that the page will need.
        const int w = qMax(1, port.width() - 3 * Margin);
        const int h = qMax(1, qRound(w / aspect));
        pageRect = QRect(Margin, Margin, w, h);
        area = QSize(port.width() - scrPage->verticalScrollBar()->sizeHint().width(),
                     qMax(port.height(), h + 2 * Margin));
        break;
    }
    case fitZoom: {
        const QSize paper = printer.PaperSize();
        const int w = qMax(1, qRound(zoomPercent / 100.0 * paper.width() / 254.0 * view->logicalDpiX()));
        const int h = qMax(1, qRound(w / aspect));
        area = QSize(qMax(port.width(), w + 2 * Margin), qMax(port.height(), h + 2 * Margin));
        // A page smaller than the view is centred.
        const int x = w + 2 * Margin <= port.width() ? (port.width() - w) / 2 : Margin;
        const int y = h + 2 * Margin <= port.height() ? (port.height() - h) / 2 : Margin;
        pageRect = QRect(x, y, w, h);
        break;
    }
    }
    view->resize(area);
    view->update();
    UpdateState();
}

void TFMZnPreview::ClickZoom(const QPoint &at, bool zoomIn)
{
    // Where the click lies on the paper, and where under the view it was.
    const double fx = pageRect.width() > 0 ? double(at.x() - pageRect.x()) / pageRect.width() : 0.5;
    const double fy = pageRect.height() > 0 ? double(at.y() - pageRect.y()) / pageRect.height() : 0.5;
    QScrollBar *h = scrPage->horizontalScrollBar();
    QScrollBar *v = scrPage->verticalScrollBar();
    const QPoint inView(at.x() - h->value(), at.y() - v->value());

    SetZoom(NextZoom(Zoom(), zoomIn));

    const QPoint target(pageRect.x() + qRound(fx * pageRect.width()),
                        pageRect.y() + qRound(fy * pageRect.height()));
    h->setValue(target.x() - inView.x());
    v->setValue(target.y() - inView.y());
}

void TFMZnPreview::SetGridShown(bool value)
{
    grid = value;
    btnGrid->setText(grid ? tr("ｸﾞﾘｯﾄﾞ非表示(&G)") : tr("ｸﾞﾘｯﾄﾞ表示(&G)"));
    view->update();
}

QString TFMZnPreview::StatusText() const
{
    return lblStatus->text();
}

void TFMZnPreview::SetStatusText(const QString &text)
{
    lblStatus->setText(text);
    lblStatus->repaint();
}

void TFMZnPreview::UpdateState()
{
    const int count = printer.PageCount();
    sbtnFirst->setEnabled(page > 1);
    sbtnPrior->setEnabled(page > 1);
    sbtnNext->setEnabled(page < count);
    sbtnLast->setEnabled(page < count);
    lblStatus->setText(QString::asprintf("Page %d / %d (%1.0f%%)", page, count, Zoom()));
}

void TFMZnPreview::PaintView(QPainter &painter)
{
    painter.fillRect(view->rect(), palette().color(QPalette::Dark));
    painter.fillRect(pageRect, Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(pageRect.adjusted(-1, -1, 0, 0));

    const QSize paper = printer.PaperSize();
    if (paper.isEmpty())
        return;
    const double sx = double(pageRect.width()) / paper.width();
    const double sy = double(pageRect.height()) / paper.height();
    if (grid) {
        painter.save();
        painter.setClipRect(pageRect);
        painter.setPen(QPen(QColor(192, 192, 192), 0));
        for (int x = 100; x < paper.width(); x += 100) {
            const double px = pageRect.x() + x * sx;
            painter.drawLine(QPointF(px, pageRect.top()), QPointF(px, pageRect.bottom()));
        }
        for (int y = 100; y < paper.height(); y += 100) {
            const double py = pageRect.y() + y * sy;
            painter.drawLine(QPointF(pageRect.left(), py), QPointF(pageRect.right(), py));
        }
        const QRect p = printer.PrintableRect();
        painter.setPen(QPen(QColor(128, 128, 255), 0, Qt::DashLine));
        painter.drawRect(QRectF(pageRect.x() + p.x() * sx, pageRect.y() + p.y() * sy,
                                p.width() * sx - 1, p.height() * sy - 1));
        painter.restore();
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    printer.DrawPage(painter, page, QRectF(pageRect));
}

bool TFMZnPreview::eventFilter(QObject *watched, QEvent *event)
{
    // The page area's own size, not the window's: the layout resizes the
    // area after the window, and scroll bars coming and going change only
    // the viewport.
    if (watched == scrPage && event->type() == QEvent::Resize)
        FitWhole();
    return QDialog::eventFilter(watched, event);
}

void TFMZnPreview::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FitWhole();
}

bool TFMZnPreview::PrinterSetup()
{
    QPrinter &p = printer.Printer();
    bool accepted = false;
    if (TZnPrinter::HasPrinter() && p.outputFormat() == QPrinter::NativeFormat) {
        QPrintDialog dialog(&p, this);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
        accepted = dialog.exec() == QDialog::Accepted;
    } else {
        // No printer: paper and orientation still decide the PDF's pages.
        QPageSetupDialog dialog(&p, this);
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (!accepted)
        return false;
    printer.SetSettingsChanged(true);
    printer.Prepare();
    SetPage(1);
    FitWhole();
    return true;
}

void TFMZnPreview::PrintOnePage()
{
    bool ok = false;
    const QString text = QInputDialog::getText(this, tr("印刷ページ指定"), tr("印刷するページを入力してください。"),
                                               QLineEdit::Normal, QStringLiteral("1"), &ok);
    if (!ok)
        return;
    bool number = false;
    const int n = text.trimmed().toInt(&number);
    if (!number || n < 1 || n > printer.PageCount()) {
        TMessenger::Instance().Warning(tr("1 から %1 までのページ番号を入力してください。").arg(printer.PageCount()));
        return;
    }
    printer.PrintPages(n, n, this);
}

bool TFMZnPreview::AdjustOffsets()
{
    int x = printer.PrintOffsetX();
    int y = printer.PrintOffsetY();
    if (!TFMZnPrintOffset::Execute(this, x, y))
        return false;
    printer.SetPrintOffsets(x, y);
    printer.SetSettingsChanged(true);
    return true;
}

QWidget *TFMZnPreview::PageView() const
{
    return view;
}
