#include "RecordingMaker.h"

#include "analyser/Analysis.h"
#include "analyser/InputFile.h"
#include "analyser/Recording.h"
#include "analyser/RespanaError.h"
#include "analyser/ResultFile.h"
#include "analyser/Smoothing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

using namespace respana;
using respana::testing::TSyntheticRecording;

namespace {

constexpr double pi = std::numbers::pi;

// A recording with something in it: a ramp that wraps, enough to estimate.
TSyntheticRecording someRecording()
{
    TSyntheticRecording rec;
    for (std::size_t k = 0; k < rec.analog.size(); ++k)
        rec.analog[k] = static_cast<long long>((k * 37) % 101) - 50;
    return rec;
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r')
            l.pop_back();
        lines.push_back(l);
    }
    return lines;
}

std::string joined(const std::vector<std::string> &lines, const char *eol = "\r\n")
{
    std::string s;
    for (const std::string &l : lines)
        s += l + eol;
    return s;
}

// The one-line message for this text, or "" when it analyses fine.
std::string failureOf(const std::string &text)
{
    try {
        std::ostringstream messages;
        analyse(TInputFile::parse(text, "_sysan01.CSV"), messages);
        return "";
    } catch (const TRespanaError &e) {
        return e.what();
    }
}

} // namespace

struct TBadInput
{
    const char *name;
    std::function<void(std::vector<std::string> &)> edit;
    const char *message; // expected part of the message
};

class BadInput : public ::testing::TestWithParam<TBadInput>
{
};

TEST_P(BadInput, FailsWithOneLineNamingTheFileAndLine)
{
    std::vector<std::string> lines = linesOf(someRecording().exchangeText());
    GetParam().edit(lines);
    const std::string message = failureOf(joined(lines));
    EXPECT_NE(message.find(GetParam().message), std::string::npos) << message;
    EXPECT_EQ(message.rfind("_sysan01.CSV", 0), 0u) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInput,
    ::testing::Values(
        TBadInput{"dashSample", [](auto &l) { l[19] = "5,-,0"; }, "line 20: column 2 holds \"-\""},
        TBadInput{"dashBit", [](auto &l) { l[30] = "16,3,-"; }, "line 31: column 3 holds \"-\""},
        TBadInput{"dashBeforeTrigger", [](auto &l) { l[14] = "0,-,-"; }, "line 15: column 2"},
        TBadInput{"twoValues", [](auto &l) { l[16] = "2,5"; }, "line 17: 2 values where three"},
        TBadInput{"fourValues", [](auto &l) { l[16] = "2,5,0,0"; }, "line 17: 4 values"},
        TBadInput{"word", [](auto &l) { l[16] = "2,abc,0"; }, "line 17: \"abc\" in column 2 is not a number"},
        TBadInput{"emptyCell", [](auto &l) { l[16] = "2,,0"; }, "line 17: column 2 is empty"},
        TBadInput{"overflow", [](auto &l) { l[16] = "2,1e999,0"; }, "line 17: \"1e999\" in column 2"},
        TBadInput{"nan", [](auto &l) { l[0] = "nan,0,0"; }, "line 1: \"nan\""},
        TBadInput{"doubleSign", [](auto &l) { l[16] = "2,+-5,0"; }, "line 17: \"+-5\""},
        TBadInput{"controlBytes", [](auto &l) { l[16] = std::string("2,1\0" "2,0", 7); }, "line 17: \"1?2\""},
        TBadInput{"truncatedHeader", [](auto &l) { l.resize(10); }, "ends at line 10 after 10 rows"},
        TBadInput{"truncatedRow", [](auto &l) { l.resize(500); l.push_back("485,1"); }, "line 501: 2 values"},
        TBadInput{"emptyFile", [](auto &l) { l.clear(); }, "_sysan01.CSV is empty"},
        TBadInput{"blankOnly", [](auto &l) { l = {"", "  ", "\t"}; }, "_sysan01.CSV is empty"},
        TBadInput{"triggerZero", [](auto &l) { l[12] = "0,0,0"; }, "line 13: TRIGGER-NO 0 leaves 1024 samples (lines 15 to 1038), more than the 1023"},
        TBadInput{"triggerLast", [](auto &l) { l[12] = "1023,0,0"; }, "line 13: TRIGGER-NO 1023 leaves 1 sample before the file ends at line 1038"},
        TBadInput{"triggerBeyond", [](auto &l) { l[12] = "5000,0,0"; }, "TRIGGER-NO 5000 leaves 0 samples"},
        TBadInput{"triggerFraction", [](auto &l) { l[12] = "1.5,0,0"; }, "line 13: TRIGGER-NO is 1.5"},
        TBadInput{"triggerNegative", [](auto &l) { l[12] = "-1,0,0"; }, "line 13: TRIGGER-NO is -1"},
        TBadInput{"smoothingTooWide", [](auto &l) { l[10] = "231,0,0"; }, "line 11: smoothing half-width SW1 is 231; it must be a whole number from 0 to 230"},
        TBadInput{"smoothingNegative", [](auto &l) { l[10] = "-1,0,0"; }, "line 11: smoothing half-width SW1 is -1"},
        TBadInput{"samplingZero", [](auto &l) { l[0] = "0.000,0,0"; }, "line 1: sampling base 0 ms with frequency code 1 (line 3)"},
        TBadInput{"codeHuge", [](auto &l) { l[2] = "5000,0,0"; }, "frequency code 5000"},
        TBadInput{"blankLineInside", [](auto &l) { l[12] = " "; }, "_sysan01.CSV line 13 is empty"},
        TBadInput{"flatRecording",
                  [](auto &l) {
                      for (std::size_t i = 14; i < l.size(); ++i)
                          l[i] = std::to_string(i - 14) + ",7,0";
                  },
                  "no frequency response can be estimated"}),
    [](const ::testing::TestParamInfo<TBadInput> &info) { return std::string(info.param.name); });

