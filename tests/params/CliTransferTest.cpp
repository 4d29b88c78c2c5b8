// tuvanta-cli save and load against the simulator.
#include "support/CliRunner.h"
#include "SimFixture.h"

#include "app/cli/Cli.h"
#include "defdb/Buffer.h"

#include <QDir>
#include <QFile>
#include <QTimer>
#include <QFileInfo>
#include <QTextStream>

#include <gtest/gtest.h>
#include <sys/stat.h>

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
    TCliResult Run(const QString &line)
    {
        return RunCli(dir.filePath("tty"), line,
                      [this](const QString &a) { return a.startsWith(u'@') ? dir.filePath(a.mid(1)) : a; });
    }
};

TEST_F(CliTransfer, SaveThenLoadIntoAnotherAxis)
{
    Poke(1, 0xF8004, QByteArray::fromHex("2C01"));
    const TCliResult save = Run("save 1 @one.ap0");
    ASSERT_EQ(save.status, 0) << save.err.toStdString();
    EXPECT_TRUE(save.err.contains(QStringLiteral("tuvanta-cli: reading"))) << "progress on the error output";
    TBuffer image;
    ASSERT_TRUE(dmMain.ReadParameterFile(image, dir.filePath("one.ap0")));
    EXPECT_EQ(image.ampCode, CodeA);
    EXPECT_EQ(image.words[2], 300);

    const TCliResult load = Run("load @one.ap0 2 --kinds general,system,motor");
    ASSERT_EQ(load.status, 0) << load.err.toStdString();
    EXPECT_TRUE(load.out.startsWith(QStringLiteral("loaded "))) << load.out.toStdString();
    EXPECT_EQ(PeekValue(2, 0xF8004, 2), 300u);
}

TEST_F(CliTransfer, VersionQuestionNeedsYes)
{
    ASSERT_EQ(Run("save 3 @b.ap0").status, 0);
    const TCliResult no = Run("load @b.ap0 1");
    EXPECT_EQ(no.status, TCli::ExitRefused);
    EXPECT_TRUE(no.err.contains(QStringLiteral("--yes"))) << no.err.toStdString();
    EXPECT_EQ(PeekValue(1, 0xF8004, 2), 400u);

    const TCliResult yes = Run("load @b.ap0 1 --yes");
    EXPECT_EQ(yes.status, 0) << yes.err.toStdString();
    EXPECT_EQ(PeekValue(1, 0xF8004, 2), 500u);
}

TEST_F(CliTransfer, RefusalsAndBadFiles)
{
    ASSERT_EQ(Run("save 4 @c.ap0").status, 0);
    const TCliResult refused = Run("load @c.ap0 1 --yes");
    EXPECT_EQ(refused.status, TCli::ExitRefused);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("differs from that of axis #1"))) << refused.err.toStdString();

    QFile f(dir.filePath("broken.ap0"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("AMP-CODE,0x00A101\r\nPARAM-CNT,2\r\nPARAMETER,0,0x0\r\n");
    f.close();
    const TCliResult broken = Run("load @broken.ap0 1");
    EXPECT_EQ(broken.status, TCli::ExitBadFile);
    EXPECT_TRUE(broken.err.contains(QStringLiteral("not a valid parameter file"))) << broken.err.toStdString();
    const TCliResult missing = Run("load @missing.ap0 1");
    EXPECT_EQ(missing.status, TCli::ExitBadFile);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("no such file")));

    // Things that are there but are no parameter file are not "missing",
    // and a FIFO does not block the command.
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ap0"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo.ap0")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero.ap0")));
    for (const char *name : {"@folder.ap0", "@fifo.ap0", "@zero.ap0"}) {
        const TCliResult r = Run(QStringLiteral("load %1 1").arg(QLatin1String(name)));
        EXPECT_EQ(r.status, TCli::ExitBadFile) << name;
        EXPECT_TRUE(r.err.contains(QStringLiteral("not a regular file"))) << name << r.err.toStdString();
    }
}

TEST_F(CliTransfer, CommunicationFailuresExitWithTheEngineResult)
{
    Control("fault 1 silentafter 12");
    const TCliResult r = Run("save 1 @fail.ap0");
    EXPECT_EQ(r.status, 3) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("fail.ap0")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("\ntuvanta-cli: communication time-out (axis #1)\n"))) << r.err.toStdString();
    EXPECT_EQ(Run("save 9 @none.ap0").status, 3) << "no amplifier on axis 9";
}

bool HasJapanese(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x3000)
            return true;
    return false;
}

TEST_F(CliTransfer, AnAxisOfUnknownModelIsRefusedAndTheFileKept)
{
    ASSERT_EQ(Run("save 1 @keep.ap0").status, 0);
    QFile f(dir.filePath("keep.ap0"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray good = f.readAll();
    f.close();
    const TCliResult save = Run("save 5 @keep.ap0");
    EXPECT_EQ(save.status, TCli::ExitRefused);
    EXPECT_TRUE(save.err.contains(QStringLiteral("is not in the definition database"))) << save.err.toStdString();
    const TCliResult load = Run("load @keep.ap0 5");
    EXPECT_EQ(load.status, TCli::ExitRefused);
    EXPECT_FALSE(load.out.contains(QStringLiteral("written")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), good);
}

TEST_F(CliTransfer, AFailedReadOfTheVersionBlockKeepsTheOldFile)
{
    ASSERT_EQ(Run("save 3 @b.ap0").status, 0);
    QFile f(dir.filePath("b.ap0"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray good = f.readAll();
    f.close();
    Control("fault 3 silentafter 156"); // the area is read, the version block is not
    const TCliResult r = Run("save 3 @b.ap0");
    EXPECT_EQ(r.status, 3) << r.err.toStdString();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), good);
    EXPECT_FALSE(HasJapanese(r.err)) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith(QStringLiteral("\ntuvanta-cli: communication time-out (axis #3)\n"))) << r.err.toStdString();
}

TEST_F(CliTransfer, ACablePullMidSaveGivesALineOfItsOwnInEnglish)
{
    // At the line's real pace the save takes over a second, so the pull
    // lands in the middle of it however fast the machine is.
    Control("linetime on");
    QTimer::singleShot(150, [this] { Control("pull"); });
    const TCliResult r = Run("save 1 @pulled.ap0");
    EXPECT_NE(r.status, 0);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("pulled.ap0")));
    EXPECT_FALSE(HasJapanese(r.err)) << r.err.toStdString();
    const QStringList lines = r.err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("tuvanta-cli: ")) && lines.last().endsWith(QStringLiteral("(axis #1)")))
        << r.err.toStdString();
}

TEST_F(CliTransfer, SaveChecksItsTargetBeforeReading)
{
    const TCliResult r = Run("save 1 @nowhere/x.ap0");
    EXPECT_EQ(r.status, TCli::ExitCannotWrite);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("tuvanta-cli: cannot write "))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("reading"))) << "nothing was read";
}

TEST_F(CliTransfer, UsageErrors)
{
    for (const char *line : {"save 1", "save 0 @x.ap0", "save 1 @x.txt", "load @x.ap0", "load @x.ap0 1 --kinds nonsense",
                             "save 1 @x.ap0 --yes", "identify 1 --kinds motor", "read 1 F8000 --db x"})
        EXPECT_EQ(Run(QString::fromLatin1(line)).status, TCli::ExitUsage) << line;
}

} // namespace
