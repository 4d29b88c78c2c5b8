#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

// The splash window: borderless, centred, always on top, with the optional
// picture "Startup.bmp" (or "Startup.jpg") beside the program. The hourglass
// shows while it is visible; it closes itself when its timer fires.
class TFMStart : public QWidget
{
    Q_OBJECT
public:
    // folder: where the pictures are looked for (the program's folder).
    explicit TFMStart(const QString &folder);
    ~TFMStart() override;

    // Closes the window interval ms after the event loop gets to it.
    void StartTimer(int interval = 2000);
    bool HasPicture() const { return !picture.isNull(); }

    // Default size without picture.
    static constexpr int PlainWidth = 460;
    static constexpr int PlainHeight = 260;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void ReleaseCursor();

    QPixmap picture;
    QTimer tmrStart;
    int cursorToken = 0;
};
