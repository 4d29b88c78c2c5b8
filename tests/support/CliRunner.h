#pragma once

#include "SampleDatabase.h"

#include "app/cli/Cli.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

// tuvanta-cli with its output caught, on the simulator's line at 57600 bit/s
// and the sample database, as a script would run it.
struct TCliResult {
    int status = 0;
    QString out, err;
};

// line: the command's words, split at spaces; argument (when given) maps
// each word first (a test's "@name" to a file in its folder).
inline TCliResult RunCli(const QString &device, const QString &line,
                         const std::function<QString(const QString &)> &argument = {})
{
    QStringList args = {QStringLiteral("--device"), device, QStringLiteral("--baud"), QStringLiteral("57600"),
                        QStringLiteral("--db"), SampleDatabasePath()};
    for (const QString &word : line.split(u' ', Qt::SkipEmptyParts))
        args << (argument ? argument(word) : word);
    TCliResult r;
    QTextStream out(&r.out), err(&r.err);
    r.status = TCli(out, err).Run(args);
    out.flush();
    err.flush();
    return r;
}
