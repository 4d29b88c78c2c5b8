// The sample database as every later window sees it: through the loader and
// the main tables.
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"
#include "defdb/DataSet.h"
#include "defdb/DefSchema.h"

#include <gtest/gtest.h>

namespace {

constexpr int CodeA = 0x00A101;
constexpr int CodeB = 0x00A102;
constexpr int CodeC = 0x00C201;
constexpr int CodeUnknown = 0x00E999;

QString SamplePath()
{
    return QStringLiteral(TUVANTA_BIN_DIR "/Sample.ad0");
}

class SampleDatabase : public ::testing::Test
{
protected:
    // The tests read only: no lock, so they may run beside a running program.
    TDMInterface intf{SamplePath(), TStgManager::TAccess::Shared};
};

TEST_F(SampleDatabase, OpensAndLoadsEveryStream)
{
    ASSERT_FALSE(intf.DatabaseBroken()) << intf.BrokenReason().toStdString();
    for (const TDefSchema::TTable &t : TDefSchema::Tables()) {
        TDataSet table;
        EXPECT_TRUE(intf.LoadTable(table, t.stream)) << t.stream.toStdString();
        EXPECT_GT(table.AllRowCount(), 0) << t.stream.toStdString();
    }
}

TEST_F(SampleDatabase, MainTablesKnowTheModelsAndTheirSpans)
{
    TDMMain main(intf);
    ASSERT_TRUE(main.LoadMainTables());
    EXPECT_TRUE(main.IsKnownCode(CodeA));
    EXPECT_TRUE(main.IsKnownCode(CodeB));
    EXPECT_TRUE(main.IsKnownCode(CodeC));
    EXPECT_FALSE(main.IsKnownCode(CodeUnknown));
    EXPECT_EQ(main.ModelGroup(CodeA), main.ModelGroup(CodeB));
    EXPECT_NE(main.ModelGroup(CodeA), main.ModelGroup(CodeC));

    for (int code : {CodeA, CodeB, CodeC}) {
        const TAddressSpan p = main.ParameterSpan(code);
        ASSERT_TRUE(p.found);
        EXPECT_EQ(p.first, 0xF8000);
        EXPECT_GT(p.end, 0xF84A6);
        EXPECT_EQ(p.end % 2, 0);
        const TAddressSpan m = main.MonitorSpan(code);
        ASSERT_TRUE(m.found);
        EXPECT_EQ(m.first % 2, 0);
        EXPECT_EQ(m.end % 2, 0);
    }
    EXPECT_FALSE(main.ParameterSpan(CodeUnknown).found);
    EXPECT_FALSE(main.MonitorSpan(CodeUnknown).found);
    EXPECT_EQ(main.VersionText(), QStringLiteral("TVDB-SAMPLE 1.02"));
}

} // namespace
