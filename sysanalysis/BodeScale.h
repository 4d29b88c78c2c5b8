#pragma once

#include <QString>
#include <QStringList>

#include <vector>

struct TMachineResult;

// The geometry and scales of the frequency-response graphs: a logarithmic
// frequency axis from 1 to 2000 Hz across the graph's width, the gain in
// dB over nine divisions of 16 pixels (shifted by whole divisions) and the
// phase in degrees over six divisions of 24 pixels.
class TBodeScale
{
public:
    static constexpr int Width = 421;
    static constexpr int Height = 145;
    static constexpr int GainDivision = 16;
    static constexpr int GainDivisions = 9;
    static constexpr int PhaseDivision = 24;
    static constexpr int PhaseDivisions = 6;
    static constexpr double MinHz = 1;
    static constexpr double MaxHz = 2000;
    static constexpr int MinOffset = -6;
    static constexpr int MaxOffset = 3;
    static constexpr int PhaseRange = 60;

    // The gain ranges (dB per division) and their texts.
    static const std::vector<int> &GainRanges();
    static QString GainRangeText(int range);
    // The range of a text, 0 when the text is not one of them.
    static int GainRangeOfText(const QString &text);

    static int X(double hz, int width = Width);
    static int GainY(double gain, int range, int offset);
    static int PhaseY(double phase, int range = PhaseRange);
    // Whether a row is plotted: 1 to 2000 Hz inclusive.
    static bool Plotted(double hz) { return hz >= MinHz && hz <= MaxHz; }

    // Scale labels from the top: gain ten, phase seven.
    static QStringList GainLabels(int range, int offset);
    static QStringList PhaseLabels();

    // The plotted rows: the run from the first row inside 1 to 2000 Hz (the
    // analyser writes ascending frequencies; a file that does not ends its
    // run at the first row outside or the first step down). first is -1
    // when no row is plotted.
    static void PlottedRun(const TMachineResult &r, int &first, int &count);
    // "Auto": the range and offset that show gains from low to high.
    // range 0 when no range holds the span (the offset is then 0).
    struct TAuto {
        int range = 0;
        int offset = 0;
    };
    static TAuto Auto(double low, double high);
    // Auto over all of a result's gains; range 0 without rows.
    static TAuto AutoOf(const TMachineResult &r);

    // The point under x among points at xs (ascending): the last whose x is
    // not beyond it; 0 left of the first, the last right of the last.
    static int PointAt(const std::vector<int> &xs, int x);

    // The vertical grid frequencies 1, 2, ... 9, 10, 20, ... 1000, 2000.
    static std::vector<double> GridFrequencies();
};
