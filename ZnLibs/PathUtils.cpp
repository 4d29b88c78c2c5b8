#include "ZnLibs/PathUtils.h"

#include <QCoreApplication>
#include <QDir>

bool IsAbsolutePath(const QString &path)
{
    if (path.size() >= 3 && path.at(1) == QLatin1Char(':') && path.at(2) == QLatin1Char('\\'))
        return true;
    if (path.startsWith(QLatin1String("\\\\")))
        return true;
#ifndef Q_OS_WIN
    if (path.startsWith(QLatin1Char('/')))
        return true;
#endif
    return false;
}

QString ProgramDir()
{
    return QCoreApplication::applicationDirPath();
}

QString ExpandPath(const QString &path, const QString &baseDir)
{
    if (path.isEmpty() || IsAbsolutePath(path))
        return path;
    QString relative = path;
#ifndef Q_OS_WIN
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    const QString base = baseDir.isEmpty() ? ProgramDir() : baseDir;
    return QDir(base).filePath(relative);
}

QString ChangeFileExt(const QString &path, const QString &ext)
{
    qsizetype nameStart = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    nameStart = std::max(nameStart, path.lastIndexOf(QLatin1Char('\\')));
#endif
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > nameStart ? path.left(dot) : path;
    return stem + QLatin1Char('.') + ext;
}

QString ProgramFileWithExt(const QString &ext)
{
    return ChangeFileExt(QCoreApplication::applicationFilePath(), ext);
}
