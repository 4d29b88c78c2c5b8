// The test-run module: the TESTRUN row, the common-area reads and writes, the
// value checks.
#include "TestRunSupport.h"

#include <gtest/gtest.h>

namespace {

class DMJog : public TTestRunFixture
{
};

TEST_F(DMJog, ReadsTheCommonAreaOfEachLayout)
{
    // speed -5 (sign-extended), end action 1, feed amount 0x00012345
    Poke(1, Common, QByteArray::fromHex("FBFF" "0100" "4523" "0100"));
    int speed = 0, action = 0;
    ASSERT_TRUE(dm->ReadVelocityJog(1, speed, action));
    EXPECT_EQ(speed, -5);
    EXPECT_EQ(action, 1);
    qint64 feed = 0;
    ASSERT_TRUE(dm->ReadPulseJog(1, speed, action, feed));
    EXPECT_EQ(feed, 0x12345);

    // APMON -2, PMON 70000
    Poke(1, Common + 8, QByteArray::fromHex("FEFFFFFF" "70110100"));
    qint32 apmon = 0, pmon = 0;
    ASSERT_TRUE(dm->ReadPositionMonitors(1, apmon, pmon));
    EXPECT_EQ(apmon, -2);
    EXPECT_EQ(pmon, 70000);
}

TEST_F(DMJog, WritesGoToTheirAddresses)
{
    ASSERT_TRUE(dm->WriteEndAction(1, 1));
    ASSERT_TRUE(dm->WriteWord0(1, 1234));
    ASSERT_TRUE(dm->WriteFeedAmount(1, 2147483647u));
    EXPECT_EQ(PeekValue(1, Common + 2, 2), 1u);
    EXPECT_EQ(PeekValue(1, Common, 2), 1234u);
    EXPECT_EQ(PeekValue(1, Common + 4, 2), 0xFFFFu); // low word of the pair first
    EXPECT_EQ(PeekValue(1, Common + 6, 2), 0x7FFFu);
    ASSERT_TRUE(dm->WriteWord6(1, 0xBEEF));
    EXPECT_EQ(PeekValue(1, Common + 6, 2), 0xBEEFu);
}

TEST_F(DMJog, WithoutACommonAreaNothingIsSent)
{
    // Model C has a TESTRUN row without COMMON_ADDRESS; axis 5 no model; axis 0 none.
    Control("log 4 clear");
    int speed = 0, action = 0;
    qint64 feed = 0;
    qint32 a = 0, p = 0;
    for (int axis : {4, 5, 0}) {
        SCOPED_TRACE(axis);
        EXPECT_FALSE(dm->ReadVelocityJog(axis, speed, action));
        EXPECT_FALSE(dm->ReadPulseJog(axis, speed, action, feed));
        EXPECT_FALSE(dm->ReadPositionMonitors(axis, a, p));
        EXPECT_FALSE(dm->WriteEndAction(axis, 1));
        EXPECT_FALSE(dm->WriteFeedAmount(axis, 1));
    }
    EXPECT_EQ(Log(4), "  ");
    EXPECT_TRUE(messages.entries.isEmpty());
    EXPECT_TRUE(env->AxisInUse(4));
}

TEST_F(DMJog, ModelNameAndTitle)
{
    QString name;
    ASSERT_TRUE(dm->ReadModelName(1, name));
    EXPECT_EQ(name.size(), 10);
    EXPECT_EQ(name.trimmed(), "TVA-S10A");
    EXPECT_EQ(TDMJog::Title(TDMJog::tyVelocityJog, 10, "X"), "速度JOG運転 [#a : X]");
    EXPECT_EQ(TDMJog::NotReadyText(TDMJog::tyPulseJog), "パルス送りJOG運転を実行することができません。（準備未完了）");
}

TEST_F(DMJog, ValueChecksAndTheirWarning)
{
    ASSERT_TRUE(dm->LocateRow(1)); // model A: speed command 0..5000
    struct TCase {
        const char *what;
        QString text;
        bool ok;
    };
    const TCase cases[] = {
        {"speed", "5000", true},           {"speed", "5001", false},   {"speed", "0", true},
        {"speed", "-1", false},            {"speed", "12x", false},    {"speed", "", false},
        {"feed", "2147483647", true},      {"feed", "2147483648", false}, {"feed", "-1", false},
        {"feedspeed", "32767", true},      {"feedspeed", "32768", false},
        {"friction", "50", true},          {"friction", "51", false},
        {"torque", "1000", true},          {"torque", "9", false},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(std::string(c.what) + " " + c.text.toStdString());
        messages.Clear();
        qint64 v = 0;
        const std::string what = c.what;
        const bool ok = what == "speed"       ? dm->CheckJogSpeed(c.text, v)
                        : what == "feed"      ? dm->CheckFeedAmount(c.text, v)
                        : what == "feedspeed" ? dm->CheckFeedSpeed(c.text, v)
                        : what == "friction"  ? dm->CheckFriction(c.text, v)
                                              : dm->CheckTuningTorque(c.text, v);
        EXPECT_EQ(ok, c.ok);
        EXPECT_EQ(messages.Texts(), c.ok ? QStringList() : QStringList{"設定範囲外です。"});
    }
}

} // namespace
