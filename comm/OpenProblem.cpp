#include "comm/OpenProblem.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString UserName()
{
    if (const passwd *pw = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    const QString env = qEnvironmentVariable("USER");
    return env.isEmpty() ? QStringLiteral("$USER") : env;
}

} // namespace

TOpenProblem::TOpenProblem(const QString &device, int error) : device(device), error(error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        kind = TKind::Denied;
        break;
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        kind = TKind::Missing;
        break;
    case EBUSY:
        kind = TKind::Busy;
        break;
    default:
        kind = TKind::Other;
    }
    if (kind != TKind::Denied)
        return;
    user = UserName();
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0)
        return;
    groupMayOpen = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    if (const struct group *g = ::getgrgid(st.st_gid))
        group = QString::fromLocal8Bit(g->gr_name);
    else
        group = QString::number(st.st_gid);
}

QString TOpenProblem::Command() const
{
    if (kind != TKind::Denied || group.isEmpty())
        return QString();
    return QStringLiteral("sudo usermod -aG %1 %2").arg(group, user);
}

QString TOpenProblem::Text() const
{
    switch (kind) {
    case TKind::Denied: {
        QString text = QCoreApplication::translate("TOpenProblem", "%1 を開く権限がありません。").arg(device);
        if (group.isEmpty())
            return text;
        text += QStringLiteral("\r\n") + QCoreApplication::translate("TOpenProblem", "このデバイスはグループ %1 のものです。").arg(group);
        if (!groupMayOpen)
            text += QStringLiteral("\r\n") + QCoreApplication::translate("TOpenProblem", "グループにも読み書きの権限がありません。管理者に相談してください。");
        text += QStringLiteral("\r\n")
              + QCoreApplication::translate("TOpenProblem", "ユーザーをこのグループに加えて、ログインし直してください:")
              + QStringLiteral("\r\n    ") + Command();
        return text;
    }
    case TKind::Missing:
        return QCoreApplication::translate("TOpenProblem", "%1 がありません。アダプタの接続と、通信設定のデバイスを確認してください。").arg(device);
    case TKind::Busy:
        return QCoreApplication::translate("TOpenProblem", "%1 は他のプログラムが使用中です。そのプログラムを終了してください。").arg(device);
    case TKind::Other:
        break;
    }
    if (error > 0)
        return QCoreApplication::translate("TOpenProblem", "%1 を開けません (%2)。").arg(device, QString::fromLocal8Bit(std::strerror(error)));
    return QCoreApplication::translate("TOpenProblem", "%1 を開けません。").arg(device);
}

QString TOpenProblem::PlainText() const
{
    switch (kind) {
    case TKind::Denied: {
        QString text = QStringLiteral("cannot open %1: permission denied.").arg(device);
        if (group.isEmpty())
            return text;
        text += QStringLiteral(" The device belongs to the group %1.").arg(group);
        if (!groupMayOpen)
            text += QStringLiteral(" That group may not read and write it either: ask the administrator.");
        return text + QStringLiteral(" Add yourself to the group and log in again: %1").arg(Command());
    }
    case TKind::Missing:
        return QStringLiteral("cannot open %1: there is no such device. Check that the adapter is plugged in "
                              "and the device path is right.").arg(device);
    case TKind::Busy:
        return QStringLiteral("cannot open %1: another program is using it.").arg(device);
    case TKind::Other:
        break;
    }
    if (error > 0)
        return QStringLiteral("cannot open %1: %2").arg(device, QString::fromLocal8Bit(std::strerror(error)));
    return QStringLiteral("cannot open %1").arg(device);
}
