#pragma once

#include <QImage>
#include <QList>
#include <QTimer>
#include <QWidget>

// The online indicator: plays an AVI clip (uncompressed or RLE8) in a loop.
// Without a loaded clip it takes no room and shows nothing.
class TFMAnimate : public QWidget
{
    Q_OBJECT
public:
    explicit TFMAnimate(QWidget *parent = nullptr);

    // Loads the clip; false (and nothing shown) for a missing or unsupported file.
    bool Open(const QString &path);
    bool IsOpen() const { return !frames.isEmpty(); }
    void Play();
    void Stop();
    bool IsPlaying() const { return timer.isActive(); }
    int CurrentFrame() const { return current; }
    int FrameCount() const { return static_cast<int>(frames.size()); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<QImage> frames;
    QTimer timer;
    int current = 0;
};
