#include "RawPeer.h"
#include "SimProcess.h"

#include "defdb/DMInterface.h"
#include "defdb/DataSet.h"
#include "sim/SimControl.h"
#include "sim/SimDatabase.h"
#include "sim/SimFrame.h"
#include "sim/SimLine.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {
const std::string SamplePath = std::string(TUVANTA_BIN_DIR) + "/Sample.ad0";
constexpr uint32_t ModelA = 0xA101, ModelB = 0xA102, ModelC = 0xC201, Unknown = 0xE999;

class SimDatabaseTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        database = new TSimDatabase;
        std::string error;
        ASSERT_TRUE(database->Open(SamplePath, &error)) << error;
    }
    static void TearDownTestSuite()
    {
        delete database;
        database = nullptr;
    }
    void SetUp() override
    {
        line.SetLayoutSource([](uint32_t code) { return database->Layout(code); });
        line.AddAxis(1, ModelA, peer.now);
        line.AddAxis(2, ModelB, peer.now);
        line.AddAxis(3, ModelC, peer.now);
        line.AddAxis(4, Unknown, peer.now);
    }
    std::string Text(int axis, uint32_t address, int count)
    {
        std::string text;
        for (uint8_t b : line.Axis(axis)->Memory().Read(address, count))
            text += char(b);
        return text;
    }

    static TSimDatabase *database;
    TSimLine line;
    TRawPeer peer{line};
};

TSimDatabase *SimDatabaseTest::database = nullptr;

TEST_F(SimDatabaseTest, KnowsTheSampleModels)
{
    EXPECT_EQ(database->Codes(), (std::vector<uint32_t>{ModelA, ModelB, ModelC}));
    EXPECT_FALSE(database->Known(Unknown));
    EXPECT_FALSE(line.Axis(4)->Layout().known);
    EXPECT_EQ(peer.Command(4, "H0"), "000E999");
    EXPECT_EQ(peer.Command(4, "MF8000"), "0000000000000000");
    EXPECT_EQ(line.Axis(1)->Layout().modelName, "TVA-S10A");
}

// Every parameter row, read back the way the program reads it (words with
// the even-address byte low), gives its standard value: checked against the
// tables read here on their own.
TEST_F(SimDatabaseTest, ParameterAreaHoldsEveryStandardValue)
{
    TDMInterface db(QString::fromStdString(SamplePath), TStgManager::TAccess::Shared);
    ASSERT_FALSE(db.DatabaseBroken());
    TDataSet param, amp, amplifier;
    ASSERT_TRUE(db.LoadTable(param, "1_PARAMETER.cds"));
    ASSERT_TRUE(db.LoadTable(amp, "1_AMP_PARA.cds"));
    ASSERT_TRUE(db.LoadTable(amplifier, "0_AMPLIFIER.cds"));
    std::map<qint64, int> lengthOf;
    for (int r = 0; r < param.AllRowCount(); ++r)
        lengthOf[param.RowValue(r, "ID").AsInt64()] = param.RowValue(r, "LENGTH").AsInteger();
    std::map<qint64, int> axisOfModel;
    for (int r = 0; r < amplifier.AllRowCount(); ++r) {
        const uint32_t code = uint32_t(amplifier.RowValue(r, "CODE").AsInt64());
        axisOfModel[amplifier.RowValue(r, "ID").AsInt64()] = code == ModelA ? 1 : code == ModelB ? 2 : 3;
    }
    int checked = 0;
    for (int r = 0; r < amp.AllRowCount(); ++r) {
        const int axis = axisOfModel[amp.RowValue(r, "AMPLIFIER_ID").AsInt64()];
        const uint32_t address = uint32_t(amp.RowValue(r, "ADDRESS").AsInt64());
        const int length = lengthOf[amp.RowValue(r, "PARAMETER_ID").AsInt64()];
        const uint32_t mask = length == 4 ? 0xFFFFFFFFu : (1u << (8 * length)) - 1;
        const uint32_t standard = uint32_t(amp.RowValue(r, "STANDARD_VALUE").AsInt64()) & mask;
        // One M read at the even address below, as the parameter windows do.
        const uint32_t even = address & ~1u;
        const std::string hex = peer.Command(axis, "M" + TSimFrame::Hex(even, 5));
        ASSERT_EQ(hex.size(), 16u);
        auto byteAt = [&](uint32_t a) { return uint32_t(std::stoul(hex.substr(2 * (a - even), 2), nullptr, 16)); };
        uint32_t value = 0;
        for (int i = length - 1; i >= 0; --i)
            value = value << 8 | byteAt(address + uint32_t(i));
        EXPECT_EQ(value, standard) << "axis " << axis << " address " << std::hex << address;
        ++checked;
    }
    EXPECT_GT(checked, 250);
    const TSimLayout &a = line.Axis(1)->Layout();
    EXPECT_EQ(a.parameterFirst, 0xF8000u);
    EXPECT_EQ(a.parameterEnd, 0xF84C8u);
}

TEST_F(SimDatabaseTest, ModelTextsAndVersionBlock)
{
    // Amplifier text: 8 bytes at 0xFA000 and 2 at 0xFA008.
    EXPECT_EQ(Text(1, 0xFA000, 10), "TVA-S10A  ");
    EXPECT_EQ(Text(3, 0xFA000, 10), "TVC-M05   ");
    // Motor text: from the combined-motor block, at MOTOR_ADDRESS + 4.
    EXPECT_EQ(Text(1, 0xFA014, 10), "TVM-0400A ");
    // Version: words s0..s3, then u0 with the digits and the letter in u1.
    const std::string s = peer.Command(1, "MFA020");
    EXPECT_EQ(s, "000001A126200100");
    EXPECT_EQ(peer.Command(1, "RFA028"), "23105300"); // u0 = 0x1023, u1 = 'S': "S1.02.3"
    EXPECT_EQ(peer.Command(3, "RFA028"), "00000000"); // model C has no version block
    EXPECT_FALSE(line.Axis(3)->Layout().versionAddress);
}

