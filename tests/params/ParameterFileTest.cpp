// Parameter files: exact text, round trips, and every way a file can be
// broken, through the file format and through the main tables' reader and
// writer that the windows call.
#include "support/MessageRecorder.h"
#include "SampleDatabase.h"

#include "ZnLibs/ShiftJis.h"
#include "defdb/Buffer.h"
#include "defdb/DMMain.h"
#include "params/ParameterFile.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Crlf(std::initializer_list<const char *> lines)
{
    QByteArray out;
    for (const char *l : lines)
        out += QByteArray(l) + "\r\n";
    return out;
}

TBuffer Image(qint32 code, const QString &model, const QString &firmware, QList<quint16> words)
{
    TBuffer b;
    b.ampCode = code;
    b.modelText = model;
    b.firmwareText = firmware;
    b.words = std::move(words);
    return b;
}

TEST(ParameterFileFormat, WritesTheExactLines)
{
    const QByteArray text = TParameterFile::Format(Image(0x12A, "ABC-1", "", {0x0000, 0x1F40}), "Version 1.0.0 - 2");
    EXPECT_EQ(text, Crlf({"AMP-CODE,0x00012A", "AMP-TYPE,\"ABC-1\"", "CPU-VER,\"\"", "HVX-VER,\"Version 1.0.0 - 2\"",
                          "PARAM-CNT,2", "PARAMETER,0,0x0000", "PARAMETER,1,0x1F40"}));
}

TEST(ParameterFileFormat, UnknownCodeIsAllBitsAndLongCodesKeepTheirDigits)
{
    EXPECT_TRUE(TParameterFile::Format(Image(-1, "", "", {}), "V").startsWith("AMP-CODE,0xFFFFFFFF\r\n"));
    EXPECT_TRUE(TParameterFile::Format(Image(0x1234567, "", "", {}), "V").startsWith("AMP-CODE,0x1234567\r\n"));
}

TEST(ParameterFileFormat, VersionText)
{
    EXPECT_EQ(TParameterFile::VersionText(" 1.0.0 ", " 2 "), "Version 1.0.0 - 2");
    EXPECT_EQ(TParameterFile::VersionText("1.0.0", "  "), "Version 1.0.0");
}

TEST(ParameterFileFormat, JapaneseTextsAreShiftJisAndQuotesDoubled)
{
    const QString model = QStringLiteral("サーボ\"A\", 1");
    const QByteArray text = TParameterFile::Format(Image(1, model, "", {}), "V");
    EXPECT_TRUE(text.contains("AMP-TYPE," + ShiftJis::Encode(u"\"サーボ\"\"A\"\", 1\"") + "\r\n"));
}

TEST(ParameterFileFormat, ControlCharactersAndOverlongTextsStillGiveAReadableFile)
{
    const QString nul = QStringLiteral("AB") + QChar(0) + QStringLiteral("\tC\x1b");
    const QString huge(5000, u'漢');
    TBuffer back;
    ASSERT_TRUE(TParameterFile::Parse(TParameterFile::Format(Image(1, nul, huge, {7}), "V"), back));
    EXPECT_EQ(back.modelText, "AB \tC ");
    EXPECT_TRUE(back.firmwareText.startsWith(u"漢漢漢"));
    EXPECT_EQ(back.firmwareText.size(), TParameterFile::MaxTextBytes / 2);
    EXPECT_EQ(back.words, QList<quint16>{7});
}

struct TRoundTrip {
    const char *name;
    qint32 code;
    QString model;
    QString firmware;
    QList<quint16> words;
};

class ParameterFileRoundTrip : public ::testing::TestWithParam<TRoundTrip> {};

TEST_P(ParameterFileRoundTrip, GivesBackCodeTextsAndWords)
{
    const TRoundTrip &c = GetParam();
    TBuffer back;
    back.startAddress = 0x1234;
    ASSERT_TRUE(TParameterFile::Parse(TParameterFile::Format(Image(c.code, c.model, c.firmware, c.words), "Version 9"), back));
    EXPECT_EQ(back.ampCode, c.code);
    EXPECT_EQ(back.modelText, c.model);
    EXPECT_EQ(back.firmwareText, c.firmware);
    EXPECT_EQ(back.words, c.words);
    EXPECT_EQ(back.startAddress, 0x1234) << "the reader leaves the start to its caller";
}

