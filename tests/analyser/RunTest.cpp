#include "RecordingMaker.h"

#include "analyser/Analysis.h"
#include "analyser/InputFile.h"
#include "analyser/Recording.h"
#include "analyser/Respana.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

using namespace respana;
using namespace respana::testing;
namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeAll(const fs::path &p, const std::string &text)
{
    std::ofstream(p, std::ios::binary) << text;
}

std::vector<std::string> fileNamesIn(const fs::path &dir)
{
    std::vector<std::string> names;
    for (const auto &e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct TResultRow
{
    double hz, db, deg;
};

// Reads the result file back the way the set-up program does: a count line,
// then that many rows of three numbers.
std::vector<TResultRow> parseResult(const std::string &text)
{
    std::vector<TResultRow> rows;
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    const int n = std::stoi(line);
    for (int i = 0; i < n && std::getline(in, line); ++i) {
        EXPECT_EQ(line.back(), '\r');
        TResultRow r{};
        EXPECT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf", &r.hz, &r.db, &r.deg), 3) << line;
        rows.push_back(r);
    }
    EXPECT_EQ(static_cast<int>(rows.size()), n);
    return rows;
}

class Run : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(FTemp.isValid()); }
    fs::path dir() const { return fs::path(FTemp.path().toStdString()); }
    std::string dataName() const { return (dir() / "_sysan01").string(); }

    int run(const std::vector<std::string> &args)
    {
        FMessages.str("");
        FErrors.str("");
        return runRespana(args, FMessages, FErrors);
    }

    QTemporaryDir FTemp;
    std::ostringstream FMessages, FErrors;
};

} // namespace

TEST_F(Run, WritesTheResultFile)
{
    writeAll(dir() / "_sysan01.CSV", resonanceRecording(TResonance{}).exchangeText());
    ASSERT_EQ(run({dataName()}), 0) << FErrors.str();
    EXPECT_EQ(FErrors.str(), "");
    EXPECT_EQ(FMessages.str(), "");
    const std::string text = readAll(dir() / "_sysan02.CSV");
    EXPECT_EQ(text.rfind("460,0,0\r\n", 0), 0u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 461);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 461);
    EXPECT_EQ(parseResult(text).size(), 460u);
    EXPECT_EQ(fileNamesIn(dir()), (std::vector<std::string>{"_sysan01.CSV", "_sysan02.CSV"}));
}

TEST_F(Run, ArgumentCount)
{
    EXPECT_EQ(run({"_sysan01", "extra"}), 1);
    EXPECT_EQ(FErrors.str(), "Run-time Error: File: Respana Line: 6 Column: 1 The function \"Respana\" was called "
                             "with more than the declared number of inputs (1).\n");
    EXPECT_EQ(run({}), 1);
    EXPECT_NE(FErrors.str().find("DataName is undefined"), std::string::npos) << FErrors.str();
    EXPECT_EQ(run({""}), 1);
    EXPECT_NE(FErrors.str().find("DataName is empty"), std::string::npos) << FErrors.str();
}

TEST_F(Run, FailureKeepsTheOldResultAndLeavesNothingBehind)
{
    writeAll(dir() / "_sysan02.CSV", "old");
    writeAll(dir() / "_sysan01.CSV", "0.250,0,0\r\n-,0,0\r\n");
    EXPECT_EQ(run({dataName()}), 1);
    EXPECT_EQ(FErrors.str(), (dir() / "_sysan01.CSV").string() +
                                 " line 2: column 1 holds \"-\" (a sample that was never read) instead of a number\n");
    EXPECT_EQ(readAll(dir() / "_sysan02.CSV"), "old");
    EXPECT_EQ(fileNamesIn(dir()), (std::vector<std::string>{"_sysan01.CSV", "_sysan02.CSV"}));
}

TEST_F(Run, MissingInput)
{
    EXPECT_EQ(run({dataName()}), 1);
    EXPECT_EQ(FErrors.str(), "cannot open " + dataName() + ".CSV: No such file or directory\n");
    EXPECT_TRUE(fileNamesIn(dir()).empty());
}

