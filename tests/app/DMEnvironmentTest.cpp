#include "SettingsFixture.h"

#include "app/IniDocument.h"
#include "ZnLibs/ShiftJis.h"

#include <functional>

namespace {

using Env = TDMEnvironment;

TEST_F(SettingsFixture, MissingFileGivesDefaultsAndIsCreatedInTableOrder)
{
    {
        Env env(Path());
        EXPECT_FALSE(QFile::exists(Path())) << "written only at the end";
    }
    // Written from memory, so the file shows every default as read.

    QStringList expected;
    const auto section = [&](const char *name, std::initializer_list<QString> keys) {
        expected << QStringLiteral("[%1]").arg(QLatin1String(name));
        for (const QString &k : keys)
            expected << k;
    };
    const auto series = [](const char *pattern, int from, int to, const char *value) {
        QStringList out;
        for (int n = from; n <= to; ++n)
            out << QString::fromLatin1(pattern).arg(n) + QLatin1Char('=') + QLatin1String(value);
        return out;
    };
    section("Window", {"Maximized=1", "Top=0", "Left=0"});
    expected << QStringLiteral("[UseAxes]");
    for (const char *d : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"})
        expected << QStringLiteral("Axis%1=0").arg(QLatin1String(d));
    section("Communication", {"BaudRate=9600", "CommPort=1", "Device="});
    section("Database", {"Name="});
    section("Generic", {"Language=English", "EditLevel=Basic"});
    expected << QStringLiteral("[MultiMonitor]") << series("No%1Disp", 0, 15, "0")
             << series("No%1Axis", 0, 15, "-1") << series("No%1Page", 0, 15, "-1");
    expected << QStringLiteral("[TraceOperation]") << QStringLiteral("UnfitLevel=1000");
    int ch = 0;
    for (const char *c : {"clBlack", "clRed", "clGreen", "clBlue", "clBlack", "clRed", "clGreen", "clBlue"})
        expected << QStringLiteral("CH%1Color=%2").arg(++ch).arg(QLatin1String(c));
    expected << series("CH%1Width", 1, 8, "1") << series("CH%1Mark", 1, 8, "0")
             << QStringLiteral("t1Color=clLime") << QStringLiteral("t2Color=clAqua")
             << QStringLiteral("t1Width=1") << QStringLiteral("t2Width=1");
    section("SystemAnalysis", {"ExeName=Respana", "HelpFile=", "GainColor=clBlack", "GainWidth=1", "GainMark=0",
                               "PhaseColor=clRed", "PhaseWidth=1", "PhaseMark=0", "t1Color=clLime",
                               "t1Width=1", "t2Color=clAqua", "t2Width=1"});
    expected << series("SW%1", 1, 6, "0");
    section("Print", {"GrayScale=0"});
    EXPECT_EQ(Lines(), expected);
}

TEST_F(SettingsFixture, UnknownSectionsKeysAndCommentsSurviveInTheirOrder)
{
    WriteSettings(QStringLiteral(
        "; written by hand\r\n"
        "[Tools]\r\n"
        "Editor=notepad\r\n"
        "\r\n"
        "[Window]\r\n"
        "Maximized=0\r\n"
        "Monitor=2\r\n"
        "Top=10\r\n"
        "; the rest follows\r\n"
        "\r\n"
        "[Point]\r\n"
        "LastFile=C:\\points\\a.pt0\r\n"
        "junk line without equals\r\n"));
    {
        Env env(Path());
        EXPECT_FALSE(env.WindowMaximized);
        env.WindowLeft = 42;
    }
    const QString text = ReadSettings();
    EXPECT_TRUE(text.startsWith(QStringLiteral(
        "; written by hand\r\n[Tools]\r\nEditor=notepad\r\n\r\n"
        "[Window]\r\nMaximized=0\r\nMonitor=2\r\nTop=42\r\nLeft=0\r\n; the rest follows\r\n\r\n"
        "[Point]\r\nLastFile=C:\\points\\a.pt0\r\njunk line without equals\r\n[UseAxes]\r\n")))
        << qPrintable(text);
    EXPECT_TRUE(text.endsWith(QStringLiteral("[Print]\r\nGrayScale=0\r\n")));

    // A second run changes nothing more.
    const QByteArray first = ReadBytes();
    { Env again(Path()); }
    EXPECT_EQ(ReadBytes(), first);
}

TEST_F(SettingsFixture, KeysAndSectionsAreCaseInsensitiveAndKeepTheirSpelling)
{
    WriteSettings(QStringLiteral("[WINDOW]\nmaximized=0\nTOP=3\n[useaxes]\naxisc=1\n[generic]\nlanguage=japanese\n"));
    {
        Env env(Path());
        EXPECT_FALSE(env.WindowMaximized);
        EXPECT_EQ(env.WindowLeft, 3);
        EXPECT_TRUE(env.UseAxis(12));
        EXPECT_TRUE(env.Japanese);
    }
    const QStringList lines = Lines();
    EXPECT_EQ(lines.mid(0, 4), (QStringList{"[WINDOW]", "maximized=0", "TOP=3", "Left=0"}));
    EXPECT_EQ(lines.filter(QStringLiteral("[UseAxes]"), Qt::CaseInsensitive).size(), 1);
    EXPECT_TRUE(lines.contains(QStringLiteral("axisc=1")));
    EXPECT_FALSE(lines.contains(QStringLiteral("AxisC=0")));
    EXPECT_TRUE(lines.contains(QStringLiteral("language=Japanese")));
}

TEST_F(SettingsFixture, WindowPositionIsStoredCrossed)
{
    WriteSettings(QStringLiteral("[Window]\nMaximized=0\nTop=120\nLeft=340\n"));
    {
        Env env(Path());
        EXPECT_EQ(env.WindowLeft, 120) << "Top holds the horizontal position";
        EXPECT_EQ(env.WindowTop, 340) << "Left holds the vertical position";
        env.WindowLeft = 7;
        env.WindowTop = 9;
    }
    EXPECT_EQ(Lines().mid(0, 4), (QStringList{"[Window]", "Maximized=0", "Top=7", "Left=9"}));
    Env restarted(Path());
    EXPECT_EQ(restarted.WindowLeft, 7);
    EXPECT_EQ(restarted.WindowTop, 9);
}

TEST_F(SettingsFixture, AxesTenToFifteenUseHexDigitKeys)
{
    WriteSettings(QStringLiteral("[UseAxes]\nAxis9=1\nAxis10=1\nAxisB=1\nAxisF=1\n"));
    {
        Env env(Path());
        EXPECT_TRUE(env.UseAxis(9));
        EXPECT_FALSE(env.UseAxis(10)) << "Axis10 is not a key of ours";
        EXPECT_TRUE(env.UseAxis(11));
        EXPECT_TRUE(env.UseAxis(15));
        EXPECT_FALSE(env.UseAxis(0));
        EXPECT_FALSE(env.UseAxis(16));
        env.SetUseAxis(10, true);
        env.SetUseAxis(16, true);   // ignored
    }
    const QStringList lines = Lines();
    for (const char *key : {"AxisA=1", "AxisB=1", "AxisF=1", "Axis9=1", "Axis1=0"})
        EXPECT_TRUE(lines.contains(QLatin1String(key))) << key;
    EXPECT_TRUE(lines.contains(QStringLiteral("Axis10=1"))) << "foreign key kept as it was";
    EXPECT_FALSE(lines.contains(QStringLiteral("AxisG=1")));
}

struct TEditLevelCase {
    const char *stored;
    int level;
    const char *written;
};

void PrintTo(const TEditLevelCase &c, std::ostream *os) { *os << "EditLevel=" << c.stored; }

class EditLevel : public SettingsFixture, public ::testing::WithParamInterface<TEditLevelCase> {};

TEST_P(EditLevel, ReadsListedNamesAndNeverWritesTheServiceLevel)
{
    const TEditLevelCase c = GetParam();
    WriteSettings(QStringLiteral("[Generic]\nEditLevel=%1\n").arg(QLatin1String(c.stored)));
    {
        Env env(Path());
        EXPECT_EQ(env.DisplayLevel, c.level);
    }
    EXPECT_TRUE(Lines().contains(QStringLiteral("EditLevel=%1").arg(QLatin1String(c.written))));
}

INSTANTIATE_TEST_SUITE_P(Cases, EditLevel, ::testing::Values(
    TEditLevelCase{"Basic", dlBasic, "Basic"},
    TEditLevelCase{"Standard", dlStandard, "Standard"},
    TEditLevelCase{"advanced", dlAdvanced, "Advanced"},
    TEditLevelCase{"FieldServicer", dlService, "Basic"},
    TEditLevelCase{"Expert", dlBasic, "Basic"},
    TEditLevelCase{"", dlBasic, "Basic"}));

TEST_F(SettingsFixture, ServiceLevelLastsForTheRunOnly)
{
    WriteSettings(QStringLiteral("[Generic]\nEditLevel=FieldServicer\n"));
    Env env(Path());
    ASSERT_TRUE(env.Save());
    EXPECT_EQ(env.DisplayLevel, dlService) << "an explicit save keeps the running level";
    Env next(Path());
    EXPECT_EQ(next.DisplayLevel, dlBasic);
}

struct TColorCase {
    const char *stored;
    TColor color;
    const char *written;
};

void PrintTo(const TColorCase &c, std::ostream *os) { *os << "t1Color=" << c.stored; }

class ColorValue : public SettingsFixture, public ::testing::WithParamInterface<TColorCase> {};

// t1Color of the trace defaults to clLime, which none of the cases use.
TEST_P(ColorValue, ReadsNamesAndNumbersAndWritesTheCanonicalForm)
{
    const TColorCase c = GetParam();
    WriteSettings(QStringLiteral("[TraceOperation]\nt1Color=%1\n").arg(QLatin1String(c.stored)));
    {
        Env env(Path());
        EXPECT_EQ(env.TraceCursor(1).color, c.color) << c.stored;
    }
    EXPECT_TRUE(Lines().contains(QStringLiteral("t1Color=%1").arg(QLatin1String(c.written)))) << c.stored;
    Env again(Path());
    EXPECT_EQ(again.TraceCursor(1).color, c.color) << "round trip of " << c.stored;
}

INSTANTIATE_TEST_SUITE_P(Cases, ColorValue, ::testing::Values(
    TColorCase{"clRed", clRed, "clRed"},
    TColorCase{"CLFUCHSIA", clFuchsia, "clFuchsia"},
    TColorCase{"clMoneyGreen", clMoneyGreen, "clMoneyGreen"},
    TColorCase{"clLtGray", clSilver, "clSilver"},
    TColorCase{"$00FF8000", 0xFF8000, "$00FF8000"},
    TColorCase{"$00ff8001", 0xFF8001, "$00FF8001"},
    TColorCase{"$000000FF", clRed, "clRed"},
    TColorCase{"$00010203", 0x010203, "$00010203"},
    TColorCase{"16777215", clWhite, "clWhite"},
    TColorCase{"0x00123456", 0x123456, "$00123456"},
    TColorCase{"", clLime, "clLime"},
    TColorCase{"reddish", clLime, "clLime"},
    TColorCase{"$GG000000", clLime, "clLime"},
    TColorCase{"$FF000000", clLime, "clLime"},
    TColorCase{"clBtnFace", clLime, "clLime"},
    TColorCase{"-1", clLime, "clLime"}));

struct TValueCase {
    const char *section;
    const char *key;
    const char *stored;            // nullptr: key missing
    std::function<int(const Env &)> get;
    int expected;
};

void PrintTo(const TValueCase &c, std::ostream *os)
{
    *os << "[" << c.section << "] " << c.key << "=" << (c.stored ? c.stored : "(missing)");
}

class ValueDefaults : public SettingsFixture, public ::testing::WithParamInterface<TValueCase> {};

TEST_P(ValueDefaults, MissingEmptyAndBadValuesGiveTheDefault)
{
    const TValueCase c = GetParam();
    QString text = QStringLiteral("[%1]\n").arg(QLatin1String(c.section));
    if (c.stored)
        text += QStringLiteral("%1=%2\n").arg(QLatin1String(c.key), QString::fromUtf8(c.stored));
    WriteSettings(text);
    Env env(Path());
    EXPECT_EQ(c.get(env), c.expected) << c.key << "=" << (c.stored ? c.stored : "(missing)");
}

int Maximized(const Env &e) { return e.WindowMaximized; }
int Baud(const Env &e) { return e.BaudRate; }
int Unfit(const Env &e) { return e.UnfitLevel; }
int Mark3(const Env &e) { return e.TraceChannel(3).mark; }
int GainMark(const Env &e) { return e.Gain.mark; }
int Width5(const Env &e) { return e.TraceChannel(5).width; }
int Cell4Axis(const Env &e) { return e.MultiMonitorCell(4).axis; }
int Switch6(const Env &e) { return e.AnalysisSwitch(6); }
int Japanese(const Env &e) { return e.Japanese; }

INSTANTIATE_TEST_SUITE_P(Cases, ValueDefaults, ::testing::Values(
    TValueCase{"Window", "Maximized", nullptr, Maximized, 1},
    TValueCase{"Window", "Maximized", "", Maximized, 1},
    TValueCase{"Window", "Maximized", "0", Maximized, 0},
    TValueCase{"Window", "Maximized", "2", Maximized, 1},
    TValueCase{"Window", "Maximized", "yes", Maximized, 1},
    TValueCase{"Communication", "BaudRate", "19200", Baud, 19200},
    TValueCase{"Communication", "BaudRate", "fast", Baud, 9600},
    TValueCase{"Communication", "BaudRate", "", Baud, 9600},
    TValueCase{"Communication", "BaudRate", "99999999999", Baud, 9600},
    TValueCase{"TraceOperation", "UnfitLevel", "$10", Unfit, 16},
    TValueCase{"TraceOperation", "UnfitLevel", "12.5", Unfit, 1000},
    TValueCase{"TraceOperation", "CH3Mark", "7", Mark3, 7},
    TValueCase{"TraceOperation", "CH3Mark", "8", Mark3, 0},
    TValueCase{"TraceOperation", "CH3Mark", "-1", Mark3, 0},
    TValueCase{"SystemAnalysis", "GainMark", "9", GainMark, 0},
    TValueCase{"TraceOperation", "CH5Width", "wide", Width5, 1},
    TValueCase{"MultiMonitor", "No4Axis", "", Cell4Axis, -1},
    TValueCase{"SystemAnalysis", "SW6", "-250", Switch6, -250},
    TValueCase{"Generic", "Language", "Japanese", Japanese, 1},
    TValueCase{"Generic", "Language", "Deutsch", Japanese, 0}));

TEST_F(SettingsFixture, AccessorValuesRoundTrip)
{
    {
        Env env(Path());
        env.WindowMaximized = false;
        env.BaudRate = 57600;
        env.CommPort = 3;
        env.CommDevice = QStringLiteral("/dev/ttyUSB0");
        env.DatabaseName = QStringLiteral("定義/Sample.ad0");
        env.Japanese = true;
        env.DisplayLevel = dlAdvanced;
        env.UnfitLevel = 250;
        env.SetMultiMonitorCell(15, {true, 14, 0x1A});
        env.SetTraceChannel(8, {0x123456, 3, 5});
        env.SetTraceChannel(2, {clTeal, 2, 11});   // mark out of range
        env.SetTraceCursor(2, {clYellow, 4});
        env.SetAnalysisCursor(1, {0x00ABCDEF, 2});
        env.AnalyserPath = QStringLiteral("C:\\Respana\\Respana.exe");
        env.AnalysisHelpFile = QStringLiteral("help\\sysan.pdf");
        env.Gain = {clNavy, 2, 4};
        env.Phase = {clPurple, 3, 7};
        env.GrayScale = true;
    }
    Env env(Path());
    EXPECT_FALSE(env.WindowMaximized);
    EXPECT_EQ(env.BaudRate, 57600);
    EXPECT_EQ(env.CommPort, 3);
    EXPECT_EQ(env.CommDevice, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(env.DatabaseName, QStringLiteral("定義/Sample.ad0"));
    EXPECT_TRUE(env.Japanese);
    EXPECT_EQ(env.DisplayLevel, dlAdvanced);
    EXPECT_EQ(env.UnfitLevel, 250);
    EXPECT_EQ(env.MultiMonitorCell(15), (TMultiMonitorCell{true, 14, 0x1A}));
    EXPECT_EQ(env.TraceChannel(8), (TLineStyle{0x123456, 3, 5}));
    EXPECT_EQ(env.TraceChannel(2), (TLineStyle{clTeal, 2, 0}));
    EXPECT_EQ(env.TraceCursor(2), (TCursorStyle{clYellow, 4}));
    EXPECT_EQ(env.AnalysisCursor(1), (TCursorStyle{0x00ABCDEF, 2}));
    EXPECT_EQ(env.AnalyserPath, QStringLiteral("C:\\Respana\\Respana.exe"));
    EXPECT_EQ(env.AnalysisHelpFile, QStringLiteral("help\\sysan.pdf"));
    EXPECT_EQ(env.Gain, (TLineStyle{clNavy, 2, 4}));
    EXPECT_EQ(env.Phase, (TLineStyle{clPurple, 3, 7}));
    EXPECT_TRUE(env.GrayScale);
}

TEST_F(SettingsFixture, AmplifierCodesStartUnusedAndAreNeverStored)
{
    {
        Env env(Path());
        for (int axis = 1; axis <= 15; ++axis)
            env.SetAmpCode(axis, 0x0A1B2C + axis);
        EXPECT_TRUE(env.AxisInUse(15));
        EXPECT_EQ(env.AmpCode(0), -1);
        EXPECT_EQ(env.AmpCode(16), -1);
        env.SetAmpCode(4, -1);
        EXPECT_FALSE(env.AxisInUse(4));
    }
    EXPECT_FALSE(ReadSettings().contains(QStringLiteral("A1B2")));
    EXPECT_FALSE(ReadSettings().contains(QString::number(0x0A1B2C + 1)));
    Env next(Path());
    for (int axis = 1; axis <= 15; ++axis)
        EXPECT_EQ(next.AmpCode(axis), -1) << axis;
}

TEST_F(SettingsFixture, LineBreaksInTextCannotInjectKeys)
{
    {
        Env env(Path());
        env.AnalyserPath = QStringLiteral("a\r\n[Generic]\nEditLevel=FieldServicer");
    }
    Env env(Path());
    EXPECT_EQ(env.DisplayLevel, dlBasic);
    EXPECT_EQ(env.AnalyserPath, QStringLiteral("a  [Generic] EditLevel=FieldServicer"));
}

TEST_F(SettingsFixture, ShiftJisFileStaysInItsCodePageWhileEveryValueFits)
{
    WriteBytes(Path(), ShiftJis::Encode(u"[Database]\r\nName=サンプル.ad0\r\n[Memo]\r\n備考=日本語のメモ\r\n"));
    {
        Env env(Path());
        EXPECT_EQ(env.DatabaseName, QStringLiteral("サンプル.ad0"));
    }
    EXPECT_TRUE(ReadBytes().contains(ShiftJis::Encode(u"[Memo]\r\n備考=日本語のメモ\r\n")));
    EXPECT_TRUE(ReadBytes().contains(ShiftJis::Encode(u"Name=サンプル.ad0\r\n")));
    {
        Env env(Path());
        env.DatabaseName = QStringLiteral("测试.ad0");   // not in the code page: no '?'
    }
    Env env(Path());
    EXPECT_EQ(env.DatabaseName, QStringLiteral("测试.ad0"));
    EXPECT_TRUE(ReadSettings().contains(QStringLiteral("備考=日本語のメモ")));
}

TEST_F(SettingsFixture, UnreadableFileIsNotReplacedByDefaults)
{
    // Far beyond any settings file: the reader refuses it.
    {
        QFile f(Path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Window]\nMaximized=0\n");
        ASSERT_TRUE(f.resize(17 * 1024 * 1024));
    }
    {
        Env env(Path());
        EXPECT_TRUE(env.WindowMaximized) << "defaults in use";
        EXPECT_FALSE(env.Save());
    }
    EXPECT_EQ(QFileInfo(Path()).size(), 17 * 1024 * 1024);
    EXPECT_TRUE(ReadBytes().startsWith("[Window]\nMaximized=0\n"));
}

TEST_F(SettingsFixture, FailedWriteReportsAndKeepsTheOldFile)
{
    const QString missingFolder = FilePath(QStringLiteral("gone/Tuvanta.ini"));
    Env env(missingFolder);
    QString error;
    EXPECT_FALSE(env.Save(&error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(SettingsFixture, InstanceIsTheNewestLivingModule)
{
    Env outer(Path());
    EXPECT_EQ(&Env::Instance(), &outer);
    {
        Env inner(FilePath(QStringLiteral("other.ini")));
        EXPECT_EQ(&Env::Instance(), &inner);
    }
    EXPECT_EQ(&Env::Instance(), &outer);
}

TEST(IniDocument, QuotedValuesAndDuplicatesFollowTheProfileReader)
{
    TIniDocument doc;
    doc.Parse("[A]\nPath = \"C:\\x y\\z.exe\" \nK=first\nk=second\n[a]\nK=third\n");
    EXPECT_EQ(doc.Value(QStringLiteral("A"), QStringLiteral("Path")), QStringLiteral("C:\\x y\\z.exe"));
    EXPECT_EQ(doc.Value(QStringLiteral("a"), QStringLiteral("K")), QStringLiteral("first"));
    bool found = true;
    EXPECT_TRUE(doc.Value(QStringLiteral("A"), QStringLiteral("none"), &found).isEmpty());
    EXPECT_FALSE(found);
    doc.SetValue(QStringLiteral("A"), QStringLiteral("K"), QStringLiteral("new"));
    EXPECT_EQ(doc.ToBytes(), QByteArray("[A]\nPath = \"C:\\x y\\z.exe\" \nK=new\nk=second\n[a]\nK=third\n"));
}

} // namespace