QList<quint16> Ramp(int n)
{
    QList<quint16> w;
    for (int i = 0; i < n; ++i)
        w.append(quint16(i * 0x9E37u));
    return w;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParameterFileRoundTrip,
    ::testing::Values(TRoundTrip{"plain", 0x00A101, "TVA-S10A  ", "A1.00.1 - 0001 - 0002 - 0003 - 0004", Ramp(612)},
                      TRoundTrip{"unknownCode", -1, "", "", {}},
                      TRoundTrip{"japanese", 0x00C201, QStringLiteral("サーボアンプ１号"), QStringLiteral("版ｶﾅ"), {0xFFFF, 0}},
                      TRoundTrip{"quotes", 2, "say \"hi\"", "\"\"", {1}},
                      TRoundTrip{"commasAndBlanks", 3, " a, b ,c ", "x y", {2, 3}},
                      TRoundTrip{"emptyTexts", 0x7FFFFFFF, "", "", {0x8000}}),
    [](const auto &info) { return std::string(info.param.name); });

// Files that are not parameter files: the reader refuses every one of them
// with an empty image, never a partial one.
struct TBroken {
    const char *name;
    QByteArray text;
};

const QByteArray Head = Crlf({"AMP-CODE,0x00A101", "AMP-TYPE,\"X\"", "CPU-VER,\"\"", "HVX-VER,\"V\""});

class ParameterFileBroken : public ::testing::TestWithParam<TBroken> {};

