#include "sysanalysis/BodeScale.h"

#include "sysanalysis/MachineResult.h"

#include <algorithm>
#include <cmath>

const std::vector<int> &TBodeScale::GainRanges()
{
    static const std::vector<int> ranges{1, 2, 5, 10, 20, 40};
    return ranges;
}

QString TBodeScale::GainRangeText(int range)
{
    return QString::number(range).rightJustified(3, u' ');
}

int TBodeScale::GainRangeOfText(const QString &text)
{
    for (int r : GainRanges())
        if (GainRangeText(r) == text)
            return r;
    return 0;
}

int TBodeScale::X(double hz, int width)
{
    return int(std::lround(std::log10(hz) / std::log10(MaxHz) * (width - 1)));
}

int TBodeScale::GainY(double gain, int range, int offset)
{
    return int(std::lround((3 - offset - gain / range) * GainDivision));
}

int TBodeScale::PhaseY(double phase, int range)
{
    return int(std::lround((3 - phase / range) * PhaseDivision));
}

QStringList TBodeScale::GainLabels(int range, int offset)
{
    QStringList labels;
    for (int i = 0; i <= GainDivisions; ++i)
        labels << QString::number(range * (3 - offset - i));
    return labels;
}

QStringList TBodeScale::PhaseLabels()
{
    return {QStringLiteral("180"), QStringLiteral("120"), QStringLiteral("60"), QStringLiteral("0"),
            QStringLiteral("-60"), QStringLiteral("-120"), QStringLiteral("-180")};
}

TBodeScale::TAuto TBodeScale::Auto(double b, double c)
{
    TAuto a;
    for (int r : GainRanges()) {
        const double nb = std::ceil(std::abs(b) / r), nc = std::ceil(std::abs(c) / r);
        const double d = b * c >= 0 ? std::max(nb, nc) : nb + nc;
        if (d <= 9) {
            a.range = r;
            break;
        }
    }
    if (a.range == 0)
        return a;
    const double r = a.range;
    if (b > -6 * r && c > 3 * r) {
        for (int n = -1; n >= -6; --n)
            if (b >= r * (-n - 6) && c <= r * (3 - n)) {
                a.offset = n;
                break;
            }
    } else if (b >= -6 * r || c >= 3 * r) {
        a.offset = 0;
    } else {
        for (int j = 1; j <= 3; ++j)
            if (b >= r * (-j - 6) && c <= r * (3 - j)) {
                a.offset = j;
                break;
            }
    }
    return a;
}

int TBodeScale::PointAt(const std::vector<int> &xs, int x)
{
    if (xs.empty() || x <= xs.front())
        return 0;
    const auto it = std::upper_bound(xs.begin(), xs.end(), x);
    return int(it - xs.begin()) - 1;
}

std::vector<double> TBodeScale::GridFrequencies()
{
    std::vector<double> out;
    for (double f = 1; f <= MaxHz + 0.5;) {
        out.push_back(f);
        f += std::pow(10.0, std::floor(std::log10(f) + 1e-9));
    }
    return out;
}

void TBodeScale::PlottedRun(const TMachineResult &r, int &first, int &count)
{
    first = -1;
    count = 0;
    for (size_t i = 0; i < r.DATA2.size(); ++i) {
        const bool in = Plotted(r.DATA2[i].frequency);
        if (in && first < 0)
            first = int(i);
        if (first >= 0) {
            if (!in || (count > 0 && r.DATA2[i].frequency < r.DATA2[i - 1].frequency))
                break;
            ++count;
        }
    }
}

TBodeScale::TAuto TBodeScale::AutoOf(const TMachineResult &r)
{
    if (r.DATA2.empty())
        return {};
    double low = r.DATA2.front().gain, high = low;
    for (const TMachineResult::TRow &row : r.DATA2) {
        low = std::min(low, row.gain);
        high = std::max(high, row.gain);
    }
    return Auto(low, high);
}
