// The builder of definition databases: its CSV dialect, the errors it names
// by file, line and field, and the dump that compiles back unchanged.
#include "CsvReader.h"
#include "DefSourceCompiler.h"
#include "DefdbTestSupport.h"
#include "defdb/DMInterface.h"
#include "defdb/DefSchema.h"

#include <QDirIterator>
#include <gtest/gtest.h>

namespace {

const QString SourceDir = QStringLiteral(TUVANTA_SOURCE_DIR "/data/defdb");

TEST(CsvReader, QuotesCommentsAndLineBreaks)
{
    QList<TCsvReader::TRecord> records;
    QString error;
    ASSERT_TRUE(TCsvReader::Parse("\xEF\xBB\xBF# comment\nA,B , C\n\n1, \"x, \"\"y\"\"\" ,\n\"two\nlines\",,\" \"\r\n",
                                  records, &error))
        << error.toStdString();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0].line, 2);
    EXPECT_EQ(records[0].cells[1].text, QStringLiteral("B"));
    EXPECT_EQ(records[1].line, 4);
    EXPECT_EQ(records[1].cells[1].text, QStringLiteral("x, \"y\""));
    EXPECT_TRUE(records[1].cells[2].IsEmpty());
    EXPECT_EQ(records[2].cells[0].text, QStringLiteral("two\r\nlines"));
    EXPECT_TRUE(records[2].cells[1].IsEmpty());
    EXPECT_FALSE(records[2].cells[2].IsEmpty()); // a quoted blank is a text
    EXPECT_EQ(records[2].cells[2].text, QStringLiteral(" "));

    for (auto [bad, expected] : {std::pair{"A\n\"open", "line 2: quoted cell is not closed"},
                                 {"A\n\"x\"y", "line 2: text after a closing quote"},
                                 {"A\nok\n\xFF\xFE", "line 3: the file is not UTF-8"}}) {
        EXPECT_FALSE(TCsvReader::Parse(bad, records, &error));
        EXPECT_EQ(error.toStdString(), expected);
    }
}

// A copy of the sample sources in which one file can be spoiled.
class Sources : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDirIterator it(SourceDir, {QStringLiteral("*.csv")}, QDir::Files);
        while (it.hasNext()) {
            it.next();
            ASSERT_TRUE(QFile::copy(it.filePath(), dir.filePath(it.fileName())));
        }
    }
    void Append(const char *file, const char *line)
    {
        QFile f(dir.filePath(QString::fromLatin1(file)));
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(line);
        f.write("\n");
    }
    int LineCount(const char *file)
    {
        QFile f(dir.filePath(QString::fromLatin1(file)));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return int(f.readAll().count('\n'));
    }
    QTemporaryDir dir;
};

TEST_F(Sources, TheSampleCompilesCleanly)
{
    TDefSourceCompiler compiler;
    ASSERT_TRUE(compiler.Compile(dir.path())) << compiler.Errors().join('\n').toStdString();
    EXPECT_TRUE(compiler.Warnings().isEmpty()) << compiler.Warnings().join('\n').toStdString();
    for (const TDefSchema::TTable &t : TDefSchema::Tables())
        EXPECT_NE(compiler.Table(t.stream), nullptr) << t.stream.toStdString();
}

struct TBadLine {
    const char *file;
    const char *line;
    const char *field;   // expected in the message
    const char *message; // expected in the message
};

class BadSources : public Sources, public ::testing::WithParamInterface<TBadLine>
{};

TEST_P(BadSources, NameFileLineAndField)
{
    const TBadLine &c = GetParam();
    const int line = LineCount(c.file) + 1;
    Append(c.file, c.line);
    TDefSourceCompiler compiler;
    EXPECT_FALSE(compiler.Compile(dir.path()));
    ASSERT_FALSE(compiler.Errors().isEmpty());
    QString expected = QStringLiteral("%1:%2: ").arg(QString::fromLatin1(c.file)).arg(line);
    if (*c.field)
        expected += QString::fromLatin1(c.field) + QStringLiteral(": ");
    const QString first = compiler.Errors().first();
    EXPECT_TRUE(first.startsWith(expected)) << first.toStdString() << " / " << expected.toStdString();
    EXPECT_TRUE(first.contains(QString::fromUtf8(c.message))) << first.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadSources,
    ::testing::Values(
        TBadLine{"0_AMPLIFIER.csv", "4,12x,1,X", "CODE", "is not an integer"},
        TBadLine{"0_AMPLIFIER.csv", "4,0x1000000,1,X", "CODE", "outside 0..16777215"},
        TBadLine{"0_AMPLIFIER.csv", "4,,1,X", "CODE", "required, but empty"},
        TBadLine{"0_AMPLIFIER.csv", "4,0x00A101,1,X", "CODE", "already used on line"},
        TBadLine{"0_AMPLIFIER.csv", "4,0x00A199,1,NAME-LONGER-THAN-15", "NAME", "at most 15"},
        TBadLine{"0_AMPLIFIER.csv", "4,0x00A199,1,X,extra", "", "cells, the header has 4"},
        TBadLine{"1_AMP_PARA.csv", "1,0x100000,1,0,0,1,,", "ADDRESS", "outside 0..1048575"},
        TBadLine{"1_AMP_PARA.csv", "9,0xF8600,1,0,0,1,,", "AMPLIFIER_ID", "names no row of 0_AMPLIFIER.cds"},
        TBadLine{"1_AMP_PARA.csv", "1,0xF8600,999,0,0,1,,", "PARAMETER_ID", "names no row of 1_PARAMETER.cds"},
        TBadLine{"1_AMP_PARA.csv", "1,0xF8003,2,0,0,1,,", "ADDRESS", "overlaps"},
        TBadLine{"1_AMP_PARA.csv", "1,0xF8601,3,0,0,1,,", "ADDRESS", "is odd"},
        TBadLine{"1_TABLE_DATA.csv", "1,256,X,,", "VALUE", "outside 0..255"},
        TBadLine{"1_PARAMETER.csv", "998,9998,3,3,,,,,,,,,,x,x,X,,,,13,", "LENGTH", "1, 2 or 4 bytes"},
        TBadLine{"3_TRACE.csv", "3,,,,,fast,,,,,,,,,,,,", "SAMPLING_BASE", "is not a number"},
        TBadLine{"3_TRACE.csv", "3,,,,,0.5,,,,,,,9,,,,,", "ANALOG_ID", "names no row of 3_ANALOG_DATA.cds"}));

