#include "app/cli/Cli.h"

#include "ZnLibs/PathUtils.h"
#include "app/DMEnvironment.h"
#include "app/IniDocument.h"
#include "app/SettingsLocation.h"
#include "app/Messenger.h"
#include "comm/Comm.h"
#include "comm/DMTran.h"
#include "comm/OpenProblem.h"
#include "comm/TranAmp.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"
#include "params/DMLoadSave.h"
#include "app/cli/CliCommand.h"
#include "app/cli/CliSession.h"
#include "app/cli/CliSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace {

const int Rates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600};
constexpr uint32_t MaxAddress = 0xFFFFF;

bool ParseDecimal(const QString &s, int64_t &v)
{
    bool ok = false;
    v = s.toLongLong(&ok, 10);
    return ok && !s.startsWith('+');
}

bool ParseAxis(const QString &s, int &axis)
{
    bool ok = false;
    axis = s.toInt(&ok, 16);
    return ok && s.size() == 1;
}

bool ParseAddress(QString s, uint32_t &address)
{
    if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        s = s.mid(2);
    if (s.isEmpty() || s.size() > 5)
        return false;
    for (QChar c : s)
        if (!isxdigit(c.toLatin1()))
            return false;
    address = s.toUInt(nullptr, 16);
    return true;
}

// Decimal (a minus sign allowed) or 0x-hex.
bool ParseValue(const QString &s, int64_t &v)
{
    if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digits = s.mid(2);
        if (digits.isEmpty() || digits.size() > 8)
            return false;
        for (QChar c : digits)
            if (!isxdigit(c.toLatin1()))
                return false;
        v = int64_t(digits.toULongLong(nullptr, 16));
        return true;
    }
    if (s.isEmpty())
        return false;
    for (int i = 0; i < s.size(); ++i)
        if (!s[i].isDigit() && !(i == 0 && s[i] == '-' && s.size() > 1))
            return false;
    return ParseDecimal(s, v);
}

// The options every command that opens a session shares.
template <typename TOpts>
void TakeLineOptions(TCliRun &run, const TOpts &o)
{
    run.yes = o.yes;
    run.stats = o.stats;
    run.db = o.db;
    run.device = o.device;
    run.port = o.port;
    run.baud = o.baud;
}

QString Hex2(uint8_t b)
{
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
}

// "general,system,motor" to TDMLoadSave kinds; 0 for a word it does not know.
int ParseKinds(const QString &text)
{
    int kinds = 0;
    for (const QString &word : text.split(u',')) {
        const QString w = word.trimmed().toLower();
        if (w == QLatin1String("general"))
            kinds |= TDMLoadSave::kdGeneral;
        else if (w == QLatin1String("system"))
            kinds |= TDMLoadSave::kdSystem;
        else if (w == QLatin1String("motor"))
            kinds |= TDMLoadSave::kdMotor;
        else
            return 0;
    }
    return kinds;
}

} // namespace

