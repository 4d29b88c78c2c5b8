#include "sim/SimPlant.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;

// Steady-state amplitude of the motor speed under a sine torque of amplitude
// 1 % at f Hz, by a least-squares fit of sine, cosine and offset over the
// last cycles.
double GainAt(TSimPlant plant, double f, double dtOverride = 0)
{
    const double dt = dtOverride > 0 ? dtOverride : 1.0 / (f * 40.0);
    const int perCycle = std::max(1, int(std::lround(1.0 / (f * dt))));
    const int settle = perCycle * 150, measure = perCycle * 20;
    double sxx = 0, syy = 0, sxy = 0, sx1 = 0, sy1 = 0, n = 0, bx = 0, by = 0, b1 = 0;
    double t = 0;
    for (int i = 0; i < settle + measure; ++i) {
        plant.Step(std::sin(2 * Pi * f * t), dt);
        t += dt;
        if (i < settle)
            continue;
        const double x = std::sin(2 * Pi * f * t), y = std::cos(2 * Pi * f * t), v = plant.MotorSpeed();
        sxx += x * x, syy += y * y, sxy += x * y, sx1 += x, sy1 += y, n += 1;
        bx += x * v, by += y * v, b1 += v;
    }
    // Solve the 3x3 normal equations by Cramer's rule.
    const double a[3][3] = {{sxx, sxy, sx1}, {sxy, syy, sy1}, {sx1, sy1, n}};
    const double b[3] = {bx, by, b1};
    auto det = [](const double m[3][3]) {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
               + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    const double d = det(a);
    double coef[2];
    for (int c = 0; c < 2; ++c) {
        double m[3][3];
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 3; ++k)
                m[r][k] = k == c ? b[r] : a[r][k];
        coef[c] = det(m) / d;
    }
    return std::hypot(coef[0], coef[1]);
}

TSimPlant Plant(double hz, double zeta = 0.05)
{
    TSimPlant::TParameters p;
    p.resonanceHz = hz;
    p.zeta = zeta;
    p.frictionPercent = 0;
    return TSimPlant(p);
}

struct PeakCase {
    double hz;
    double zeta;
};

class PlantPeak : public ::testing::TestWithParam<PeakCase> {};

// The torque-to-speed response peaks at the set resonance and dips at the
// anti-resonance, which is what the tunings and the measurement find.
TEST_P(PlantPeak, ResponsePeaksAtTheResonanceAndDipsBeforeIt)
{
    const PeakCase c = GetParam();
    const TSimPlant plant = Plant(c.hz, c.zeta);
    double bestF = 0, bestGain = 0, lowF = 0, lowGain = 1e300;
    for (double f = 0.5 * c.hz; f <= 1.6 * c.hz; f *= 1.01) {
        // The rigid-body part falls with frequency; take it out to find the peak.
        const double g = GainAt(plant, f) * f;
        if (g > bestGain)
            bestGain = g, bestF = f;
        if (g < lowGain)
            lowGain = g, lowF = f;
    }
    // Damping moves both a little off the undamped frequencies.
    const double tolerance = std::max(0.03, 0.8 * c.zeta);
    EXPECT_NEAR(bestF, c.hz, tolerance * c.hz);
    EXPECT_NEAR(lowF, plant.AntiResonanceHz(), tolerance * plant.AntiResonanceHz());
    EXPECT_GT(bestGain / lowGain, 4.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlantPeak,
                         ::testing::Values(PeakCase{300, 0.05}, PeakCase{320, 0.1}, PeakCase{600, 0.03},
                                           PeakCase{80, 0.2}));

TEST(Plant, PureGainIsFlatAndInstant)
{
    TSimPlant::TParameters p;
    p.resonanceHz = 0;
    p.pureGain = 7;
    TSimPlant plant(p);
    for (double f : {1.0, 30.0, 500.0, 2000.0})
        EXPECT_NEAR(GainAt(plant, f), 7.0, 0.01) << f;
    plant.Step(3, 0.001);
    EXPECT_DOUBLE_EQ(plant.MotorSpeed(), 21.0);
    EXPECT_DOUBLE_EQ(plant.AntiResonanceHz(), 0.0);
}

// Long steps (a slow recorder) stay stable and agree with short ones.
TEST(Plant, LongStepsStayStable)
{
    TSimPlant a = Plant(600), b = Plant(600);
    for (int i = 0; i < 2000; ++i) {
        a.Step(10, 0.002);
        for (int k = 0; k < 20; ++k)
            b.Step(10, 0.0001);
    }
    EXPECT_TRUE(std::isfinite(a.MotorSpeed()));
    EXPECT_NEAR(a.MotorSpeed(), b.MotorSpeed(), 1e-6 * std::abs(b.MotorSpeed()) + 1e-9);
    // 10 % for 4 s at 2000 r/min/s per % : 80000 r/min without friction.
    EXPECT_NEAR(a.MotorSpeed(), 80000.0, 1.0);
}

TEST(Plant, FrictionHoldsASmallTorque)
{
    TSimPlant::TParameters p = TSimPlant::DefaultFor(1);
    p.frictionPercent = 2;
    TSimPlant plant(p);
    for (int i = 0; i < 100; ++i)
        plant.Step(1.5, 0.001);
    EXPECT_EQ(plant.MotorSpeed(), 0.0);
    for (int i = 0; i < 100; ++i)
        plant.Step(5, 0.001);
    EXPECT_GT(plant.MotorSpeed(), 0.0);
}

TEST(Plant, ParseTakesFrequencyAndOptionalDamping)
{
    struct Case {
        const char *text;
        bool ok;
        double hz, zeta;
    };
    const Case cases[] = {
        {"300", true, 300, 0.05}, {"320,0.1", true, 320, 0.1}, {"0", true, 0, 0.05},
        {"-5", false, 0, 0},      {"abc", false, 0, 0},        {"300,0", false, 0, 0},
        {"300,x", false, 0, 0},   {"", false, 0, 0},           {"6000", false, 0, 0},
    };
    for (const Case &c : cases) {
        TSimPlant::TParameters p;
        std::string error;
        EXPECT_EQ(TSimPlant::Parse(c.text, p, &error), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(p.resonanceHz, c.hz) << c.text;
            EXPECT_DOUBLE_EQ(p.zeta, c.zeta) << c.text;
        } else {
            EXPECT_FALSE(error.empty()) << c.text;
        }
    }
    EXPECT_NEAR(TSimPlant::DefaultFor(1).resonanceHz, 250, 1e-9);
    EXPECT_NE(TSimPlant::DefaultFor(2).resonanceHz, TSimPlant::DefaultFor(1).resonanceHz);
}

} // namespace
