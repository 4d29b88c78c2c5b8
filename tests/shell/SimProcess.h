#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The simulator ampsim as the far side of the line, started from the build's
// bin folder with the sample database, a link in a folder of its own and a
// control socket.
class TSimProcess
{
public:
    TSimProcess() = default;
    ~TSimProcess();

    static QString BinDir();
    // True when the simulator and the sample database have been built.
    static bool Available();

    // axes: "N=CODE" in hex as ampsim takes them. False with why on failure.
    bool Start(const QStringList &axes, int baud, QString *why);
    void Stop();

    QString Link() const { return dir.filePath(QStringLiteral("line")); }
    // One control command and its reply line ("ok ..." or "error ...").
    QString Control(const QString &command);
    // Control() that must answer "ok"; returns the rest of the reply.
    QString Ok(const QString &command);

    // The codes of the sample database's AMPLIFIER table (from defdb-tool),
    // and one that none of its rows has.
    static QList<int> KnownCodes();
    static int UnknownCode();
    static QString Hex(int code) { return QStringLiteral("%1").arg(code, 6, 16, QLatin1Char('0')).toUpper(); }

private:
    QTemporaryDir dir;
    QProcess process;
};
