// tuvanta-cli monitor against the simulator.
#include "support/CliRunner.h"
#include "SimFixture.h"

#include "app/cli/Cli.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

class CliMonitor : public TSimFixture
{
protected:
    void SetUp() override
    {
        TSimFixture::SetUp();
        // The command line opens the line itself.
        engine.ClosePort();
    }
    TCliResult Run(const QString &line) { return RunCli(dir.filePath("tty"), line); }
};

TEST_F(CliMonitor, PrintsOneBlockPerRefresh)
{
    ASSERT_EQ(Control("monitor 1 VFB -1500"), "");
    ASSERT_EQ(Control("monitor 1 TCMD -5001"), "");
    const TCliResult r = Run("monitor 1 --count 2 --interval 0");
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList blocks = r.out.split(QStringLiteral("\n\n"));
    ASSERT_EQ(blocks.size(), 2);
    const QStringList lines = blocks[0].split(u'\n');
    EXPECT_EQ(lines.size(), 27);
    EXPECT_EQ(lines[0], "00\tVFB\t-1500\tmin-1");
    EXPECT_EQ(lines[2], "02\tTCMD\tUnder minimum\t%");
    EXPECT_EQ(blocks[1].trimmed(), blocks[0].trimmed());
}

TEST_F(CliMonitor, JsonOneObjectPerRefresh)
{
    ASSERT_EQ(Control("monitor 3 VFB 12"), "");
    const TCliResult r = Run("monitor 3 --count 3 --interval 10 --json");
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.trimmed().split(u'\n');
    ASSERT_EQ(lines.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QJsonObject o = QJsonDocument::fromJson(lines[i].toUtf8()).object();
        EXPECT_EQ(o["axis"].toInt(), 3);
        EXPECT_EQ(o["refresh"].toInt(), i + 1);
        const QJsonObject first = o["rows"].toArray().at(0).toObject();
        EXPECT_EQ(first["symbol"].toString(), "VFB");
        EXPECT_EQ(first["value"].toString(), "12");
    }
}

TEST_F(CliMonitor, RefusesBadArgumentsAndReportsASilentAxis)
{
    EXPECT_EQ(Run("monitor").status, 64);
    EXPECT_EQ(Run("monitor G").status, 64);
    EXPECT_EQ(Run("monitor 1 --count 0").status, 64);
    EXPECT_EQ(Run("monitor 1 --interval x").status, 64);
    ASSERT_EQ(Control("fault 1 silent"), "");
    const TCliResult r = Run("monitor 1");
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(r.out.isEmpty());
}

} // namespace