TEST_P(ParameterFileBroken, IsRefusedWithAnEmptyImage)
{
    TBuffer image = Image(5, "old", "old", {1, 2, 3});
    EXPECT_FALSE(TParameterFile::Parse(GetParam().text, image));
    EXPECT_EQ(image.ampCode, -1);
    EXPECT_TRUE(image.words.isEmpty());
    EXPECT_TRUE(image.modelText.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParameterFileBroken,
    ::testing::Values(
        TBroken{"tooFewLines", Head + Crlf({"PARAM-CNT,3", "PARAMETER,0,0x0001", "PARAMETER,1,0x0002"})},
        TBroken{"truncatedInsideLine", Head + "PARAM-CNT,2\r\nPARAMETER,0,0x0001\r\nPARAMETER,1,"},
        TBroken{"indexesOutOfOrder", Head + Crlf({"PARAM-CNT,3", "PARAMETER,0,0x0", "PARAMETER,2,0x0", "PARAMETER,1,0x0"})},
        TBroken{"indexFromOne", Head + Crlf({"PARAM-CNT,1", "PARAMETER,1,0x0"})},
        TBroken{"blankLineInBlock", Head + Crlf({"PARAM-CNT,2", "PARAMETER,0,0x0", "", "PARAMETER,1,0x0"})},
        TBroken{"otherLineInBlock", Head + Crlf({"PARAM-CNT,2", "PARAMETER,0,0x0", "HVX-VER,\"V\"", "PARAMETER,1,0x0"})},
        TBroken{"nonHexDigit", Head + Crlf({"PARAM-CNT,1", "PARAMETER,0,0x12G4"})},
        TBroken{"emptyValue", Head + Crlf({"PARAM-CNT,1", "PARAMETER,0,"})},
        TBroken{"missingValue", Head + Crlf({"PARAM-CNT,1", "PARAMETER,0"})},
        TBroken{"valueBeyond32Bits", Head + Crlf({"PARAM-CNT,1", "PARAMETER,0,0x100000000"})},
        TBroken{"negativeCount", Head + Crlf({"PARAM-CNT,-1"})},
        TBroken{"hugeCount", Head + Crlf({"PARAM-CNT,2147483647", "PARAMETER,0,0x0"})},
        TBroken{"countNotANumber", Head + Crlf({"PARAM-CNT,two"})},
        TBroken{"codeNotANumber", Crlf({"AMP-CODE,0xA1O1", "PARAM-CNT,0"})},
        TBroken{"codeMissing", Crlf({"AMP-CODE", "PARAM-CNT,0"})},
        TBroken{"unterminatedQuote", Crlf({"AMP-CODE,1", "AMP-TYPE,\"ABC", "PARAM-CNT,0"})},
        TBroken{"textAfterQuote", Crlf({"AMP-CODE,1", "AMP-TYPE,\"AB\"C", "PARAM-CNT,0"})},
        TBroken{"nulByte", Head + QByteArray("PARAM-CNT,1\r\nPARAMETER,0,0x0\0\r\n", 32)},
        TBroken{"overlongText", Crlf({"AMP-CODE,1", "PARAM-CNT,0"}) + "AMP-TYPE," + QByteArray(1001, 'x') + "\r\n"},
        TBroken{"overlongLine", Crlf({"AMP-CODE,1", "PARAM-CNT,0"}) + "HVX-VER,\"" + QByteArray(2000, 'x') + "\"\r\n"},
        TBroken{"wordBeyond16Bits", Head + Crlf({"PARAM-CNT,1", "PARAMETER,0,0x12345"})},
        TBroken{"negativeWord", Head + Crlf({"PARAM-CNT,1", "PARAMETER,0,-1"})},
        TBroken{"binaryWithACount", QByteArray::fromHex("89504e470d0a") + "PARAM-CNT,1\r\n\x1a\x0a"}),
    [](const auto &info) { return std::string(info.param.name); });

// Files other writers may produce and that still say exactly one thing.
struct TAccepted {
    const char *name;
    QByteArray text;
    qint32 code;
    QList<quint16> words;
};

class ParameterFileAccepted : public ::testing::TestWithParam<TAccepted> {};

TEST_P(ParameterFileAccepted, Reads)
{
    const TAccepted &c = GetParam();
    TBuffer image;
    ASSERT_TRUE(TParameterFile::Parse(c.text, image));
    EXPECT_EQ(image.ampCode, c.code);
    EXPECT_EQ(image.words, c.words);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParameterFileAccepted,
    ::testing::Values(
        TAccepted{"lfOnlyNoFinalBreak", "AMP-CODE,0x1\nPARAM-CNT,1\nPARAMETER,0,0x00FF", 1, {0xFF}},
        TAccepted{"blankLinesOutsideBlock", Crlf({"", "AMP-CODE,$A101", "   ", "PARAM-CNT,1", "PARAMETER,0,1", "", ""}), 0xA101, {1}},
        TAccepted{"blanksAroundItems", Crlf({"  AMP-CODE , 0x2 ", "\tPARAM-CNT 1", "PARAMETER, 0 ,0xabcd  "}), 2, {0xABCD}},
        TAccepted{"noTexts", Crlf({"AMP-CODE,-1", "PARAM-CNT,0"}), -1, {}},
        TAccepted{"unknownLinesIgnored", Crlf({"COMMENT,\"x\"", "AMP-CODE,10", "PARAM-CNT,0", "HVX-VER,\"later\""}), 10, {}},
        // Earlier tools and hand-made files: tolerated as the format allows.
        TAccepted{"empty", "", -1, {}},
        TAccepted{"headerOnly", Head, 0xA101, {}},
        TAccepted{"noCode", Crlf({"PARAM-CNT,1", "PARAMETER,0,0x0001"}), -1, {1}},
        TAccepted{"parameterBeforeCount", Head + Crlf({"PARAMETER,7,0x9", "PARAM-CNT,1", "PARAMETER,0,0x5"}), 0xA101, {5}},
        TAccepted{"parameterAfterBlock", Head + Crlf({"PARAM-CNT,1", "PARAMETER,0,0x5", "PARAMETER,1,0x6"}), 0xA101, {5}},
        TAccepted{"secondCountWins", Head + Crlf({"PARAM-CNT,1", "PARAMETER,0,0x1", "PARAM-CNT,2", "PARAMETER,0,0x2", "PARAMETER,1,0x3"}), 0xA101, {2, 3}},
        TAccepted{"secondCodeWins", Head + Crlf({"AMP-CODE,0x1", "PARAM-CNT,0"}), 1, {}},
        TAccepted{"extraItems", Crlf({"AMP-CODE,0x2,x", "PARAM-CNT,1,y", "PARAMETER,0,0x00 00"}), 2, {0}},
        TAccepted{"foreignBytesInAnIgnoredLine", Head + QByteArray("\x01\x02\xff\xfe\r\n") + Crlf({"PARAM-CNT,0"}), 0xA101, {}},
        TAccepted{"unquotedTextWithBlank", Crlf({"AMP-CODE,1", "AMP-TYPE,ABC 1", "PARAM-CNT,0"}), 1, {}},
        TAccepted{"maximumWord", Crlf({"AMP-CODE,1", "PARAM-CNT,1", "PARAMETER,0,65535"}), 1, {0xFFFF}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ParameterFileTexts, BytesThatAreNotShiftJisReadOneCharacterEach)
{
    static const char bytes[] = "AMP-CODE,1\r\nAMP-TYPE,\"AB\x00\x00\xff\x82\"\r\nCPU-VER,\"\x83\x41\xfd\"\r\nPARAM-CNT,0\r\n";
    const QByteArray text(bytes, sizeof bytes - 1); // NUL bytes included
    TBuffer image;
    ASSERT_TRUE(TParameterFile::Parse(QByteArrayView(text.constData(), text.size()), image));
    EXPECT_EQ(image.modelText, QStringLiteral("AB") + QChar(0) + QChar(0) + QChar(0xFF) + QChar(0x82));
    EXPECT_EQ(image.firmwareText, QStringLiteral("ア") + QChar(0xFD));
}

TEST(ParameterFileItems, SplitLikeCommaText)
{
    using L = QStringList;
    EXPECT_EQ(TParameterFile::SplitItems(u"a,b c"), L({"a", "b", "c"}));
    EXPECT_EQ(TParameterFile::SplitItems(u"a,,b"), L({"a", "", "b"}));
    EXPECT_EQ(TParameterFile::SplitItems(u"a,"), L({"a", ""}));
    EXPECT_EQ(TParameterFile::SplitItems(u"\"x, \"\"y\"\"\" z"), L({"x, \"y\"", "z"}));
    EXPECT_EQ(TParameterFile::SplitItems(u"\"\""), L({""}));
}

TEST(ParameterFileItems, Integers)
{
    EXPECT_EQ(TParameterFile::ParseInteger(u"0xFFFFFFFF"), -1);
    EXPECT_EQ(TParameterFile::ParseInteger(u"$7fffffff"), 0x7FFFFFFF);
    EXPECT_EQ(TParameterFile::ParseInteger(u"-2147483648"), qint32(0x80000000));
    EXPECT_EQ(TParameterFile::ParseInteger(u"2147483648"), std::nullopt);
    EXPECT_EQ(TParameterFile::ParseInteger(u"0x"), std::nullopt);
    EXPECT_EQ(TParameterFile::ParseInteger(u"12a"), std::nullopt);
    EXPECT_EQ(TParameterFile::ParseInteger(u"１２"), std::nullopt) << "full-width digits are not digits here";
}

// Through the main tables, with messages and the model's start address.
class ParameterFileIo : public TSampleDatabase
{
protected:
    QString Path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
    TMessageRecorder messages;
};

TEST_F(ParameterFileIo, ReadTakesTheStartOfTheModelsArea)
{
    const QString name = Path("a.ap0");
    ASSERT_TRUE(dmMain.WriteParameterFile(Image(CodeA, "TVA-S10A", "fw", {1, 2, 3}), name));
    TBuffer back;
    ASSERT_TRUE(dmMain.ReadParameterFile(back, name));
    EXPECT_EQ(back.startAddress, 0xF8000);
    EXPECT_EQ(back.words, QList<quint16>({1, 2, 3}));
    EXPECT_TRUE(messages.entries.isEmpty());

    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("HVX-VER,\"Version " TUVANTA_VERSION " - "));
}

TEST_F(ParameterFileIo, UnknownModelReadsWithoutMessage)
{
    const QString name = Path("u.ap0");
    ASSERT_TRUE(dmMain.WriteParameterFile(Image(CodeUnknown, "", "", {9}), name));
    TBuffer back;
    EXPECT_TRUE(dmMain.ReadParameterFile(back, name));
    EXPECT_EQ(back.ampCode, CodeUnknown);
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(ParameterFileIo, BrokenAndMissingFilesAreReported)
{
    const QString broken = Path("b.ap0");
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Head + Crlf({"PARAM-CNT,3", "PARAMETER,0,0x1"}));
    f.close();
    TBuffer image = Image(CodeA, "", "", {5});
    EXPECT_FALSE(dmMain.ReadParameterFile(image, broken));
    EXPECT_EQ(image.ampCode, -1);
    EXPECT_TRUE(image.words.isEmpty());
    ASSERT_EQ(messages.entries.size(), 1);
    EXPECT_EQ(messages.entries[0].kind, TMsgKind::Warning);
    EXPECT_EQ(messages.entries[0].text, QStringLiteral("アンプファイルが壊れています。"));

    messages.Clear();
    EXPECT_FALSE(dmMain.ReadParameterFile(image, Path("none.ap0")));
    ASSERT_EQ(messages.entries.size(), 1);
    EXPECT_EQ(messages.entries[0].kind, TMsgKind::Error);

    messages.Clear();
    EXPECT_FALSE(dmMain.ReadParameterFile(image, dir.path())) << "a folder is no file";
    EXPECT_EQ(messages.entries.size(), 1);

    // A FIFO without a writer would block the open for ever.
    const QString fifo = Path("fifo.ap0");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    messages.Clear();
    EXPECT_FALSE(dmMain.ReadParameterFile(image, fifo));
    EXPECT_EQ(messages.Count(TMsgKind::Error), 1);
}

TEST_F(ParameterFileIo, EmptyNamesDoNothing)
{
    TBuffer image = Image(CodeA, "", "", {5});
    EXPECT_TRUE(dmMain.ReadParameterFile(image, QString()));
    EXPECT_EQ(image.ampCode, -1);
    EXPECT_TRUE(image.words.isEmpty());
    EXPECT_TRUE(dmMain.WriteParameterFile(image, QString()));
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(ParameterFileIo, FailedWriteKeepsWhatWasThere)
{
    const QString name = Path("keep.ap0");
    ASSERT_TRUE(dmMain.WriteParameterFile(Image(CodeA, "old", "", {1}), name));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.ap0"}) << "no temporary left behind";

    // A folder in the file's place, and a folder that does not exist.
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ap0"));
    ASSERT_TRUE(QFile::copy(name, Path("folder.ap0/inside")));
    EXPECT_FALSE(dmMain.WriteParameterFile(Image(CodeA, "new", "", {2}), Path("folder.ap0")));
    EXPECT_TRUE(QFileInfo(Path("folder.ap0/inside")).isFile());
    EXPECT_FALSE(dmMain.WriteParameterFile(Image(CodeA, "", "", {}), Path("no/such/folder/x.ap0")));
    EXPECT_EQ(messages.Count(TMsgKind::Error), 2);

    // A read-only file stays (the super-user may write anything).
    if (geteuid() != 0) {
        QFile::setPermissions(name, QFile::ReadOwner);
        EXPECT_FALSE(dmMain.WriteParameterFile(Image(CodeA, "new", "", {2}), name));
        QFile::setPermissions(name, QFile::ReadOwner | QFile::WriteOwner);
    }
    TBuffer back;
    ASSERT_TRUE(dmMain.ReadParameterFile(back, name));
    EXPECT_EQ(back.modelText, "old");
}

} // namespace
