#include "sim/SimFrame.h"

#include <gtest/gtest.h>

TEST(SimFrame, ChecksOfTheWorkedExamples)
{
    EXPECT_EQ(TSimFrame::Check("H0"), 0x7B);
    EXPECT_EQ(TSimFrame::Check("W01"), 0x55);
    EXPECT_EQ(TSimFrame::Build("H0"), std::string("\x02H0\x03" "7B"));
    EXPECT_EQ(TSimFrame::CheckText(0xAB, true), "ab");
    EXPECT_EQ(TSimFrame::Check(""), 0x03);
}

TEST(SimFrame, ProgramFieldsAreReadStrictly)
{
    EXPECT_EQ(TSimFrame::ParseUpperHex("F84A4"), 0xF84A4u);
    EXPECT_EQ(TSimFrame::ParseUpperHex("FFFFFFFF"), 0xFFFFFFFFu);
    for (const char *bad : {"", "f84a4", "12G", "123456789", " 12", "0x12"})
        EXPECT_FALSE(TSimFrame::ParseUpperHex(bad)) << bad;
    EXPECT_EQ(TSimFrame::Hex(0x12A, 6), "00012A");
    EXPECT_EQ(TSimFrame::Hex(0x1234567, 5), "34567");
}