TEST_F(Sources, HeaderProblemsAndMissingFiles)
{
    WriteFile(dir.filePath(QStringLiteral("3_TRIGGERCH.csv")), "CODE,NAME_J,COLOUR\n0,a,red\n");
    WriteFile(dir.filePath(QStringLiteral("3_TRIGGEREDGE.csv")), "NAME_J\nx\n");
    TDefSourceCompiler compiler;
    EXPECT_FALSE(compiler.Compile(dir.path()));
    EXPECT_TRUE(compiler.Errors().contains(QStringLiteral("3_TRIGGERCH.csv:1: COLOUR: no such field in 3_TRIGGERCH.cds")))
        << compiler.Errors().join('\n').toStdString();
    EXPECT_TRUE(compiler.Errors().contains(QStringLiteral("3_TRIGGEREDGE.csv:1: CODE: required column missing")));

    QFile::remove(dir.filePath(QStringLiteral("3_TRIGGERCH.csv")));
    QFile::remove(dir.filePath(QStringLiteral("3_TRIGGEREDGE.csv")));
    WriteFile(dir.filePath(QStringLiteral("9_STRAY.csv")), "A\n1\n");
    TDefSourceCompiler again;
    EXPECT_TRUE(again.Compile(dir.path())) << again.Errors().join('\n').toStdString();
    EXPECT_EQ(again.Table(QStringLiteral("3_TRIGGERCH.cds")), nullptr);
    EXPECT_EQ(again.Warnings().size(), 3);
}

TEST_F(Sources, AMissingSystemParameterIsAWarning)
{
    Append("3_SYSTEM.csv", "");
    TDefSourceCompiler compiler;
    // Move model 2's regenerative-resistor address somewhere without a row.
    QFile f(dir.filePath(QStringLiteral("3_SYSTEM.csv")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(f.readAll());
    f.close();
    const int last = text.lastIndexOf(QLatin1String("\n2,"));
    ASSERT_GT(last, 0);
    text.replace(text.indexOf(QLatin1String("0xF8228"), last), 7, QStringLiteral("0xF8FF0"));
    WriteFile(f.fileName(), text.toUtf8());
    ASSERT_TRUE(compiler.Compile(dir.path())) << compiler.Errors().join('\n').toStdString();
    ASSERT_EQ(compiler.Warnings().size(), 1);
    EXPECT_TRUE(compiler.Warnings().first().contains(QLatin1String("RESERVE1_ADDRESS: no parameter row of model 2 at 0xf8ff0")))
        << compiler.Warnings().first().toStdString();
}

// What the dump prints compiles back to the very same streams.
TEST_F(Sources, DumpCompilesBackUnchanged)
{
    TDefSourceCompiler compiler;
    ASSERT_TRUE(compiler.Compile(dir.path()));
    QTemporaryDir dumped;
    for (const TDefSchema::TTable &t : TDefSchema::Tables()) {
        const QString csv = TDefSourceCompiler::DumpCsv(*compiler.Table(t.stream));
        ASSERT_TRUE(WriteFile(dumped.filePath(QFileInfo(t.stream).completeBaseName() + QStringLiteral(".csv")), csv.toUtf8()));
    }
    TDefSourceCompiler again;
    ASSERT_TRUE(again.Compile(dumped.path())) << again.Errors().join('\n').toStdString();
    for (const TDefSchema::TTable &t : TDefSchema::Tables())
        EXPECT_EQ(again.Table(t.stream)->SaveToBytes(), compiler.Table(t.stream)->SaveToBytes()) << t.stream.toStdString();
}

TEST(SourceCompiler, WriteFailureLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("x.ad0"));
    // The first storage file the compiler writes is there already; its
    // temporary file cannot be made (a non-empty folder holds its name).
    const QString first = TDMInterface::StoragePath(base, 0);
    ASSERT_TRUE(WriteFile(first, "old content"));
    ASSERT_TRUE(QDir().mkpath(first + QStringLiteral(".part/in")));
    TDefSourceCompiler compiler;
    ASSERT_TRUE(compiler.Compile(SourceDir));
    QString error;
    EXPECT_FALSE(compiler.Write(base, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile f(first);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArrayLiteral("old content"));
    EXPECT_FALSE(compiler.Compile(dir.filePath(QStringLiteral("nofolder"))));
}

} // namespace
