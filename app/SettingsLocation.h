#pragma once

#include <QString>

#include <functional>

// Where the settings file of a program lives. A copy of the program in a
// folder the user may write (the build folder, a portable copy on a stick)
// keeps its file beside the program, as it always did. An installed program
// cannot write there: its settings go to the user's configuration folder
// (XDG: $XDG_CONFIG_HOME, else ~/.config, then "Tuvanta/"), and a settings
// file that lies beside it read-only only supplies the defaults of keys the
// user's file does not have (how a package sets the database name).
struct TSettingsLocation
{
    // The file that is read at start and written at the end.
    QString file;
    // Read-only defaults beside the program; empty when there is none or
    // when it is the settings file itself.
    QString defaults;
    // True when the file is the one beside the program.
    bool besideProgram = true;

    // The choice for a program folder and a settings name ("Tuvanta.ini"):
    // the file beside the program when it exists and may be rewritten, or
    // when it does not exist and the folder may be written; otherwise the
    // file of that name in configDir. writable tells whether this user may
    // write a file or folder (empty: ask the file system).
    using TWritable = std::function<bool(const QString &path)>;
    static TSettingsLocation Choose(const QString &programDir, const QString &fileName,
                                    const QString &configDir, const TWritable &writable = {});

    // The running program's choice for fileName ("Tuvanta.ini"): beside the
    // running program or under the user's configuration folder. tuvanta-cli
    // asks the same question to find Tuvanta's settings.
    static TSettingsLocation ForProgram(const QString &fileName);

    // The user's configuration folder for Tuvanta ($XDG_CONFIG_HOME/Tuvanta).
    static QString UserConfigDir();
};
