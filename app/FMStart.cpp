#include "app/FMStart.h"

#include "app/Hourglass.h"
#include "app/Product.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QScreen>

TFMStart::TFMStart(const QString &folder)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FMStart"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    const QDir dir(folder);
    // The bitmap wins; the JPEG is only looked at when there is no bitmap. A
    // file that does not decode leaves the splash without picture.
    QString file = dir.filePath(QStringLiteral("Startup.bmp"));
    if (!QFileInfo::exists(file))
        file = dir.filePath(QStringLiteral("Startup.jpg"));
    if (QFileInfo::exists(file)) {
        QImageReader reader(file);
        reader.setDecideFormatFromContent(true);
        const QImage img = reader.read();
        if (!img.isNull())
            picture = QPixmap::fromImage(img);
    }
    resize(picture.isNull() ? QSize(PlainWidth, PlainHeight) : picture.size());
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    tmrStart.setSingleShot(true);
    connect(&tmrStart, &QTimer::timeout, this, &QWidget::close);
}

TFMStart::~TFMStart()
{
    ReleaseCursor();
}

void TFMStart::StartTimer(int interval)
{
    tmrStart.start(interval);
}

void TFMStart::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!cursorToken)
        cursorToken = THourglass::PushToken(THourglass::TShape::Wait);
}

void TFMStart::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    ReleaseCursor();
}

void TFMStart::ReleaseCursor()
{
    // By token: an action may have pushed its own hourglass since.
    if (cursorToken) {
        THourglass::Remove(cursorToken);
        cursorToken = 0;
    }
}

void TFMStart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    QColor ink(20, 30, 60);
    if (!picture.isNull()) {
        p.drawPixmap(0, 0, picture);
        ink = Qt::white;
    } else {
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(235, 240, 250));
        g.setColorAt(1, QColor(190, 205, 230));
        p.fillRect(rect(), g);
        p.setPen(QColor(90, 110, 150));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

    struct TLine {
        QString text;
        int pointSize;
        bool bold;
    };
    const TLine lines[] = {
        {Product::Caption(), 18, true},
        {Product::SupportedSystems(), 10, false},
        {QStringLiteral("Version ") + Product::Version(), 10, false},
        {Product::Maker(), 10, true},
    };
    int y = height() / 2 - 50;
    for (const TLine &line : lines) {
        QFont f = font();
        f.setPointSize(line.pointSize);
        f.setBold(line.bold);
        p.setFont(f);
        const QFontMetrics fm(f);
        const QRect box(24, y, width() - 48, fm.height());
        if (!picture.isNull()) {
            // A shadow keeps the text readable on any picture.
            p.setPen(QColor(0, 0, 0, 160));
            p.drawText(box.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, line.text);
        }
        p.setPen(ink);
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, line.text);
        y += fm.height() + (line.pointSize > 12 ? 14 : 6);
    }
}
