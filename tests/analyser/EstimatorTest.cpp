#include "analyser/Matrix.h"
#include "analyser/covf.h"
#include "analyser/covf2.h"
#include "analyser/dtrend.h"
#include "analyser/idmsize.h"
#include "analyser/phase.h"
#include "analyser/refsig10.h"
#include "analyser/spav4.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <sstream>

using namespace respana;

namespace {

constexpr double pi = std::numbers::pi;

std::vector<double> randomSignal(std::size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::normal_distribution<double> dist(0.0, 1.0);
    std::vector<double> v(n);
    for (double &x : v)
        x = dist(gen);
    return v;
}

std::vector<double> linearGrid(double from, double to, std::size_t n)
{
    std::vector<double> w(n);
    for (std::size_t k = 0; k < n; ++k)
        w[k] = from + (to - from) * static_cast<double>(k) / static_cast<double>(n - 1);
    return w;
}

} // namespace

TEST(Refsig10, IsTheMaximumLengthSequence)
{
    const std::vector<double> s = refsig10();
    ASSERT_EQ(s.size(), 1023u);
    EXPECT_EQ(std::count(s.begin(), s.end(), 1.0), 511);
    EXPECT_EQ(std::count(s.begin(), s.end(), -1.0), 512);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(s[i], -1.0) << i;
    EXPECT_EQ(s[10], 1.0);
    EXPECT_EQ(s[11], 1.0);

    // The register is back at its start after one period: the next period
    // repeats, and no shorter period exists.
    const std::vector<double> two = refsig10(2046);
    EXPECT_TRUE(std::equal(s.begin(), s.end(), two.begin() + 1023));
    for (std::size_t p : {1u, 3u, 11u, 31u, 33u, 93u, 341u})
        EXPECT_FALSE(std::equal(s.begin(), s.begin() + 100, two.begin() + p)) << p;
}

TEST(Dtrend, RemovesEachColumnsMean)
{
    const TMatrix z = dtrend(TMatrix::fromColumns({{1, 2, 3, 6}, {-1, -1, -1, -1}}));
    const std::vector<double> col0(z.column(0), z.column(0) + 4), col1(z.column(1), z.column(1) + 4);
    EXPECT_EQ(col0, (std::vector<double>{-2, -1, 0, 3}));
    EXPECT_EQ(col1, (std::vector<double>{0, 0, 0, 0}));
}

TEST(Idmsize, IsTheUsualBound)
{
    EXPECT_EQ(idmsize(), 250000u);
}

// y = 1 2 3, u = 4 5 6, biased sums over N - k terms divided by N = 3.
TEST(Covariance, RowsAreRyyRuyRyuRuuForBothMethods)
{
    const TMatrix z = TMatrix::fromColumns({{1, 2, 3}, {4, 5, 6}});
    const double expected[4][4] = {
        {14.0 / 3, 8.0 / 3, 3.0 / 3, 0},   // Ryy
        {32.0 / 3, 23.0 / 3, 12.0 / 3, 0}, // Ruy: sum u(t) y(t+k)
        {32.0 / 3, 17.0 / 3, 6.0 / 3, 0},  // Ryu: sum y(t) u(t+k)
        {77.0 / 3, 50.0 / 3, 24.0 / 3, 0}, // Ruu
    };
    for (const TMatrix &r : {covf2(z, 4), covf(z, 4, 65536)}) {
        ASSERT_EQ(r.rows(), 4u);
        ASSERT_EQ(r.cols(), 4u);
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                EXPECT_NEAR(r(row, k), expected[row][k], 1e-12) << row << "," << k;
    }
}

struct TCovCase
{
    std::size_t n, cols, M;
};

class CovarianceMethods : public ::testing::TestWithParam<TCovCase>
{
};

