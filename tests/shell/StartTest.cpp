#include "app/FMStart.h"
#include "app/Hourglass.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void WritePicture(const QString &path, const QSize &size, const char *format)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::darkBlue);
    ASSERT_TRUE(img.save(path, format));
}

TEST(Splash, TakesThePictureSizeWithBitmapFirst)
{
    QTemporaryDir dir;
    {
        TFMStart s(dir.path());
        EXPECT_FALSE(s.HasPicture());
        EXPECT_EQ(s.size(), QSize(TFMStart::PlainWidth, TFMStart::PlainHeight));
    }
    WritePicture(dir.filePath("Startup.jpg"), QSize(320, 200), "JPG");
    {
        TFMStart s(dir.path());
        EXPECT_TRUE(s.HasPicture());
        EXPECT_EQ(s.size(), QSize(320, 200));
    }
    WritePicture(dir.filePath("Startup.bmp"), QSize(300, 180), "BMP");
    {
        TFMStart s(dir.path());
        EXPECT_EQ(s.size(), QSize(300, 180));
    }
    // A damaged bitmap leaves the splash without picture (the JPEG is not tried).
    QFile bmp(dir.filePath("Startup.bmp"));
    ASSERT_TRUE(bmp.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bmp.write("BM this is not a picture");
    bmp.close();
    {
        TFMStart s(dir.path());
        EXPECT_FALSE(s.HasPicture());
        EXPECT_EQ(s.size(), QSize(TFMStart::PlainWidth, TFMStart::PlainHeight));
    }
}

TEST(Splash, ShowsTheHourglassAndClosesOnItsTimer)
{
    QTemporaryDir dir;
    TFMStart s(dir.path());
    EXPECT_TRUE(s.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(s.windowFlags() & Qt::FramelessWindowHint);
    const int depth = THourglass::Depth();
    s.show();
    EXPECT_EQ(THourglass::Depth(), depth + 1);
    EXPECT_TRUE(THourglass::Waiting());
    s.StartTimer(50);
    QElapsedTimer clock;
    clock.start();
    while (s.isVisible() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_FALSE(s.isVisible());
    EXPECT_EQ(THourglass::Depth(), depth);
}

} // namespace
