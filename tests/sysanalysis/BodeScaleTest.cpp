// The scales of the frequency-response graphs.
#include "sysanalysis/BodeScale.h"

#include <gtest/gtest.h>

namespace {

TEST(BodeScale, FrequencyAxisRunsFromOneHertzToTwoKilohertz)
{
    EXPECT_EQ(TBodeScale::X(1), 0);
    EXPECT_EQ(TBodeScale::X(2000), TBodeScale::Width - 1);
    EXPECT_EQ(TBodeScale::X(10), 127); // log10(10)/log10(2000) * 420 = 127.2
    EXPECT_TRUE(TBodeScale::Plotted(1));
    EXPECT_TRUE(TBodeScale::Plotted(2000));
    EXPECT_FALSE(TBodeScale::Plotted(0.9));
    EXPECT_FALSE(TBodeScale::Plotted(2000.5));
}

TEST(BodeScale, GainAndPhaseLieOnTheirDivisions)
{
    struct TCase {
        double gain;
        int range, offset, y;
    };
    const TCase cases[] = {{-20, 10, 0, 80}, {30, 10, 0, 0}, {-60, 10, 0, 144}, {0, 5, -2, 80}, {25, 5, -2, 0}};
    for (const TCase &c : cases)
        EXPECT_EQ(TBodeScale::GainY(c.gain, c.range, c.offset), c.y) << c.gain << " " << c.range << " " << c.offset;
    EXPECT_EQ(TBodeScale::PhaseY(-180), 144);
    EXPECT_EQ(TBodeScale::PhaseY(180), 0);
    EXPECT_EQ(TBodeScale::PhaseY(0), 72);
    EXPECT_EQ(TBodeScale::GainLabels(10, 0).first(), QStringLiteral("30"));
    EXPECT_EQ(TBodeScale::GainLabels(10, 0).last(), QStringLiteral("-60"));
    EXPECT_EQ(TBodeScale::GainLabels(5, -2).first(), QStringLiteral("25"));
    EXPECT_EQ(TBodeScale::GainLabels(5, -2).last(), QStringLiteral("-20"));
    EXPECT_EQ(TBodeScale::GainLabels(5, -2).size(), 10);
}

TEST(BodeScale, AutoChoosesRangeAndOffset)
{
    struct TCase {
        double low, high;
        int range, offset;
    };
    const TCase cases[] = {
        {-35, 12, 10, 0},  {20, 50, 10, -2}, {-120, -70, 20, 0}, {-80, -65, 10, 2},
        {-3, 4, 1, -1},    {0, 0, 1, 0},     {-400, 300, 0, 0}, // no range holds 700 dB
    };
    for (const TCase &c : cases) {
        const TBodeScale::TAuto a = TBodeScale::Auto(c.low, c.high);
        EXPECT_EQ(a.range, c.range) << c.low << ".." << c.high;
        EXPECT_EQ(a.offset, c.offset) << c.low << ".." << c.high;
    }
}

TEST(BodeScale, RangeTextsAreLookedUp)
{
    EXPECT_EQ(TBodeScale::GainRangeText(10), QStringLiteral(" 10"));
    EXPECT_EQ(TBodeScale::GainRangeText(1), QStringLiteral("  1"));
    for (int r : TBodeScale::GainRanges())
        EXPECT_EQ(TBodeScale::GainRangeOfText(TBodeScale::GainRangeText(r)), r);
    EXPECT_EQ(TBodeScale::GainRangeOfText(QStringLiteral("10")), 0);
}

TEST(BodeScale, PointUnderThePointer)
{
    const std::vector<int> xs{0, 10, 10, 20, 40};
    struct TCase {
        int x, point;
    };
    const TCase cases[] = {{-5, 0}, {0, 0}, {9, 0}, {10, 2}, {19, 2}, {20, 3}, {39, 3}, {40, 4}, {500, 4}};
    for (const TCase &c : cases)
        EXPECT_EQ(TBodeScale::PointAt(xs, c.x), c.point) << c.x;
    EXPECT_EQ(TBodeScale::PointAt({}, 7), 0);
}

TEST(BodeScale, GridWalksTheDecadesToTwoKilohertz)
{
    const std::vector<double> f = TBodeScale::GridFrequencies();
    ASSERT_EQ(f.size(), 29u); // 9 + 9 + 9 + 1000 and 2000
    EXPECT_DOUBLE_EQ(f[0], 1);
    EXPECT_DOUBLE_EQ(f[9], 10);
    EXPECT_DOUBLE_EQ(f[17], 90);
    EXPECT_DOUBLE_EQ(f[27], 1000);
    EXPECT_DOUBLE_EQ(f.back(), 2000);
}

} // namespace