TEST_P(CovarianceMethods, TransformAgreesWithDirectSums)
{
    const TCovCase c = GetParam();
    std::vector<std::vector<double>> columns;
    for (std::size_t j = 0; j < c.cols; ++j)
        columns.push_back(randomSignal(c.n, 17 + static_cast<unsigned>(j)));
    const TMatrix z = TMatrix::fromColumns(columns);
    const TMatrix direct = covf2(z, c.M);
    const TMatrix transform = covf(z, c.M, 65536);
    const TMatrix forcedDirect = covf(z, c.M, 8 * c.n - 1);
    ASSERT_EQ(transform.rows(), c.cols * c.cols);
    for (std::size_t row = 0; row < direct.rows(); ++row)
        for (std::size_t k = 0; k < c.M; ++k) {
            EXPECT_NEAR(transform(row, k), direct(row, k), 1e-12) << row << "," << k;
            EXPECT_EQ(forcedDirect(row, k), direct(row, k));
        }
}

INSTANTIATE_TEST_SUITE_P(Sizes, CovarianceMethods,
                         ::testing::Values(TCovCase{1023, 2, 256}, TCovCase{1024, 2, 256}, TCovCase{200, 2, 199},
                                           TCovCase{5, 2, 9}, TCovCase{300, 1, 40}, TCovCase{2, 2, 1}));

TEST(LagWindow, HalvedAtZeroAndZeroAtTheLastLag)
{
    EXPECT_EQ(spaLagWindow(1), (std::vector<double>{0.5}));
    EXPECT_EQ(spaLagWindow(2), (std::vector<double>{0.5, 0.0}));
    const std::vector<double> w = spaLagWindow(5);
    const double expected[] = {0.5, 0.5 + 0.5 * std::cos(pi / 4), 0.5, 0.5 - 0.5 * std::cos(pi / 4), 0.0};
    for (int k = 0; k < 5; ++k)
        EXPECT_NEAR(w[k], expected[k], 1e-15) << k;
}

TEST(Spav4, WindowOfTwoLeavesOnlyLagZero)
{
    const std::vector<double> y = randomSignal(300, 1), u = randomSignal(300, 2);
    const TMatrix z = TMatrix::fromColumns({y, u});
    double yu = 0, uu = 0;
    for (std::size_t t = 0; t < 300; ++t) {
        yu += y[t] * u[t];
        uu += u[t] * u[t];
    }
    std::ostringstream messages;
    const TSpaResult r = spav4(z, 2, linearGrid(0.01, 3.1, 50), 65536, 1.0, messages);
    for (const TSpaRow &row : r.rows)
        EXPECT_NEAR(row.magnitude, std::abs(yu / uu), 1e-12);
    EXPECT_EQ(messages.str(), "");
}

TEST(Spav4, PureGainIsFlat)
{
    const std::vector<double> u = refsig10();
    std::vector<double> y(u.size());
    std::transform(u.begin(), u.end(), y.begin(), [](double v) { return 3.0 * v; });
    const TMatrix z = dtrend(TMatrix::fromColumns({y, u}));
    std::ostringstream messages;
    const double T = 0.25e-3;
    const TSpaResult r = spav4(z, 256, linearGrid(10, 0.99 * pi / T, 200), 65536, T, messages);
    ASSERT_EQ(r.rows.size(), 200u);
    for (const TSpaRow &row : r.rows) {
        EXPECT_NEAR(row.magnitude, 3.0, 1e-9);
        EXPECT_NEAR(row.phaseDegrees, 0.0, 1e-9);
    }
}

// Frequencies beyond the Nyquist frequency are legal for the estimator; on
// them the delay's phase runs on past -180 degrees and must be unwrapped.
TEST(Spav4, OneSampleDelayUnwrapsPastMinus180)
{
    const std::vector<double> u = refsig10();
    std::vector<double> y(u.size(), 0.0);
    for (std::size_t t = 1; t < u.size(); ++t)
        y[t] = u[t - 1];
    const TMatrix z = dtrend(TMatrix::fromColumns({y, u}));
    const double T = 1e-3;
    const std::vector<double> w = linearGrid(5.0, 1.8 * pi / T, 300);
    std::ostringstream messages;
    const TSpaResult r = spav4(z, 256, w, 65536, T, messages);
    for (const TSpaRow &row : r.rows) {
        // The lag window meets the covariances one lag shifted, which leaves
        // a ripple of about a degree and a percent.
        EXPECT_NEAR(row.phaseDegrees, -row.omega * T * 180.0 / pi, 2.0) << row.omega;
        EXPECT_NEAR(row.magnitude, 1.0, 0.03) << row.omega;
    }
    EXPECT_LT(r.rows.back().phaseDegrees, -320.0);
}

