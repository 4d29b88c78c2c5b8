#pragma once

#include <QString>

// Paths that users type into the settings file or that lie beside the
// program. Configured paths follow the old Windows habit: "C:\..." and
// "\\server\..." are absolute, everything else hangs off the program's folder.

// True when the path is absolute: characters 2 and 3 are ":\" or it starts
// with "\\". Outside Windows a leading "/" is absolute as well.
bool IsAbsolutePath(const QString &path);

// The configured path as a file that can be opened: absolute paths unchanged,
// relative ones under baseDir (the program's folder when baseDir is empty).
// An empty path stays empty (an empty setting means "not configured").
// Outside Windows the backslashes of a relative path become "/", so that
// "tools\Respana" written on a Windows machine still finds its file.
QString ExpandPath(const QString &path, const QString &baseDir = QString());

// The folder of the running program (no trailing separator).
QString ProgramDir();

// path with the extension of its last component replaced by ext (given
// without the dot); a name without extension gets ext appended.
// "bin/Tuvanta.exe" -> "bin/Tuvanta.ini", "bin.d/Tuvanta" -> "bin.d/Tuvanta.ini".
QString ChangeFileExt(const QString &path, const QString &ext);

// The running program's path with its extension replaced by ext: the name of
// every file that lies beside the program and is named after it.
QString ProgramFileWithExt(const QString &ext);