TEST(InputFile, ToleratesHowPeopleWriteFilesByHand)
{
    std::vector<std::string> lines = linesOf(someRecording().exchangeText());
    lines[20] = "6,12,0";
    const std::string text = joined(lines);
    const TRecording reference = TRecording::fromInput(TInputFile::parse(text, "a"));

    std::vector<std::string> variants;
    variants.push_back(joined(lines, "\n"));                  // LF only
    variants.push_back("\xEF\xBB\xBF" + text);                // UTF-8 mark
    variants.push_back(text + "\r\n\r\n  \r\n");              // trailing blank lines
    variants.push_back(text.substr(0, text.size() - 2));      // no final line end
    std::vector<std::string> spaced = lines;
    spaced[20] = " 6 , +12\t, 0 ";
    variants.push_back(joined(spaced));
    for (const std::string &v : variants) {
        const TRecording r = TRecording::fromInput(TInputFile::parse(v, "a"));
        EXPECT_EQ(r.IDD, reference.IDD);
        EXPECT_EQ(r.TSD, reference.TSD);
    }
}

TEST(InputFile, ReadNamesTheMissingFile)
{
    try {
        TInputFile::read("/nonexistent/_sysan01.CSV");
        FAIL();
    } catch (const TRespanaError &e) {
        EXPECT_STREQ(e.what(), "cannot open /nonexistent/_sysan01.CSV: No such file or directory");
    }
}

// A FIFO without a writer, a folder and a device are refused at once rather
// than blocking the open or reading for ever.
TEST(InputFile, RefusesWhatIsNotARegularFile)
{
    char folder[] = "/tmp/respana-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string fifo = std::string(folder) + "/_sysan01.CSV";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string &name : {fifo, std::string(folder), std::string("/dev/zero")}) {
        try {
            TInputFile::read(name);
            ADD_FAILURE() << name;
        } catch (const TRespanaError &e) {
            EXPECT_EQ(std::string(e.what()), "cannot open " + name + ": not a regular file");
        }
    }
    ::unlink(fifo.c_str());
    ::rmdir(folder);
}

struct THeaderCase
{
    const char *samplingBase;
    int code, tc, trigger;
    double TSD, MCMD;
    std::size_t samples;
};

class Header : public ::testing::TestWithParam<THeaderCase>
{
};