TEST_F(Run, OutputThatCannotBeWritten)
{
    writeAll(dir() / "_sysan01.CSV", resonanceRecording(TResonance{}).exchangeText());
    fs::create_directory(dir() / "_sysan02.CSV");
    EXPECT_EQ(run({dataName()}), 1);
    EXPECT_EQ(FErrors.str(), "Could not open file " + (dir() / "_sysan02.CSV").string() + "\n");
    EXPECT_EQ(fileNamesIn(dir()), (std::vector<std::string>{"_sysan01.CSV", "_sysan02.CSV"}));
}

// A name ending in "2" would have the result replace the recording.
TEST_F(Run, RefusesToOverwriteItsInput)
{
    const std::string text = resonanceRecording(TResonance{}).exchangeText();
    writeAll(dir() / "_sysan02.CSV", text);
    EXPECT_EQ(run({(dir() / "_sysan02").string()}), 1);
    EXPECT_NE(FErrors.str().find("would overwrite the input"), std::string::npos) << FErrors.str();
    EXPECT_EQ(readAll(dir() / "_sysan02.CSV"), text);
}

TEST_F(Run, LateTriggerWarnsAndStillWrites)
{
    TSyntheticRecording rec = resonanceRecording(TResonance{});
    rec.trigger = 900;
    writeAll(dir() / "_sysan01.CSV", rec.exchangeText());
    EXPECT_EQ(run({dataName()}), 0) << FErrors.str();
    EXPECT_EQ(FMessages.str(), "WARNING: Resolution parameter M changed to 123\n");
    EXPECT_EQ(parseResult(readAll(dir() / "_sysan02.CSV")).size(), 460u);
}

// The whole program on a recording of a known resonance, started as the
// set-up program starts it: working folder = its folder, "_sysan01" as the
// one argument.
TEST_F(Run, ProgramFindsTheResonance)
{
    const TResonance h;
    for (int sw1 : {0, 3}) {
        TSyntheticRecording rec = resonanceRecording(h);
        rec.sw1 = sw1;
        writeAll(dir() / "_sysan01.CSV", rec.exchangeText());
        fs::remove(dir() / "_sysan02.CSV");

        QProcess p;
        p.setWorkingDirectory(FTemp.path());
        p.start(QString(TUVANTA_BIN_DIR) + "/Respana", {"_sysan01"});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

        const std::vector<TResultRow> rows = parseResult(readAll(dir() / "_sysan02.CSV"));
        ASSERT_EQ(rows.size(), 460u);
        EXPECT_NEAR(rows.front().hz, 10.0, 1e-9);
        EXPECT_NEAR(rows.back().hz, 2000.0, 1e-9);

        const auto peak = std::max_element(rows.begin(), rows.end(), [](auto &a, auto &b) { return a.db < b.db; });
        const double truePeak = h.peakFrequency();
        EXPECT_NEAR(peak->hz, truePeak, 0.03 * truePeak) << "SW1 " << sw1;
        EXPECT_NEAR(peak->db, 20 * std::log10(std::abs(h.response(truePeak))), 1.5) << "SW1 " << sw1;

        // Where the response stands well above the 12-bit quantisation of the
        // recording, the estimate follows it; the file's phase is the
        // estimate's turned by 180 degrees.
        for (const TResultRow &r : rows) {
            if (r.hz < 30 || r.hz > 800)
                continue;
            const std::complex<double> g = h.response(r.hz);
            EXPECT_NEAR(r.db, 20 * std::log10(std::abs(g)), 1.5) << r.hz;
            const double dphi = std::remainder(r.deg - wrapPhase(std::arg(g) * 180 / std::numbers::pi), 360.0);
            EXPECT_NEAR(dphi, 0.0, 6.0) << r.hz;
        }
    }
}

TEST(Methods, TransformAndDirectSumsGiveTheSameResponse)
{
    const TRecording rec =
        TRecording::fromInput(TInputFile::parse(resonanceRecording(TResonance{}).exchangeText(), "a"));
    std::ostringstream messages;
    const TResponseTable transform = estimateResponse(rec, messages);
    const TResponseTable direct = estimateResponse(rec, messages, 8);
    ASSERT_EQ(transform.size(), direct.size());
    for (std::size_t i = 0; i < direct.size(); ++i) {
        EXPECT_EQ(transform[i].frequency, direct[i].frequency);
        EXPECT_NEAR(transform[i].gain, direct[i].gain, 1e-9);
        EXPECT_NEAR(transform[i].phase, direct[i].phase, 1e-8);
    }
}