TEST_F(SimDatabaseTest, AreasOfLaterFunctions)
{
    const TSimLayout &a = line.Axis(1)->Layout();
    EXPECT_EQ(a.commonAddress, 0xF9800u);
    EXPECT_EQ(a.traceAddress, 0xFB000u);
    EXPECT_EQ(a.traceSettingAddress, 0xFB100u);
    EXPECT_FALSE(line.Axis(3)->Layout().commonAddress);
    EXPECT_FALSE(line.Axis(3)->Layout().traceAddress);
    EXPECT_EQ(a.nowAlarmAddress, 0xF9F00u);
    EXPECT_EQ(a.historyAlarmAddress, 0xF8400u);
}

TEST_F(SimDatabaseTest, MonitorAreaMovesWithTheMotor)
{
    TSimAxis &axis = *line.Axis(1);
    const TSimLayout &l = axis.Layout();
    EXPECT_EQ(l.monitorFirst, 0xF9000u);
    EXPECT_EQ(l.monitorEnd, 0xF904Au);
    EXPECT_EQ(l.monitorItems.size(), 29u);
    EXPECT_EQ(line.Axis(3)->Layout().monitorEnd, 0xF9048u);

    axis.Motion().SetSpeed(1200, peer.now);
    peer.now += 2'000'000;
    auto value = [&](const char *symbol) {
        const TSimMonitorItem *item = axis.FindMonitorItem(symbol);
        EXPECT_NE(item, nullptr) << symbol;
        return item ? axis.Memory().Value(item->address, item->length) : 0u;
    };
    peer.Command(1, "MF9000"); // a read brings the values up to date
    EXPECT_NEAR(int16_t(value("VFB")), 1200, 2);
    EXPECT_EQ(int16_t(value("VCMD")), 1200);
    EXPECT_NEAR(int16_t(value("TCMD")), 51, 2); // friction 5 %, one decimal
    EXPECT_EQ(int32_t(value("PERR")), 4000);    // 1200 r/min = 200000 pulses/s over a gain of 50
    EXPECT_EQ(value("VDC"), 283u);
    EXPECT_EQ(value("ATMP"), 405u);
    EXPECT_EQ(value("STAT"), 1u);

    // Speed display (DATAFORM 9) follows the decimals set at 0xF84A4.
    EXPECT_NEAR(int32_t(value("VDSP")), 1200, 2);
    peer.Command(1, "OF84A401");
    peer.Command(1, "MF9020");
    EXPECT_NEAR(int32_t(value("VDSP")), 12000, 20);
    peer.Command(1, "OF84A403"); // beyond the range: held at its end
    peer.Command(1, "MF9020");
    EXPECT_EQ(int32_t(value("VDSP")), 100000);

    // The alarm shows in the alarm-code and state items.
    axis.Alarms().Raise(0x21, 3, peer.now);
    peer.Command(1, "MF9018");
    EXPECT_EQ(value("ALM"), 0x21u);
    EXPECT_EQ(value("STAT"), 2u);
}

TEST_F(SimDatabaseTest, AlarmBlocksOfTheModel)
{
    TSimControl control(line);
    EXPECT_EQ(control.Execute("alarm 1 21 3", peer.now), "ok");
    EXPECT_EQ(peer.Command(1, "MF9F00").substr(0, 4), "2131");
    // The history lies in the parameter area, at the LEVEL 600 words.
    EXPECT_EQ(control.Execute("history 1 12:1 13:2", peer.now), "ok");
    const auto history = line.Axis(1)->Alarms().History();
    EXPECT_EQ(history[0].code, 0x12);
    EXPECT_EQ(history[1].code, 0x13);
    EXPECT_NE(peer.Command(1, "MF8400") + peer.Command(1, "MF8408"), std::string(32, '0'));
    // Decimal-point settings are the parameters' standard values.
    EXPECT_EQ(peer.Command(1, "RF84A4").substr(0, 6), "000000");
}

TEST(SimDatabaseFile, ABrokenDatabaseIsReported)
{
    TSimDatabase db;
    std::string error;
    EXPECT_FALSE(db.Open("/nonexistent/defs.ad0", &error));
    EXPECT_NE(error.find("defs.ad0"), std::string::npos) << error;
    EXPECT_TRUE(db.Codes().empty());
}

TEST(SimDatabaseProgram, StartsOnTheSampleBesideTheProgram)
{
    QTemporaryDir dir;
    const std::string link = dir.filePath("tty").toStdString();
    TSimProcess sim;
    ASSERT_TRUE(sim.Start({"--link", link, "--no-stdin"}));
    TPortPeer port;
    ASSERT_TRUE(port.Open(link));
    EXPECT_EQ(port.Command(1, "H0"), "000A101"); // the first model on axis 1
    EXPECT_EQ(port.Command(1, "MFA000"), "5456412D53313041");

    std::string out, err;
    EXPECT_EQ(TSimProcess::Run({"--link", link + "2", "--db", "/nonexistent/x.ad0"}, &out, &err), 1);
    EXPECT_NE(err.find("x.ad0"), std::string::npos) << err;
}
} // namespace
