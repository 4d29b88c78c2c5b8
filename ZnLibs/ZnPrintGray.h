#pragma once

#include <QColor>
#include <QImage>

// Grey-scale printing: reports convert their colours and pictures with these
// when the grey-scale option of the settings is on.
namespace ZnPrintGray {

// The luminance of a colour, 0 to 255:
// round(0.298912 R + 0.586611 G + 0.114478 B).
int Luminance(int r, int g, int b);
// The grey of that luminance in all three components.
QColor GrayColor(const QColor &colour);
// An 8-bit image with a 256-entry palette whose entry i is the grey 255 - i;
// each pixel holds round(255 - luminance) of its source pixel (the source is
// taken as 24-bit).
QImage GrayBitmap(const QImage &source);

} // namespace ZnPrintGray
