#pragma once

#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"

#include <gtest/gtest.h>

// The sample database (data/README.md) as the windows see it.
inline constexpr int CodeA = 0x00A101;       // model A, group 1
inline constexpr int CodeB = 0x00A102;       // model B, group 1
inline constexpr int CodeC = 0x00C201;       // model C, group 2
inline constexpr int CodeUnknown = 0x00E999; // no AMPLIFIER row

inline QString SampleDatabasePath()
{
    return QStringLiteral(TUVANTA_BIN_DIR "/Sample.ad0");
}

// Loader and main tables over the sample database, read only (no lock), so
// the tests may run beside a running program.
class TSampleDatabase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(intf.DatabaseBroken()) << intf.BrokenReason().toStdString();
        ASSERT_TRUE(dmMain.LoadMainTables());
    }

    TDMInterface intf{SampleDatabasePath(), TStgManager::TAccess::Shared};
    TDMMain dmMain{intf};
};