QString TCli::HelpText()
{
    QString text = QStringLiteral(
        "Usage: tuvanta-cli [--device PATH | --port N] [--baud RATE] COMMAND ARGUMENTS\n"
        "\n"
        "Talks to one servo amplifier on the serial line.\n"
        "\n"
        "Commands:\n"
        "  identify AXIS                 print the amplifier code (six hex digits)\n"
        "  read AXIS ADDRESS [COUNT]     print COUNT bytes (default 8) from ADDRESS in\n"
        "                                address order as hex pairs\n"
        "  write AXIS ADDRESS VALUE --length 1|2|4 [--work]\n"
        "                                write VALUE (decimal or 0x-hex) with O, P or Q;\n"
        "                                --work writes into the working area with Y or Z\n"
        "                                (lengths 2 and 4)\n"
        "  command AXIS CODE             send an operation command (W01, W31, L00, ...);\n"
        "                                prints a W value in decimal, an L answer as \"S N\"\n"
        "  save AXIS FILE.ap0            read the axis's whole parameter area into a new\n"
        "                                parameter file\n"
        "  load FILE.ap0 AXIS [--kinds general,system,motor] [--yes]\n"
        "                                write the parameters of the kinds (default general)\n"
        "                                from the file into the axis, each within the\n"
        "                                amplifier's range; a file of another software\n"
        "                                version of the same model group needs --yes\n"
        "%COMMANDS%"
        "\n"
        "AXIS is one hex digit 0 to F (0 sends the address byte 0x90); ADDRESS is hex,\n"
        "at most FFFFF (a 0x prefix is allowed).\n"
        "\n"
        "Options:\n"
        "  --device PATH   serial device to open (for example /dev/ttyUSB0, a simulator link)\n"
        "  --port N        port number N opens /dev/ttyS(N-1); default 1\n"
        "  --baud RATE     1200, 2400, 4800, 9600, 19200, 38400 or 57600; default 9600\n"
        "  --length L      byte count of a write: 1, 2 or 4\n"
        "  --work          write into the working area (Y, Z)\n"
        "  --db FILE.ad0   definition database of save and load; default [Database] Name\n"
        "                  of Tuvanta's settings (Tuvanta.ini beside the program, or\n"
        "                  ~/.config/Tuvanta/Tuvanta.ini for an installed program),\n"
        "                  else Sample.ad0 beside the program\n"
        "  --kinds LIST    parameter kinds of load: general, system, motor (comma-separated)\n"
        "  --yes           answer the questions of load (and of the commands that move\n"
        "                  a motor or write) with yes\n"
        "  --stats         print the line statistics (transactions, tries, NAKs,\n"
        "                  time-outs, check errors per axis) after the command\n"
        "  --help          this text\n"
        "  --version       the program's version\n"
        "\n"
        "Exit status: 0 success, 1 communication error, 2 NAK (the axis number is\n"
        "duplicated), 3 time-out, 64 usage error, 65 the parameter file cannot be read,\n"
        "67 the transfer was refused or not confirmed, 69 the port cannot be opened,\n"
        "73 the file cannot be written, 78 the definition database cannot be opened.\n"
        "Progress of save and load goes to the error output.\n");
    QString commands;
    for (const TCliCommand &c : CliCommands())
        commands += c.help;
    return text.replace(QStringLiteral("%COMMANDS%"), commands);
}

int TCli::Usage(const QString &problem)
{
    m_err << "tuvanta-cli: " << problem << " (see --help)\n";
    m_err.flush();
    return ExitUsage;
}