TEST_P(Header, GivesPeriodAmplitudeAndSamples)
{
    const THeaderCase c = GetParam();
    TSyntheticRecording rec = someRecording();
    rec.samplingBase = c.samplingBase;
    rec.frequencyCode = c.code;
    rec.tc = c.tc;
    rec.trigger = c.trigger;
    const TRecording r = TRecording::fromInput(TInputFile::parse(rec.exchangeText(), "a"));
    EXPECT_NEAR(r.TSD, c.TSD, 1e-15);
    EXPECT_DOUBLE_EQ(r.MCMD, c.MCMD);
    EXPECT_EQ(r.TRGP, static_cast<std::size_t>(c.trigger));
    ASSERT_EQ(r.IDD.size(), c.samples);
    EXPECT_EQ(r.IDD.front(), static_cast<double>(rec.analog[c.trigger]) / 4096.0);
    EXPECT_EQ(r.IDD.back(), static_cast<double>(rec.analog.back()) / 4096.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, Header,
                         ::testing::Values(THeaderCase{"0.250", 1, 50, 1, 0.25e-3, 0.5, 1023},
                                           THeaderCase{"0.250", 3, 100, 1, 1e-3, 1.0, 1023},
                                           THeaderCase{"0.063", 1, 200, 23, 0.063e-3, 2.0, 1001},
                                           THeaderCase{"0.125", 7, 0, 768, 8e-3, 0.0, 256},
                                           THeaderCase{"0.250", 2, 5, 1022, 0.5e-3, 0.05, 2}));

struct TGridCase
{
    double TSD, fmin, fmax;
};

class Grid : public ::testing::TestWithParam<TGridCase>
{
};

TEST_P(Grid, Has460LogSpacedPointsUpToNyquist)
{
    const TGridCase c = GetParam();
    const std::vector<double> w = frequencyGrid(c.TSD);
    ASSERT_EQ(w.size(), 460u);
    EXPECT_NEAR(w.front() / (2 * pi), c.fmin, 1e-10 * c.fmin);
    EXPECT_NEAR(w.back() / (2 * pi), c.fmax, 1e-10 * c.fmax);
    const double ratio = w[1] / w[0];
    for (std::size_t k = 1; k < w.size(); ++k)
        EXPECT_NEAR(w[k] / w[k - 1], ratio, 1e-12) << k;
}

INSTANTIATE_TEST_SUITE_P(Cases, Grid,
                         ::testing::Values(TGridCase{0.25e-3, 10.0, 2000.0}, TGridCase{1e-3, 2.5, 500.0},
                                           TGridCase{0.063e-3, 0.005 / 0.126e-3, 1 / 0.126e-3}));

// 0.0625 ms arrives as "0.063": the grid follows the written value.
TEST(Analysis, SamplingBaseIsTakenAsWritten)
{
    TSyntheticRecording rec = someRecording();
    rec.samplingBase = "0.063";
    std::ostringstream messages;
    const TResponseTable t = analyse(TInputFile::parse(rec.exchangeText(), "a"), messages);
    ASSERT_EQ(t.size(), 460u);
    EXPECT_NEAR(t.front().frequency, 39.682539682539684, 1e-9);
    EXPECT_NEAR(t.back().frequency, 7936.507936507937, 1e-9);
    EXPECT_EQ(messages.str(), "");
}

TEST(Analysis, LateTriggerLowersTheResolution)
{
    TSyntheticRecording rec = someRecording();
    rec.trigger = 768;
    std::ostringstream messages;
    EXPECT_EQ(analyse(TInputFile::parse(rec.exchangeText(), "a"), messages).size(), 460u);
    EXPECT_EQ(messages.str(), "WARNING: Resolution parameter M changed to 255\n");
}

TEST(WrapPhase, MapsOntoMinus180To180)
{
    const std::pair<double, double> cases[] = {{10, -170}, {-10, 170}, {0, 180}, {180, 0},   {-180, 0},
                                               {190, 10},  {-190, -10}, {360, 180}, {-360, 180}, {-350, -170},
                                               {-540, 0},  {725, -175}};
    for (const auto &[in, out] : cases)
        EXPECT_NEAR(wrapPhase(in), out, 1e-12) << in;
}

struct TSmoothCase
{
    std::size_t smn, row, first, last; // 1-based rows; row averages first ... last
};

class Smoothing : public ::testing::TestWithParam<TSmoothCase>
{
};

TEST_P(Smoothing, AveragesTheNamedRows)
{
    const TSmoothCase c = GetParam();
    TResponseTable t(460);
    for (std::size_t i = 0; i < t.size(); ++i) {
        const double x = static_cast<double>(i + 1);
        t[i] = {x * 10.0, x * x, -x * x * x};
    }
    const TResponseTable s = smoothResponse(t, c.smn);
    double gain = 0, phase = 0;
    for (std::size_t r = c.first; r <= c.last; ++r) {
        gain += t[r - 1].gain;
        phase += t[r - 1].phase;
    }
    const double n = static_cast<double>(c.last - c.first + 1);
    EXPECT_DOUBLE_EQ(s[c.row - 1].gain, gain / n);
    EXPECT_DOUBLE_EQ(s[c.row - 1].phase, phase / n);
    for (std::size_t i = 0; i < t.size(); ++i)
        EXPECT_EQ(s[i].frequency, t[i].frequency);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Smoothing,
    ::testing::Values(TSmoothCase{0, 1, 1, 1}, TSmoothCase{0, 2, 2, 2}, TSmoothCase{0, 230, 230, 230},
                      TSmoothCase{0, 460, 460, 460}, TSmoothCase{1, 1, 1, 1}, TSmoothCase{1, 2, 1, 3},
                      TSmoothCase{1, 459, 458, 460}, TSmoothCase{1, 460, 460, 460}, TSmoothCase{3, 1, 1, 1},
                      TSmoothCase{3, 2, 1, 3}, TSmoothCase{3, 3, 1, 5}, TSmoothCase{3, 4, 1, 7},
                      TSmoothCase{3, 100, 97, 103}, TSmoothCase{3, 457, 454, 460}, TSmoothCase{3, 458, 456, 460},
                      TSmoothCase{3, 459, 458, 460}, TSmoothCase{3, 460, 460, 460}, TSmoothCase{230, 230, 1, 459},
                      TSmoothCase{230, 231, 2, 460}, TSmoothCase{230, 459, 458, 460}));

TEST(Smoothing, RefusesAHalfWidthBeyondTheTable)
{
    EXPECT_EQ(maxSmoothingHalfWidth(460), 230u);
    EXPECT_THROW(smoothResponse(TResponseTable(460), 231), std::invalid_argument);
}

TEST(ShortNumber, RoundTripsAndKeepsIntegersPlain)
{
    const double values[] = {0.0,   -0.0,     460.0,   -170.0,           1.0 / 3.0,       0.1,
                             -12.540495193125112, 2000.0000000000002, 9.999999999999998, 1e-7, -2.5e-300,
                             5e-324, 123456.789, 1e15 + 0.5, 3e20,    -1.7976931348623157e308, 1e-5};
    for (double v : values) {
        const std::string text = shortNumber(v);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), v) << text;
        const bool whole = v == std::trunc(v) && std::abs(v) < 9007199254740992.0;
        EXPECT_EQ(text.find('.') == std::string::npos, whole) << text;
        EXPECT_LE(text.size(), 26u) << text;
    }
    EXPECT_EQ(shortNumber(460), "460");
    EXPECT_EQ(shortNumber(-0.0), "0");
    EXPECT_EQ(shortNumber(-170.5), "-170.5");
    EXPECT_EQ(shortNumber(1e-7), "1.0e-07");
}

TEST(ResultFile, CountLineThenRowsAllEndedByCrLf)
{
    const TResponseTable t = {{10.0, -3.25, 180.0}, {20.5, 0.0, -170.125}};
    EXPECT_EQ(formatResultFile(t), "2,0,0\r\n10,-3.25,180\r\n20.5,0,-170.125\r\n");
    EXPECT_EQ(formatResultFile({}), "0,0,0\r\n");
}
