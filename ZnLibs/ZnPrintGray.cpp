#include "ZnLibs/ZnPrintGray.h"

#include <cmath>

namespace {

double Weighted(int r, int g, int b)
{
    return 0.298912 * r + 0.586611 * g + 0.114478 * b;
}

} // namespace

int ZnPrintGray::Luminance(int r, int g, int b)
{
    return int(std::lround(Weighted(r, g, b)));
}

QColor ZnPrintGray::GrayColor(const QColor &colour)
{
    const int v = Luminance(colour.red(), colour.green(), colour.blue());
    return QColor(v, v, v);
}

QImage ZnPrintGray::GrayBitmap(const QImage &source)
{
    if (source.isNull())
        return QImage();
    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    QImage grey(rgb.size(), QImage::Format_Indexed8);
    QList<QRgb> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = qRgb(255 - i, 255 - i, 255 - i);
    grey.setColorTable(palette);
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar *in = rgb.constScanLine(y);
        uchar *out = grey.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x, in += 3)
            out[x] = uchar(std::lround(255.0 - Weighted(in[0], in[1], in[2])));
    }
    return grey;
}
