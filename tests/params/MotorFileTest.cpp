// The motor-file reader on well-formed and broken files.
#include "params/MotorFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct TCase
{
    const char *name;
    QByteArray text;
    bool ok;
    QString type;
    QList<qint32> values;
};

} // namespace

TEST(MotorFile, ParsesWellFormedFilesAndRefusesBrokenOnes)
{
    const QByteArray big = "MOT-CNT,10001\n";
    const TCase cases[] = {
        {"plain", "MOT-TYP,TVM-0400A\r\nMOT-CNT,3\r\n0,1\r\n1,2\r\n2,3\r\n", true, "TVM-0400A", {1, 2, 3}},
        {"hex and dollar", "MOT-CNT,3\n2,0x10\n0,$FF\n1,-5\n", true, "", {255, -5, 16}},
        {"any order, type last", "MOT-CNT,2\n1,7\nMOT-TYP,X\n", true, "X", {0, 7}},
        {"blanks separate items", "MOT-TYP \"A B\"\nMOT-CNT 1\n0 9\n", true, "A B", {9}},
        {"type without text", "MOT-TYP\nMOT-CNT,0\n", true, "", {}},
        {"other lines ignored", "; comment\nNAME,x\nMOT-CNT,1\n\n0,4\n", true, "", {4}},
        {"count at the limit", "MOT-CNT,10000\n9999,1\n", true, "", {}},
        {"value before the count", "0,1\nMOT-CNT,1\n", false, "", {}},
        {"index past the list", "MOT-CNT,2\n2,1\n", false, "", {}},
        {"negative index", "MOT-CNT,2\n-1,1\n", false, "", {}},
        {"count too large", big, false, "", {}},
        {"negative count", "MOT-CNT,-1\n", false, "", {}},
        {"count not a number", "MOT-CNT,three\n", false, "", {}},
        {"value not a number", "MOT-CNT,1\n0,abc\n", false, "", {}},
        {"value missing", "MOT-CNT,1\n0\n", false, "", {}},
        {"value beyond 32 bits", "MOT-CNT,1\n0,0x100000000\n", false, "", {}},
        {"binary bytes", QByteArray("MOT-CNT,1\n0,1\n\x00\x01\x02", 17), false, "", {}},
        {"unterminated quote", "MOT-TYP,\"abc\nMOT-CNT,1\n", false, "", {}},
    };
    for (const TCase &c : cases) {
        TMotorFile file;
        file.values = {42};
        EXPECT_EQ(TMotorFile::Parse(c.text, file), c.ok) << c.name;
        EXPECT_EQ(file.motorType, c.type) << c.name;
        if (QByteArrayView(c.name) == "count at the limit") {
            ASSERT_EQ(file.values.size(), 10000);
            EXPECT_EQ(file.values[9999], 1);
        } else {
            EXPECT_EQ(file.values, c.values) << c.name;
        }
    }
}

TEST(MotorFile, LoadRefusesWhatCannotBeRead)
{
    QTemporaryDir dir;
    TMotorFile file;
    EXPECT_FALSE(TMotorFile::Load(dir.filePath("missing.mp0"), file));
    EXPECT_FALSE(TMotorFile::Load(dir.path(), file)); // a folder
    QFile f(dir.filePath("ok.mp0"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("MOT-TYP,M\nMOT-CNT,1\n0,3\n");
    f.close();
    ASSERT_TRUE(TMotorFile::Load(f.fileName(), file));
    EXPECT_EQ(file.values, QList<qint32>({3}));
}

TEST(MotorFile, SampleLibraryFilesParse)
{
    const QDir dir(QStringLiteral(TUVANTA_SOURCE_DIR "/data/MotorFiles/A-Series"));
    const QStringList names = dir.entryList({QStringLiteral("*.mp0")}, QDir::Files);
    ASSERT_EQ(names.size(), 4);
    for (const QString &name : names) {
        TMotorFile file;
        ASSERT_TRUE(TMotorFile::Load(dir.filePath(name), file)) << name.toStdString();
        EXPECT_EQ(file.values.size(), 17) << name.toStdString();
        EXPECT_TRUE(name.startsWith(file.motorType)) << name.toStdString();
    }
}
