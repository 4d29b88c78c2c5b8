#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <cstdint>

class TTranAmp;

// The command line of tuvanta-cli: parses the arguments, opens the line,
// performs one command through the protocol engine and prints the outcome.
// The transfers (save, load) go through the same data module as the
// transfer window. Exit status: 0 success, the engine's result code on
// failure (1 communication error, 2 NAK, 3 time-out), 64 usage error, 65
// parameter file cannot be read, 67 transfer refused or not confirmed, 69
// port cannot be opened, 73 file cannot be written, 78 definition database
// cannot be opened. Needs a QCoreApplication.
class TCli
{
public:
    static constexpr int ExitOk = 0;
    static constexpr int ExitUsage = 64;
    static constexpr int ExitBadFile = 65;
    static constexpr int ExitRefused = 67;
    static constexpr int ExitNoPort = 69;
    static constexpr int ExitCannotWrite = 73;
    static constexpr int ExitNoDatabase = 78;
    static constexpr int DefaultBaud = 9600;
    static constexpr int DefaultPort = 1;

    TCli(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}

    // args without the program name.
    int Run(const QStringList &args);

    static QString HelpText();
    // The definition database of a run: --db when given, else [Database]
    // Name of Tuvanta.ini beside the program, else Sample.ad0 there.
    static QString DatabasePath(const QString &db);
    // What the engine counted per axis (--stats), on the error output.
    static void PrintStats(QTextStream &err, const TTranAmp &amp);
    // "tuvanta-cli: cannot open DEVICE: ..." with the reason in plain words
    // (the group to join for a device the user may not open).
    static void SayOpenFailure(QTextStream &err, const TTranAmp &amp);

private:
    struct TOptions {
        QString device;
        int port = DefaultPort;
        bool portGiven = false;
        int baud = DefaultBaud;
        int length = 0;
        bool work = false;
        bool help = false;
        bool version = false;
        QString db;
        QString kinds;
        bool kindsGiven = false;
        bool yes = false;
        bool stats = false;
        QStringList positional;
        // Options of the commands in CliCommands(), by name.
        QHash<QString, QString> extra;
    };

    int Usage(const QString &problem);
    bool ParseOptions(const QStringList &args, TOptions &o, QString &problem);
    int Fail(int result, int axis);
    int Identify(TTranAmp &amp, int axis);
    int Read(TTranAmp &amp, int axis, uint32_t address, int count);
    int Write(TTranAmp &amp, int axis, uint32_t address, int64_t value, int length, bool work);
    int Command(TTranAmp &amp, int axis, char letter, uint8_t code);
    // save and load: open the session (which refuses a model the database
    // does not know), then the transfer module.
    int Transfer(const TOptions &o, bool save, int axis, const QString &file, int kinds);
    bool OpenLine(TTranAmp &amp, const TOptions &o);
    // Whether a new file can be put at this name; the reason when not.
    static bool CanWrite(const QString &file, QString &problem);
    QString DatabasePath(const TOptions &o) const { return DatabasePath(o.db); }
    int RunCommand(const struct TCliCommand &command, const TOptions &o);

    QTextStream &m_out;
    QTextStream &m_err;
};
