// tuvanta-cli save and load against the simulator.
#include "SimFixture.h"

#include "app/cli/Cli.h"
#include "defdb/Buffer.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

class CliTransfer : public TSimFixture
{
protected:
    void SetUp() override
    {
        TSimFixture::SetUp();
        // The command line opens the line itself.
        engine.ClosePort();
    }
    struct TRun {
        int status;
        QString out, err;
    };
    TRun Run(const QString &line)
    {
        QStringList args = {QStringLiteral("--device"), dir.filePath("tty"), QStringLiteral("--baud"),
                            QStringLiteral("57600"), QStringLiteral("--db"), SampleDatabasePath()};
        for (const QString &a : line.split(u' ', Qt::SkipEmptyParts))
            args << (a.startsWith(u'@') ? dir.filePath(a.mid(1)) : a);
        TRun r;
        QTextStream out(&r.out), err(&r.err);
        r.status = TCli(out, err).Run(args);
        out.flush();
        err.flush();
        return r;
    }
};

TEST_F(CliTransfer, SaveThenLoadIntoAnotherAxis)
{
    Poke(1, 0xF8004, QByteArray::fromHex("2C01"));
    const TRun save = Run("save 1 @one.ap0");
    ASSERT_EQ(save.status, 0) << save.err.toStdString();
    EXPECT_TRUE(save.err.contains(QStringLiteral("読み出し中"))) << "progress on the error output";
    TBuffer image;
    ASSERT_TRUE(dmMain.ReadParameterFile(image, dir.filePath("one.ap0")));
    EXPECT_EQ(image.ampCode, CodeA);
    EXPECT_EQ(image.words[2], 300);

    const TRun load = Run("load @one.ap0 2 --kinds general,system,motor");
    ASSERT_EQ(load.status, 0) << load.err.toStdString();
    EXPECT_TRUE(load.out.startsWith(QStringLiteral("loaded "))) << load.out.toStdString();
    EXPECT_EQ(PeekValue(2, 0xF8004, 2), 300u);
}

TEST_F(CliTransfer, VersionQuestionNeedsYes)
{
    ASSERT_EQ(Run("save 3 @b.ap0").status, 0);
    const TRun no = Run("load @b.ap0 1");
    EXPECT_EQ(no.status, TCli::ExitRefused);
    EXPECT_TRUE(no.err.contains(QStringLiteral("--yes"))) << no.err.toStdString();
    EXPECT_EQ(PeekValue(1, 0xF8004, 2), 400u);

    const TRun yes = Run("load @b.ap0 1 --yes");
    EXPECT_EQ(yes.status, 0) << yes.err.toStdString();
    EXPECT_EQ(PeekValue(1, 0xF8004, 2), 500u);
}

TEST_F(CliTransfer, RefusalsAndBadFiles)
{
    ASSERT_EQ(Run("save 4 @c.ap0").status, 0);
    const TRun refused = Run("load @c.ap0 1 --yes");
    EXPECT_EQ(refused.status, TCli::ExitRefused);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("サーボアンプの種類が異なります。")));

    QFile f(dir.filePath("broken.ap0"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("AMP-CODE,0x00A101\r\nPARAM-CNT,2\r\nPARAMETER,0,0x0\r\n");
    f.close();
    const TRun broken = Run("load @broken.ap0 1");
    EXPECT_EQ(broken.status, TCli::ExitBadFile);
    EXPECT_TRUE(broken.err.contains(QStringLiteral("アンプファイルが壊れています。")));
    EXPECT_EQ(Run("load @missing.ap0 1").status, TCli::ExitBadFile);
}

TEST_F(CliTransfer, CommunicationFailuresExitWithTheEngineResult)
{
    Control("fault 1 silentafter 12");
    const TRun r = Run("save 1 @fail.ap0");
    EXPECT_EQ(r.status, 3) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("fail.ap0")));
    EXPECT_EQ(Run("save 9 @none.ap0").status, 3) << "no amplifier on axis 9";
}

TEST_F(CliTransfer, UsageErrors)
{
    for (const char *line : {"save 1", "save 0 @x.ap0", "save 1 @x.txt", "load @x.ap0", "load @x.ap0 1 --kinds nonsense",
                             "save 1 @x.ap0 --yes", "identify 1 --kinds motor", "read 1 F8000 --db x"})
        EXPECT_EQ(Run(QString::fromLatin1(line)).status, TCli::ExitUsage) << line;
}

} // namespace
