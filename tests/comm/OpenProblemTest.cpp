#include "app/cli/Cli.h"
#include "comm/Comm.h"
#include "comm/OpenProblem.h"
#include "support/PtyPeer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using TKind = TOpenProblem::TKind;

struct TKindCase {
    int error;
    TKind kind;
    const char *window;   // a phrase of the window's text
    const char *plain;    // a phrase of tuvanta-cli's text
};

TEST(OpenProblem, EachFailureSaysWhatHappenedAndNamesTheDevice)
{
    const TKindCase cases[] = {
        {ENOENT, TKind::Missing, "がありません", "no such device"},
        {ENODEV, TKind::Missing, "がありません", "no such device"},
        {ENXIO, TKind::Missing, "がありません", "no such device"},
        {EBUSY, TKind::Busy, "使用中", "another program is using it"},
        {EIO, TKind::Other, "を開けません (", "cannot open"},
        {0, TKind::Other, "を開けません。", "cannot open"},
    };
    const QString device = QStringLiteral("/dev/ttyUSB9");
    for (const TKindCase &c : cases) {
        const TOpenProblem p(device, c.error);
        EXPECT_EQ(p.Kind(), c.kind) << c.error;
        EXPECT_TRUE(p.Text().startsWith(device)) << p.Text().toStdString();
        EXPECT_TRUE(p.Text().contains(QString::fromUtf8(c.window))) << p.Text().toStdString();
        EXPECT_TRUE(p.PlainText().contains(device)) << p.PlainText().toStdString();
        EXPECT_TRUE(p.PlainText().contains(QLatin1String(c.plain))) << p.PlainText().toStdString();
        EXPECT_FALSE(p.PlainText().contains('\n'));
        EXPECT_TRUE(p.Command().isEmpty());
    }
}

QString GroupName(gid_t gid)
{
    const struct group *g = ::getgrgid(gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString::number(gid);
}

// Only the device's mode and group matter here, so any user can run it.
TEST(OpenProblem, DeniedNamesTheDevicesGroupAndWhetherJoiningItHelps)
{
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("ttyUSB0"));
    QFile f(device);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(device).constData(), &st), 0);
    const QString group = GroupName(st.st_gid);

    for (mode_t mode : {mode_t(0660), mode_t(0600)}) {
        ASSERT_EQ(::chmod(QFile::encodeName(device).constData(), mode), 0);
        for (int error : {EACCES, EPERM}) {
            const TOpenProblem p(device, error);
            EXPECT_EQ(p.Kind(), TKind::Denied);
            EXPECT_EQ(p.Group(), group);
            EXPECT_EQ(p.GroupMayOpen(), mode == 0660);
            EXPECT_TRUE(p.Command().startsWith(QStringLiteral("sudo usermod -aG %1 ").arg(group)));
            EXPECT_TRUE(p.Text().startsWith(device));
            EXPECT_TRUE(p.Text().contains(p.Command()));
            EXPECT_EQ(p.Text().contains(QStringLiteral("管理者")), mode == 0600);
            EXPECT_TRUE(p.PlainText().contains(QStringLiteral("permission denied")));
            EXPECT_TRUE(p.PlainText().contains(QStringLiteral("group %1").arg(group)));
            EXPECT_TRUE(p.PlainText().contains(p.Command()));
        }
    }
    // A device that went away before the look-up: no group to name.
    const TOpenProblem gone(dir.filePath(QStringLiteral("ttyUSB1")), EACCES);
    EXPECT_TRUE(gone.Group().isEmpty());
    EXPECT_TRUE(gone.Command().isEmpty());
    EXPECT_TRUE(gone.Text().contains(QStringLiteral("権限がありません")));
}

// The real thing: a device file of mode 600 owned by another user, opened by
// a user who is not root (root may open anything). The ctest test
// comm_open_denied_as_other_user makes the file and runs this suite as
// nobody; run directly, the suite skips.
TEST(OpenProblemUnprivileged, ADeviceOfAnotherUserIsDeniedWithItsGroupAndTheCommand)
{
    const QString device = qEnvironmentVariable("TUVANTA_DENIED_DEVICE");
    const QString group = qEnvironmentVariable("TUVANTA_DENIED_GROUP");
    if (device.isEmpty())
        GTEST_SKIP() << "needs a device file of another user: run by the ctest test comm_open_denied_as_other_user";
    ASSERT_NE(::geteuid(), 0u) << "root opens every file";

    TComm comm;
    comm.SetDevicePath(device);
    int error = 0;
    try {
        comm.Open();
    } catch (const ECommOpenError &e) {
        error = e.ErrorCode();
    }
    ASSERT_EQ(error, EACCES);
    const TOpenProblem p(comm.DeviceName(), error);
    EXPECT_EQ(p.Kind(), TKind::Denied);
    EXPECT_EQ(p.Group(), group);
    EXPECT_TRUE(p.Text().contains(device));
    EXPECT_TRUE(p.Text().contains(QStringLiteral("sudo usermod -aG %1 ").arg(group)));

    // tuvanta-cli says the same on its error output and exits with 69.
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = TCli(o, e).Run({QStringLiteral("--device"), device, QStringLiteral("identify"), QStringLiteral("1")});
    e.flush();
    EXPECT_EQ(status, TCli::ExitNoPort);
    EXPECT_TRUE(err.startsWith(QStringLiteral("tuvanta-cli: cannot open %1: permission denied.").arg(device)))
        << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("sudo usermod -aG %1 ").arg(group))) << err.toStdString();
    EXPECT_EQ(err.count('\n'), 1);
}

TEST(OpenProblemUnprivileged, ALineInUseByAnotherProgramIsBusy)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may open a line that another program holds exclusively";
    TPtyPeer peer;
    peer.Start(TPtyPeer::Amplifier([](const QByteArray &) { return QByteArray("0"); }));
    TComm first, second;
    first.SetDevicePath(peer.SlavePath());
    second.SetDevicePath(peer.SlavePath());
    first.Open();
    int error = 0;
    try {
        second.Open();
    } catch (const ECommOpenError &e) {
        error = e.ErrorCode();
    }
    first.Close();
    peer.Stop();
    EXPECT_EQ(TOpenProblem(peer.SlavePath(), error).Kind(), TKind::Busy) << error;
}

} // namespace
