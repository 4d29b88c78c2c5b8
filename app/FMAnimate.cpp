#include "app/FMAnimate.h"

#include "app/AviReader.h"

#include <QPainter>

TFMAnimate::TFMAnimate(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("anmOnline"));
    connect(&timer, &QTimer::timeout, this, [this] {
        current = (current + 1) % static_cast<int>(frames.size());
        update();
    });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

bool TFMAnimate::Open(const QString &path)
{
    Stop();
    frames.clear();
    current = 0;
    TAviReader avi;
    if (avi.Load(path)) {
        for (int i = 0; i < avi.FrameCount(); ++i) {
            const std::vector<uint32_t> &px = avi.Frame(i);
            QImage img(avi.Width(), avi.Height(), QImage::Format_ARGB32);
            for (int y = 0; y < avi.Height(); ++y)
                std::copy_n(px.data() + size_t(y) * size_t(avi.Width()), avi.Width(),
                            reinterpret_cast<uint32_t *>(img.scanLine(y)));
            frames.append(img);
        }
        timer.setInterval(avi.FrameIntervalMs());
    }
    updateGeometry();
    update();
    return IsOpen();
}

void TFMAnimate::Play()
{
    if (frames.size() > 1)
        timer.start();
}

void TFMAnimate::Stop()
{
    timer.stop();
    current = 0;
    update();
}

QSize TFMAnimate::sizeHint() const
{
    return frames.isEmpty() ? QSize(0, 0) : frames.first().size();
}

void TFMAnimate::paintEvent(QPaintEvent *)
{
    if (frames.isEmpty())
        return;
    QPainter p(this);
    const QImage &img = frames.at(current);
    p.drawImage((width() - img.width()) / 2, (height() - img.height()) / 2, img);
}
