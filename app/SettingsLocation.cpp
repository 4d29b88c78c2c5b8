#include "app/SettingsLocation.h"

#include "ZnLibs/PathUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

TSettingsLocation TSettingsLocation::Choose(const QString &programDir, const QString &fileName,
                                            const QString &configDir, const TWritable &writable)
{
    const auto mayWrite = [&writable](const QString &path) {
        return writable ? writable(path) : QFileInfo(path).isWritable();
    };
    const QString beside = QDir(programDir).filePath(fileName);
    const QFileInfo besideInfo(beside);
    // The file is rewritten through a temporary file and a rename, so the
    // folder must be writable as well as the file.
    const bool folderWritable = QFileInfo(programDir).isDir() && mayWrite(programDir);
    TSettingsLocation where;
    if (besideInfo.exists() ? besideInfo.isFile() && mayWrite(beside) && folderWritable : folderWritable) {
        where.file = beside;
        return where;
    }
    where.file = QDir(configDir).filePath(fileName);
    where.besideProgram = false;
    if (besideInfo.isFile())
        where.defaults = beside;
    return where;
}

QString TSettingsLocation::UserConfigDir()
{
    // Honours XDG_CONFIG_HOME; ~/.config otherwise.
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::home().filePath(QStringLiteral(".config"));
    return QDir(base).filePath(QStringLiteral("Tuvanta"));
}

TSettingsLocation TSettingsLocation::ForProgram(const QString &fileName)
{
    return Choose(ProgramDir(), fileName, UserConfigDir());
}
