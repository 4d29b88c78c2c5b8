#pragma once

#include <QString>

// What the program says about itself: one version from the build, the
// maker's lines shown by the splash and the About box.
namespace Product {

inline QString Version() { return QStringLiteral(TUVANTA_VERSION).trimmed(); }
inline QString Caption() { return QStringLiteral("TUVANTA - Setup Software"); }
inline QString Title() { return QStringLiteral("TUVANTA"); }
inline QString SupportedSystems() { return QStringLiteral("For Halvex HX-A / HX-B / HX-C servo amplifiers"); }
inline QString Maker() { return QStringLiteral("Halvex Motion Systems Co., Ltd."); }
inline QString WebAddress() { return QStringLiteral("https://www.halvex.example/"); }

} // namespace Product
