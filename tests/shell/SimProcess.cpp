#include "SimProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

TSimProcess::~TSimProcess()
{
    Stop();
}

QString TSimProcess::BinDir()
{
    return QStringLiteral(TUVANTA_BIN_DIR);
}

bool TSimProcess::Available()
{
    const QDir bin(BinDir());
    return QFileInfo::exists(bin.filePath("ampsim")) && QFileInfo::exists(bin.filePath("Sample.ad0"))
           && QFileInfo::exists(bin.filePath("defdb-tool"));
}

bool TSimProcess::Start(const QStringList &axes, int baud, QString *why)
{
    QStringList args = {"--link", Link(), "--control", dir.filePath("ctl"), "--db",
                        QDir(BinDir()).filePath("Sample.ad0"), "--baud", QString::number(baud),
                        "--no-stdin", "--still"};
    for (const QString &a : axes)
        args << "--axis" << a;
    process.setProgram(QDir(BinDir()).filePath("ampsim"));
    process.setArguments(args);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start();
    if (!process.waitForStarted(5000)) {
        *why = QStringLiteral("ampsim does not start: ") + process.errorString();
        return false;
    }
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    while (!out.contains("ampsim: ready") && clock.elapsed() < 10000) {
        if (process.state() != QProcess::Running) {
            *why = QStringLiteral("ampsim ended: ") + QString::fromLocal8Bit(process.readAllStandardError());
            return false;
        }
        process.waitForReadyRead(100);
        out += process.readAllStandardOutput();
    }
    if (!out.contains("ampsim: ready")) {
        *why = QStringLiteral("ampsim is not ready: ") + QString::fromLocal8Bit(out);
        return false;
    }
    return true;
}

void TSimProcess::Stop()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

QString TSimProcess::Control(const QString &command)
{
    QLocalSocket socket;
    socket.connectToServer(dir.filePath("ctl"));
    if (!socket.waitForConnected(3000))
        return QStringLiteral("error no control socket");
    socket.write(command.toUtf8() + '\n');
    socket.waitForBytesWritten(3000);
    QByteArray reply;
    QElapsedTimer clock;
    clock.start();
    while (!reply.contains('\n') && clock.elapsed() < 5000) {
        socket.waitForReadyRead(100);
        reply += socket.readAll();
    }
    return QString::fromUtf8(reply).section(QLatin1Char('\n'), 0, 0).trimmed();
}

QString TSimProcess::Ok(const QString &command)
{
    const QString reply = Control(command);
    if (!reply.startsWith(QLatin1String("ok")))
        qWarning("ampsim: %s -> %s", qPrintable(command), qPrintable(reply));
    return reply.mid(2).trimmed();
}

QList<int> TSimProcess::KnownCodes()
{
    static QList<int> codes;
    if (!codes.isEmpty())
        return codes;
    QProcess dump;
    dump.start(QDir(BinDir()).filePath("defdb-tool"),
               {"dump", QDir(BinDir()).filePath("Sample.ad0"), "0_AMPLIFIER.cds"});
    dump.waitForFinished(10000);
    const QStringList lines = QString::fromUtf8(dump.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return codes;
    const int column = int(lines.first().split(',').indexOf("CODE"));
    for (int i = 1; i < lines.size() && column >= 0; ++i) {
        bool ok = false;
        const int code = lines[i].split(',').value(column).toInt(&ok);
        if (ok)
            codes << code;
    }
    return codes;
}

int TSimProcess::UnknownCode()
{
    int code = 0xE999; // the code the sample database leaves unknown
    while (KnownCodes().contains(code))
        ++code;
    return code;
}