bool TCli::ParseOptions(const QStringList &args, TOptions &o, QString &problem)
{
    bool optionsEnd = false;
    for (int i = 0; i < args.size(); ++i) {
        QString a = args[i];
        // "-5" is a value, not an option.
        const bool isOption = !optionsEnd && a.startsWith('-') && a.size() > 1 && !a[1].isDigit();
        if (!isOption) {
            o.positional << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        QString value;
        bool inlineValue = false;
        const int eq = a.indexOf('=');
        if (a.startsWith(QLatin1String("--")) && eq > 0) {
            value = a.mid(eq + 1);
            a = a.left(eq);
            inlineValue = true;
        }
        auto takeValue = [&](QString &out) {
            if (inlineValue) {
                out = value;
                return true;
            }
            if (i + 1 >= args.size()) {
                problem = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            out = args[++i];
            return true;
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (a == QLatin1String("--version")) {
            o.version = true;
        } else if (a == QLatin1String("--work")) {
            if (inlineValue) {
                problem = QStringLiteral("--work takes no value");
                return false;
            }
            o.work = true;
        } else if (a == QLatin1String("--stats")) {
            if (inlineValue) {
                problem = QStringLiteral("--stats takes no value");
                return false;
            }
            o.stats = true;
        } else if (a == QLatin1String("--yes")) {
            if (inlineValue) {
                problem = QStringLiteral("--yes takes no value");
                return false;
            }
            o.yes = true;
        } else if (a == QLatin1String("--db")) {
            if (!takeValue(o.db))
                return false;
            if (o.db.isEmpty()) {
                problem = QStringLiteral("--db needs a file");
                return false;
            }
        } else if (a == QLatin1String("--kinds")) {
            if (!takeValue(o.kinds))
                return false;
            if (ParseKinds(o.kinds) == 0) {
                problem = QStringLiteral("bad kinds \"%1\" (general, system, motor)").arg(o.kinds);
                return false;
            }
            o.kindsGiven = true;
        } else if (a == QLatin1String("--device")) {
            if (!takeValue(o.device))
                return false;
            if (o.device.isEmpty()) {
                problem = QStringLiteral("--device needs a path");
                return false;
            }
        } else if (a == QLatin1String("--port")) {
            QString v;
            int64_t n;
            if (!takeValue(v))
                return false;
            if (!ParseDecimal(v, n) || n < 1 || n > 255) {
                problem = QStringLiteral("bad port number \"%1\" (1 to 255)").arg(v);
                return false;
            }
            o.port = int(n);
            o.portGiven = true;
        } else if (a == QLatin1String("--baud")) {
            QString v;
            int64_t n;
            if (!takeValue(v))
                return false;
            if (!ParseDecimal(v, n) || std::find(std::begin(Rates), std::end(Rates), n) == std::end(Rates)) {
                problem = QStringLiteral("bad bit rate \"%1\"").arg(v);
                return false;
            }
            o.baud = int(n);
        } else if (a == QLatin1String("--length")) {
            QString v;
            int64_t n;
            if (!takeValue(v))
                return false;
            if (!ParseDecimal(v, n) || (n != 1 && n != 2 && n != 4)) {
                problem = QStringLiteral("bad length \"%1\" (1, 2 or 4)").arg(v);
                return false;
            }
            o.length = int(n);
        } else {
            // An option of one of the data-module commands; whether it
            // belongs to the command given is checked when it runs.
            // A single letter after one dash ("-o") names a one-letter option.
            const bool shortForm = !a.startsWith(QLatin1String("--")) && a.size() == 2;
            const QString name = shortForm ? a.mid(1) : a.mid(2);
            const TCliOption *known = nullptr;
            for (const TCliCommand &c : CliCommands())
                for (const TCliOption &opt : c.options)
                    if ((shortForm || a.startsWith(QLatin1String("--"))) && opt.name == name)
                        known = &opt;
            if (!known) {
                problem = QStringLiteral("unknown option %1").arg(a);
                return false;
            }
            QString v;
            if (known->takesValue) {
                if (!takeValue(v))
                    return false;
            } else if (inlineValue) {
                problem = QStringLiteral("%1 takes no value").arg(a);
                return false;
            }
            o.extra.insert(name, v);
        }
    }
    if (!o.device.isEmpty() && o.portGiven) {
        problem = QStringLiteral("--device and --port exclude each other");
        return false;
    }
    return true;
}

void TCli::SayOpenFailure(QTextStream &err, const TTranAmp &amp)
{
    const int code = amp.LastOpenErrorCode();
    if (code > 0)
        err << "tuvanta-cli: " << TOpenProblem(amp.DeviceName(), code).PlainText() << "\n";
    else
        err << "tuvanta-cli: cannot open " << amp.DeviceName() << ": " << amp.LastOpenError() << "\n";
    err.flush();
}

// Opens the port as the options name it and raises RTS; says why on failure.
bool TCli::OpenLine(TTranAmp &amp, const TOptions &o)
{
    if (!o.device.isEmpty())
        amp.SetDevicePath(o.device);
    amp.OpenPort(o.baud, uint8_t(o.port));
    if (!amp.PortOpen()) {
        SayOpenFailure(m_err, amp);
        return false;
    }
    amp.SetRts(true);
    return true;
}

int TCli::Run(const QStringList &args)
{
    TOptions o;
    QString problem;
    if (!ParseOptions(args, o, problem))
        return Usage(problem);
    if (o.help) {
        m_out << HelpText();
        m_out.flush();
        return ExitOk;
    }
    if (o.version) {
        m_out << "tuvanta-cli " << TUVANTA_VERSION << "\n";
        m_out.flush();
        return ExitOk;
    }
    if (o.positional.isEmpty())
        return Usage(QStringLiteral("no command given"));

    const QString command = o.positional[0];
    const QStringList p = o.positional.mid(1);
    for (const TCliCommand &c : CliCommands())
        if (c.name == command)
            return RunCommand(c, o);
    if (!o.extra.isEmpty())
        return Usage(QStringLiteral("--%1 does not belong to %2").arg(o.extra.keys().first(), command));
    int axis = 0;
    uint32_t address = 0;
    int count = 8;
    int64_t value = 0;
    char letter = 0;
    uint8_t code = 0;

    auto needArgs = [&](int min, int max) { return p.size() >= min && p.size() <= max; };
    if (command != QLatin1String("write") && (o.length || o.work))
        return Usage(QStringLiteral("--length and --work belong to write"));
    const bool save = command == QLatin1String("save"), load = command == QLatin1String("load");
    if (!load && (o.kindsGiven || o.yes))
        return Usage(QStringLiteral("--kinds and --yes belong to load"));
    if (!save && !load && !o.db.isEmpty())
        return Usage(QStringLiteral("--db belongs to save and load"));
    if (save || load) {
        if (!needArgs(2, 2))
            return Usage(save ? QStringLiteral("save takes AXIS FILE.ap0") : QStringLiteral("load takes FILE.ap0 AXIS"));
        const QString axisText = save ? p[0] : p[1];
        const QString file = save ? p[1] : p[0];
        if (!ParseAxis(axisText, axis) || axis < 1)
            return Usage(QStringLiteral("bad axis \"%1\" (one hex digit 1 to F)").arg(axisText));
        if (QFileInfo(file).suffix() != QLatin1String("ap0"))
            return Usage(QStringLiteral("the parameter file \"%1\" needs the extension .ap0").arg(file));
        const int kinds = o.kindsGiven ? ParseKinds(o.kinds) : int(TDMLoadSave::kdGeneral);
        if (load) {
            const QFileInfo info(file);
            if (!info.exists() && !info.isSymLink()) {
                m_err << "tuvanta-cli: " << file << ": no such file\n";
                m_err.flush();
                return ExitBadFile;
            }
            // A FIFO, a folder or a device (also behind a link) is no
            // parameter file; a FIFO would block the read for ever.
            if (!info.isFile()) {
                m_err << "tuvanta-cli: " << file << ": not a regular file\n";
                m_err.flush();
                return ExitBadFile;
            }
        } else {
            QString problem;
            if (!CanWrite(file, problem)) {
                m_err << "tuvanta-cli: cannot write " << file << ": " << problem << "\n";
                m_err.flush();
                return ExitCannotWrite;
            }
        }
        const int status = Transfer(o, save, axis, file, kinds);
        m_out.flush();
        m_err.flush();
        return status;
    }
    if (command == QLatin1String("identify")) {
        if (!needArgs(1, 1))
            return Usage(QStringLiteral("identify takes AXIS"));
    } else if (command == QLatin1String("read")) {
        if (!needArgs(2, 3))
            return Usage(QStringLiteral("read takes AXIS ADDRESS [COUNT]"));
    } else if (command == QLatin1String("write")) {
        if (!needArgs(3, 3))
            return Usage(QStringLiteral("write takes AXIS ADDRESS VALUE --length 1|2|4"));
    } else if (command == QLatin1String("command")) {
        if (!needArgs(2, 2))
            return Usage(QStringLiteral("command takes AXIS CODE"));
    } else {
        return Usage(QStringLiteral("unknown command \"%1\"").arg(command));
    }

    if (!ParseAxis(p[0], axis))
        return Usage(QStringLiteral("bad axis \"%1\" (one hex digit 0 to F)").arg(p[0]));
    if (command == QLatin1String("read") || command == QLatin1String("write")) {
        if (!ParseAddress(p[1], address))
            return Usage(QStringLiteral("bad address \"%1\" (hex, at most FFFFF)").arg(p[1]));
    }
    if (command == QLatin1String("read") && p.size() == 3) {
        int64_t n;
        if (!ParseDecimal(p[2], n) || n < 1 || n > int64_t(MaxAddress) + 1)
            return Usage(QStringLiteral("bad count \"%1\"").arg(p[2]));
        count = int(n);
    }
    if (command == QLatin1String("read") && uint64_t(address) + uint64_t(count) - 1 > MaxAddress)
        return Usage(QStringLiteral("the read runs past address FFFFF"));
    if (command == QLatin1String("write")) {
        if (!o.length)
            return Usage(QStringLiteral("write needs --length 1, 2 or 4"));
        if (o.work && o.length == 1)
            return Usage(QStringLiteral("--work writes 2 or 4 bytes"));
        if (!ParseValue(p[2], value))
            return Usage(QStringLiteral("bad value \"%1\" (decimal or 0x-hex)").arg(p[2]));
        const int bits = 8 * o.length;
        const int64_t lo = -(int64_t(1) << (bits - 1));
        const int64_t hi = (int64_t(1) << bits) - 1;
        if (value < lo || value > hi)
            return Usage(QStringLiteral("value %1 does not fit %2 byte(s)").arg(p[2]).arg(o.length));
    }
    if (command == QLatin1String("command")) {
        const QString c = p[1].toUpper();
        bool ok = false;
        code = uint8_t(c.mid(1).toUInt(&ok, 16));
        if (c.size() != 3 || (c[0] != 'W' && c[0] != 'L') || !ok || !isxdigit(c[1].toLatin1())
            || !isxdigit(c[2].toLatin1()))
            return Usage(QStringLiteral("bad operation code \"%1\" (W or L and two hex digits)").arg(p[1]));
        letter = c[0].toLatin1();
    }

    TTranAmp amp;
    if (!OpenLine(amp, o))
        return ExitNoPort;
    int status = ExitOk;
    if (command == QLatin1String("identify"))
        status = Identify(amp, axis);
    else if (command == QLatin1String("read"))
        status = Read(amp, axis, address, count);
    else if (command == QLatin1String("write"))
        status = Write(amp, axis, address, value, o.length, o.work);
    else
        status = Command(amp, axis, letter, code);
    if (o.stats)
        PrintStats(m_err, amp);
    amp.SetRts(false);
    amp.ClosePort();
    m_out.flush();
    m_err.flush();
    return status;
}

int TCli::Fail(int result, int axis)
{
    const QString where = QStringLiteral(" (axis #%1)").arg(QString::number(axis, 16).toUpper());
    switch (result) {
    case trNak: m_err << "tuvanta-cli: NAK: the axis number is duplicated" << where << "\n"; break;
    case trTimeout: m_err << "tuvanta-cli: communication time-out" << where << "\n"; break;
    default: m_err << "tuvanta-cli: communication error" << where << "\n"; break;
    }
    return result;
}

int TCli::Identify(TTranAmp &amp, int axis)
{
    int32_t code = 0;
    const TTranResult r = amp.CmdH0(axis, code);
    if (r != trOk)
        return Fail(r, axis);
    m_out << QStringLiteral("%1").arg(uint32_t(code), 6, 16, QLatin1Char('0')).toUpper() << "\n";
    return ExitOk;
}

// Eight-byte reads while at least eight remain, four-byte reads for the rest.
int TCli::Read(TTranAmp &amp, int axis, uint32_t address, int count)
{
    QStringList pairs;
    uint32_t at = address;
    int left = count;
    while (left > 0) {
        if (left >= 8) {
            std::array<uint8_t, 8> bytes{};
            const TTranResult r = amp.CmdM(axis, at, bytes);
            if (r != trOk)
                return Fail(r, axis);
            for (uint8_t b : bytes)
                pairs << Hex2(b);
            at += 8;
            left -= 8;
        } else {
            std::array<uint8_t, 4> bytes{};
            const TTranResult r = amp.CmdR(axis, at, bytes);
            if (r != trOk)
                return Fail(r, axis);
            const int take = std::min(left, 4);
            for (int i = 0; i < take; ++i)
                pairs << Hex2(bytes[size_t(i)]);
            at += uint32_t(take);
            left -= take;
        }
    }
    m_out << pairs.join(' ') << "\n";
    return ExitOk;
}

int TCli::Write(TTranAmp &amp, int axis, uint32_t address, int64_t value, int length, bool work)
{
    const uint32_t v = uint32_t(value);
    const uint8_t b3 = uint8_t(v >> 24), b2 = uint8_t(v >> 16), b1 = uint8_t(v >> 8), b0 = uint8_t(v);
    TTranResult r;
    if (length == 1)
        r = amp.CmdO(axis, address, b0);
    else if (length == 2)
        r = work ? amp.CmdY(axis, address, b1, b0) : amp.CmdP(axis, address, b1, b0);
    else
        r = work ? amp.CmdZ(axis, address, b3, b2, b1, b0) : amp.CmdQ(axis, address, b3, b2, b1, b0);
    return r == trOk ? ExitOk : Fail(r, axis);
}

int TCli::Command(TTranAmp &amp, int axis, char letter, uint8_t code)
{
    if (letter == 'W') {
        uint32_t value = 0;
        const TTranResult r = amp.CmdW(axis, code, value);
        if (r != trOk)
            return Fail(r, axis);
        m_out << value << "\n";
    } else {
        uint8_t s = 0;
        uint32_t n = 0;
        const TTranResult r = amp.CmdL(axis, code, s, n);
        if (r != trOk)
            return Fail(r, axis);
        m_out << int(s) << " " << n << "\n";
    }
    return ExitOk;
}

int TCli::RunCommand(const TCliCommand &command, const TOptions &o)
{
    for (auto it = o.extra.cbegin(); it != o.extra.cend(); ++it) {
        const bool mine = std::any_of(command.options.begin(), command.options.end(),
                                      [&](const TCliOption &opt) { return opt.name == it.key(); });
        if (!mine)
            return Usage(QStringLiteral("--%1 does not belong to %2").arg(it.key(), command.name));
    }
    if (o.yes && !command.takesYes)
        return Usage(QStringLiteral("--yes does not belong to %1").arg(command.name));
    if (o.length || o.work || o.kindsGiven)
        return Usage(QStringLiteral("--length, --work and --kinds do not belong to %1").arg(command.name));
    TCliRun run(m_out, m_err);
    TakeLineOptions(run, o);
    run.args = o.positional.mid(1);
    run.values = o.extra;
    const int status = command.run(run);
    m_out.flush();
    m_err.flush();
    return status;
}

void TCli::PrintStats(QTextStream &err, const TTranAmp &amp)
{
    const TLineStats &stats = amp.Stats();
    err << "line statistics: axis transactions failed tries naks timeouts check-errors\n";
    auto row = [&err](const QString &name, const TAxisLineStats &a) {
        err << "  " << name << " " << a.transactions << " " << a.failed << " " << a.tries << " " << a.naks << " "
            << a.timeouts << " " << a.checkErrors << "\n";
    };
    for (int axis = 0; axis < 16; ++axis)
        if (stats.axes[size_t(axis)].Any())
            row(QStringLiteral("#%1").arg(QString::number(axis, 16).toUpper()), stats.axes[size_t(axis)]);
    row(QStringLiteral("total"), stats.Total());
    if (stats.nestedRefused)
        err << "  nested transactions refused: " << stats.nestedRefused << "\n";
    err.flush();
}

QString TCli::DatabasePath(const QString &db)
{
    if (!db.isEmpty())
        return QFileInfo(db).absoluteFilePath();
    // Tuvanta's own settings file, wherever Tuvanta keeps it, then the
    // defaults an installed copy carries beside the program.
    const TSettingsLocation where = TSettingsLocation::ForProgram(QStringLiteral("Tuvanta.ini"));
    QString name;
    for (const QString &file : {where.file, where.defaults}) {
        TIniDocument ini;
        if (!file.isEmpty() && ini.Load(file))
            name = ini.Value(QStringLiteral("Database"), QStringLiteral("Name"));
        if (!name.isEmpty())
            break;
    }
    if (name.isEmpty())
        name = QStringLiteral("Sample.ad0");
    return TDMInterface::BasePath(ProgramDir(), name);
}

int TCli::Transfer(const TOptions &o, bool save, int axis, const QString &file, int kinds)
{
    TCliRun run(m_out, m_err);
    TakeLineOptions(run, o);
    int status = ExitOk;
    const std::unique_ptr<TCliSession> s = run.Open(axis, status);
    if (!s)
        return status;
    // The modules speak to a window in Japanese; here each failure gets one
    // English line of its own, after the progress line has ended.
    s->messenger.progress = &s->progress;
    s->messenger.hold = true;
    s->messenger.english.insert(
        QCoreApplication::translate("TDMLoadSave", "サーボアンプのソフトウェアバージョンが異なるため、転送できないパラメータがあります。\r\n転送しますか?"),
        QStringLiteral("the software versions of the file's and the amplifier's model differ, so some parameters "
                       "cannot be transferred; transfer the others?"));
    s->progress.titles.insert(QCoreApplication::translate("TDMLoadSave", "読み出し中"), QStringLiteral("reading"));
    s->progress.titles.insert(QCoreApplication::translate("TDMLoadSave", "書き込み中"), QStringLiteral("writing"));

    TDMLoadSave dm(*s->intf, *s->dmMain, *s->env, *s->tran);
    dm.SetProgress(&s->progress);
    dm.OpenTables();
    const QString where = QStringLiteral(" (axis #%1)").arg(QString::number(axis, 16).toUpper());
    auto say = [&](const QString &line) {
        s->progress.BreakLine();
        m_err << "tuvanta-cli: " << line << "\n";
        m_err.flush();
    };
    auto commFailure = [&]() {
        const int result = s->Failed();
        if (!s->amp.CtsOn())
            say(QStringLiteral("the communication cable is not connected") + where);
        else if (result == trTimeout)
            say(QStringLiteral("communication time-out") + where);
        else if (result == trNak)
            say(QStringLiteral("NAK: the axis number is duplicated") + where);
        else
            say(QStringLiteral("communication error") + where);
        return result;
    };

    if (save) {
        QString model;
        if (!dm.ReadAmpModelText(axis, model) && !s->env->AxisInUse(axis))
            return commFailure();
        if (!dm.TransferAmpToFile(axis, file, model)) {
            if (s->amp.lastFailure != trOk || !s->env->AxisInUse(axis))
                return commFailure();
            say(QStringLiteral("cannot write %1").arg(file));
            return ExitCannotWrite;
        }
        m_out << "saved " << file << "\n";
        return ExitOk;
    }

    const bool ok = dm.TransferFileToAmp(axis, file, kinds);
    switch (dm.LastOutcome()) {
    case TDMLoadSave::TOutcome::Unreadable: {
        const bool corrupt = std::any_of(s->messenger.held.begin(), s->messenger.held.end(),
                                         [](const auto &m) { return m.first == TMsgKind::Warning; });
        say(corrupt ? QStringLiteral("%1: not a valid parameter file").arg(file)
                    : QStringLiteral("%1: cannot be read").arg(file));
        return ExitBadFile;
    }
    case TDMLoadSave::TOutcome::Refused:
        say(QStringLiteral("the servo amplifier type of %1 differs from that of axis #%2: cannot transfer")
                .arg(file, QString::number(axis, 16).toUpper()));
        return ExitRefused;
    case TDMLoadSave::TOutcome::Declined:
        say(QStringLiteral("nothing transferred"));
        return ExitRefused;
    case TDMLoadSave::TOutcome::WriteFailed: return commFailure();
    case TDMLoadSave::TOutcome::Done: break;
    }
    if (!ok)
        return commFailure();
    m_out << "loaded " << file << ": " << dm.LastWritten() << " written, " << dm.LastSkipped() << " skipped\n";
    return ExitOk;
}

bool TCli::CanWrite(const QString &file, QString &problem)
{
    const QFileInfo info(file);
    if (info.exists() && !info.isFile()) {
        problem = QStringLiteral("not a regular file");
        return false;
    }
    // A probe in the target's folder: the file is written there through a
    // temporary file and a rename, so that folder must take a new file.
    QTemporaryFile probe(info.absoluteDir().filePath(QStringLiteral(".tuvanta-cli-XXXXXX")));
    if (!probe.open()) {
        problem = probe.errorString();
        return false;
    }
    return true;
}
