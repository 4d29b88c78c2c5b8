#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <memory>

class TCliSession;

// An option of a command: --name, with a value or as a flag.
struct TCliOption {
    QString name; // without the dashes
    bool takesValue = false;
};

class TCliRun;
struct TParameterReport;

// Writes the parameter report as PDF; the program sets it (the report lives
// in the UI library). False with the reason in *error on failure.
using TCliReportWriter = std::function<bool(const TParameterReport &, const QString &path, QString *error)>;
void SetCliReportWriter(TCliReportWriter writer);

struct TMachineResult;
// Renders a frequency response as the system-analysis window draws it, into
// a PNG file; set by the program like the report writer.
using TCliBodeWriter = std::function<bool(const TMachineResult &, const QString &path, QString *error)>;
void SetCliBodeWriter(TCliBodeWriter writer);

// A command of tuvanta-cli that works through a data module (monitor,
// alarms, trace, ...). Each lives in its own file and is listed once in
// CliCommands.cpp; the command line, help text and exit codes stay in TCli.
struct TCliCommand {
    QString name;
    // Lines for --help, already indented like the built-in commands.
    QString help;
    QList<TCliOption> options;
    // Whether --yes and --db apply (they always parse; elsewhere a usage error).
    bool takesYes = false;
    std::function<int(TCliRun &)> run;
};

// The commands beyond the built-in line commands, in help order.
const QList<TCliCommand> &CliCommands();

// What a command gets: its arguments and options, the output streams, and
// the way to open the line with the program's modules on it.
class TCliRun
{
public:
    TCliRun(QTextStream &out, QTextStream &err) : out(out), err(err) {}

    QStringList args;              // positional arguments after the command
    QHash<QString, QString> values; // options given (flags with an empty value)
    bool yes = false;
    bool stats = false;
    QString db;     // --db, empty: the program's database
    QString device; // --device, empty: the port rule
    int port = 1;
    int baud = 9600;
    QTextStream &out;
    QTextStream &err;

    bool Has(const QString &option) const { return values.contains(option); }
    QString Value(const QString &option, const QString &otherwise = QString()) const
    {
        return values.value(option, otherwise);
    }

    // A usage error: one line on the error output, exit status 64.
    int Usage(const QString &problem);
    // One hex digit 1 to F; false: the caller reports a usage error.
    static bool ParseAxis(const QString &text, int &axis);

    // Opens the line and the definition database, builds the modules a
    // window would have (settings in a throw-away file, main tables,
    // transaction layer, shared context, messenger and progress on the
    // error output), identifies the axis with H0 and refuses a model the
    // database does not know. nullptr with status set (and said) on failure.
    std::unique_ptr<TCliSession> Open(int axis, int &status, bool requireKnownModel = true);
    // The same modules without the line (for work on files alone).
    std::unique_ptr<TCliSession> OpenDatabase(int &status);

private:
    // The definition database; false (status set, reason said) when broken.
    bool OpenDefinitions(TCliSession &s, int &status);
    // Settings, main tables and transaction layer over the session's line.
    void MakeModules(TCliSession &s);
};