TEST(Spav4, LowersTheResolutionForShortData)
{
    const TMatrix z = TMatrix::fromColumns({randomSignal(200, 3), randomSignal(200, 4)});
    std::ostringstream messages;
    const TSpaResult r = spav4(z, 256, {0.5, 1.0}, 65536, 1.0, messages);
    EXPECT_EQ(r.M, 199u);
    EXPECT_EQ(messages.str(), "WARNING: Resolution parameter M changed to 199\n");

    std::ostringstream quiet;
    EXPECT_EQ(spav4(z, 199, {0.5}, 65536, 1.0, quiet).M, 199u);
    EXPECT_EQ(quiet.str(), "");
}

TEST(Spav4, RefusesRowsOfData)
{
    const TMatrix z = TMatrix::fromColumns({{1.0}, {2.0}});
    std::ostringstream messages;
    try {
        spav4(z, 256, {1.0}, 65536, 1.0, messages);
        FAIL() << "no error";
    } catch (const std::invalid_argument &e) {
        EXPECT_STREQ(e.what(), " The data should be entered in column vectors");
    }
}

TEST(Spav4, BothCovarianceMethodsGiveTheSameEstimate)
{
    const TMatrix z = dtrend(TMatrix::fromColumns({randomSignal(1023, 5), randomSignal(1023, 6)}));
    const std::vector<double> w = linearGrid(1.0, 3000.0, 460);
    std::ostringstream messages;
    const TSpaResult a = spav4(z, 256, w, 65536, 1e-3, messages);
    const TSpaResult b = spav4(z, 256, w, 8, 1e-3, messages);
    for (std::size_t j = 0; j < w.size(); ++j) {
        EXPECT_NEAR(a.rows[j].magnitude, b.rows[j].magnitude, 1e-10 * a.rows[j].magnitude);
        EXPECT_NEAR(a.rows[j].phaseDegrees, b.rows[j].phaseDegrees, 1e-8);
    }
}

struct TPhaseCase
{
    const char *name;
    std::vector<double> raw;      // radians, each in (-pi, pi]
    std::vector<double> expected; // unwrapped
};

class PhaseUnwrap : public ::testing::TestWithParam<TPhaseCase>
{
};

TEST_P(PhaseUnwrap, ShiftsOnlyJumpsAbove3Point5)
{
    const TPhaseCase &c = GetParam();
    std::vector<std::complex<double>> G;
    for (double p : c.raw)
        G.push_back(std::polar(2.0, p));
    const std::vector<double> phi = phase(G);
    ASSERT_EQ(phi.size(), c.expected.size());
    for (std::size_t j = 0; j < phi.size(); ++j)
        EXPECT_NEAR(phi[j], c.expected[j], 1e-12) << j;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PhaseUnwrap,
    ::testing::Values(
        TPhaseCase{"down", {3.0, -3.0}, {3.0, -3.0 + 2 * pi}},
        TPhaseCase{"up", {-3.0, 3.0}, {-3.0, 3.0 - 2 * pi}},
        TPhaseCase{"jumpBelowThreshold", {3.0, -0.4}, {3.0, -0.4}},
        TPhaseCase{"justAboveThreshold", {2.0, -1.51}, {2.0, -1.51 + 2 * pi}},
        TPhaseCase{"accumulates", {3.0, -3.0, 2.9, -3.1, -3.0}, {3.0, -3.0 + 2 * pi, 2.9, -3.1 + 2 * pi, -3.0 + 2 * pi}},
        TPhaseCase{"betweenPiAnd3Point5", {1.6, -1.7}, {1.6, -1.7}},
        TPhaseCase{"twoTurnsDown", {0.0, -2.5, 2.5, 0.5, -1.5, 2.2}, {0.0, -2.5, 2.5 - 2 * pi, 0.5 - 2 * pi, -1.5 - 2 * pi, 2.2 - 4 * pi}},
        TPhaseCase{"single", {1.0}, {1.0}},
        TPhaseCase{"empty", {}, {}}),
    [](const ::testing::TestParamInfo<TPhaseCase> &info) { return std::string(info.param.name); });
