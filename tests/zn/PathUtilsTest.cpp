#include "ZnLibs/PathUtils.h"

#include <gtest/gtest.h>

namespace {

struct TAbsCase {
    const char *path;
    bool absolute;
};

class AbsolutePath : public ::testing::TestWithParam<TAbsCase> {};

TEST_P(AbsolutePath, FollowsTheDriveAndShareRule)
{
    EXPECT_EQ(IsAbsolutePath(QString::fromUtf8(GetParam().path)), GetParam().absolute)
        << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Cases, AbsolutePath, ::testing::Values(
    TAbsCase{"C:\\Tools\\Respana.exe", true},
    TAbsCase{"d:\\x", true},
    TAbsCase{"\\\\server\\share\\help.pdf", true},
    TAbsCase{"/opt/respana/Respana", true},
    TAbsCase{"C:Respana.exe", false},       // drive-relative is not absolute
    TAbsCase{"C:/Tools/Respana", false},    // only ":\" counts
    TAbsCase{"\\Tools\\Respana", false},    // one backslash is not a share
    TAbsCase{"Respana", false},
    TAbsCase{"tools\\Respana", false},
    TAbsCase{"", false},
    TAbsCase{"C:", false}));

TEST(ExpandPath, KeepsAbsoluteAndHangsRelativeOffTheBase)
{
    EXPECT_EQ(ExpandPath(QStringLiteral("C:\\x\\y.exe"), QStringLiteral("/base")), QStringLiteral("C:\\x\\y.exe"));
    EXPECT_EQ(ExpandPath(QStringLiteral("/opt/y"), QStringLiteral("/base")), QStringLiteral("/opt/y"));
    EXPECT_EQ(ExpandPath(QStringLiteral("Respana"), QStringLiteral("/base")), QStringLiteral("/base/Respana"));
    EXPECT_EQ(ExpandPath(QStringLiteral("tools\\Respana"), QStringLiteral("/base")), QStringLiteral("/base/tools/Respana"));
    EXPECT_EQ(ExpandPath(QString(), QStringLiteral("/base")), QString());
    EXPECT_EQ(ExpandPath(QStringLiteral("Respana")), ProgramDir() + QStringLiteral("/Respana"));
}

TEST(ChangeFileExt, ReplacesOnlyTheNamesExtension)
{
    EXPECT_EQ(ChangeFileExt(QStringLiteral("/a/Tuvanta"), QStringLiteral("ini")), QStringLiteral("/a/Tuvanta.ini"));
    EXPECT_EQ(ChangeFileExt(QStringLiteral("/a/Tuvanta.exe"), QStringLiteral("JPN")), QStringLiteral("/a/Tuvanta.JPN"));
    EXPECT_EQ(ChangeFileExt(QStringLiteral("/a.d/Tuvanta"), QStringLiteral("ini")), QStringLiteral("/a.d/Tuvanta.ini"));
    EXPECT_EQ(ChangeFileExt(QStringLiteral("/a/x.tar.gz"), QStringLiteral("EN")), QStringLiteral("/a/x.tar.EN"));
}

} // namespace
