#include "app/cli/Cli.h"
#include "support/PtyPeer.h"

#include <gtest/gtest.h>

#include <QString>
#include <QTextStream>

namespace {

// An amplifier whose memory byte at address a is a & 0xFF.
QByteArray MemoryAnswer(const QByteArray &command)
{
    const char letter = command.isEmpty() ? 0 : command[0];
    if (command == "H0")
        return "0ABCDEF";
    if (letter == 'R' || letter == 'M') {
        const uint32_t address = command.mid(1, 5).toUInt(nullptr, 16);
        QByteArray a;
        for (int i = 0; i < (letter == 'R' ? 4 : 8); ++i)
            a += QByteArray::number((address + i) & 0xFF, 16).rightJustified(2, '0').toUpper();
        return a;
    }
    if (letter == 'O' || letter == 'P' || letter == 'Q' || letter == 'Y' || letter == 'Z')
        return command.mid(1);
    if (letter == 'W')
        return "00000007";
    if (letter == 'L')
        return "02000010";
    return "?";
}

struct CliRun {
    int status;
    QString out;
    QString err;
    std::vector<QByteArray> commands;
    std::vector<uint8_t> polls;
};

// Runs the command line against a peer; "PTY" in an argument stands for the
// peer's device.
CliRun RunCli(QStringList args, TPeerHandler handler = TPtyPeer::Amplifier(MemoryAnswer))
{
    TPtyPeer peer;
    peer.Start(handler);
    for (QString &a : args)
        a.replace(QLatin1String("PTY"), peer.SlavePath());
    CliRun run;
    QTextStream out(&run.out), err(&run.err);
    run.status = TCli(out, err).Run(args);
    out.flush();
    err.flush();
    peer.Stop();
    for (const TPeerEvent &e : peer.Events()) {
        if (e.kind == TPeerEvent::Frame)
            run.commands.push_back(e.text);
        if (e.kind == TPeerEvent::Poll)
            run.polls.push_back(e.address);
    }
    return run;
}

QStringList Args(const char *line)
{
    return QString::fromLatin1(line).split(' ', Qt::SkipEmptyParts);
}

struct CliCase {
    const char *name;
    const char *args; // after "--device PTY --baud 57600"
    int status;
    const char *out;
    std::vector<QByteArray> commands;
};

void PrintTo(const CliCase &c, std::ostream *os)
{
    *os << c.args;
}

} // namespace

class CliCommands : public ::testing::TestWithParam<CliCase> {};

TEST_P(CliCommands, OutputAndCommandsSent)
{
    const CliCase &c = GetParam();
    const CliRun run = RunCli(Args("--device PTY --baud 57600") + Args(c.args));
    EXPECT_EQ(run.status, c.status) << run.err.toStdString();
    EXPECT_EQ(run.out, QString::fromLatin1(c.out));
    EXPECT_EQ(run.commands, c.commands);
    if (c.status == 0) {
        EXPECT_TRUE(run.err.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliCommands,
    ::testing::Values(
        CliCase{"Identify", "identify 3", 0, "ABCDEF\n", {"H0"}},
        CliCase{"ReadDefaultsToEightBytes", "read 3 F84A4", 0, "A4 A5 A6 A7 A8 A9 AA AB\n", {"MF84A4"}},
        CliCase{"ReadOneByte", "read 3 0x100 1", 0, "00\n", {"R00100"}},
        CliCase{"ReadFiveBytesWithTwoR", "read 3 100 5", 0, "00 01 02 03 04\n", {"R00100", "R00104"}},
        CliCase{"ReadThirteenBytes", "read 3 1F0 13", 0, "F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC\n",
                {"M001F0", "R001F8", "R001FC"}},
        CliCase{"ReadSixteenBytes", "read 3 0 16", 0, "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\n",
                {"M00000", "M00008"}},
        CliCase{"ReadUpToTheLastAddress", "read 3 FFFFC 4", 0, "FC FD FE FF\n", {"RFFFFC"}},
        CliCase{"WriteByte", "write 3 F84A4 0x1f --length 1", 0, "", {"OF84A41F"}},
        CliCase{"WriteNegativeByte", "write 3 F84A4 -1 --length 1", 0, "", {"OF84A4FF"}},
        CliCase{"WriteWord", "write 3 100 0x1234 --length 2", 0, "", {"P001001234"}},
        CliCase{"WriteWordDecimal", "write 3 100 --length=2 4660", 0, "", {"P001001234"}},
        CliCase{"WriteLongNegative", "write 3 100 -2 --length 4", 0, "", {"Q00100FFFFFFFE"}},
        CliCase{"WriteWorkWord", "write 3 100 258 --length 2 --work", 0, "", {"Y001000102"}},
        CliCase{"WriteWorkLong", "--work write 3 100 0x80000001 --length 4", 0, "", {"Z0010080000001"}},
        CliCase{"OperationCommand", "command 3 W01", 0, "7\n", {"W01"}},
        CliCase{"OperationCommandLowerCase", "command 3 wa4", 0, "7\n", {"WA4"}},
        CliCase{"TraceCommand", "command 3 L00", 0, "2 16\n", {"L00"}}),
    [](const ::testing::TestParamInfo<CliCase> &info) { return std::string(info.param.name); });

TEST(Cli, AxisZeroPollsAddressNinety)
{
    const CliRun run = RunCli(Args("--device PTY --baud 57600 identify 0"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.polls, std::vector<uint8_t>{0x90});
    const CliRun runF = RunCli(Args("--device PTY --baud 57600 identify f"));
    EXPECT_EQ(runF.polls, std::vector<uint8_t>{0x9F});
}

class CliUsage : public ::testing::TestWithParam<const char *> {};

TEST_P(CliUsage, ExitsWith64AndOneLineBeforeTouchingTheLine)
{
    const CliRun run = RunCli(Args(GetParam()));
    EXPECT_EQ(run.status, TCli::ExitUsage);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith(QLatin1String("tuvanta-cli: ")));
    EXPECT_TRUE(run.polls.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, CliUsage,
                         ::testing::Values("", "--device PTY", "--device PTY frobnicate 1",
                                           "--device PTY identify", "--device PTY identify 1 2",
                                           "--device PTY identify G", "--device PTY identify 10",
                                           "--device PTY identify -1", "--device PTY --port 2 identify 1",
                                           "--device PTY --baud 1234 identify 1", "--device PTY --baud",
                                           "--device PTY --port 0 identify 1", "--device PTY --colour identify 1",
                                           "--device PTY read 1", "--device PTY read 1 100000",
                                           "--device PTY read 1 XYZ", "--device PTY read 1 100 0",
                                           "--device PTY read 1 100 8x", "--device PTY read 1 FFFFC 5",
                                           "--device PTY write 1 100 5", "--device PTY write 1 100 5 --length 3",
                                           "--device PTY write 1 100 256 --length 1",
                                           "--device PTY write 1 100 -129 --length 1",
                                           "--device PTY write 1 100 0x10000 --length 2",
                                           "--device PTY write 1 100 abc --length 2",
                                           "--device PTY write 1 100 0x --length 2",
                                           "--device PTY write 1 100 5 --length 1 --work",
                                           "--device PTY identify 1 --length 2", "--device PTY command 1 H0",
                                           "--device PTY command 1 W1", "--device PTY command 1 WXY",
                                           "--device PTY command 1 W001"));

TEST(Cli, HelpDocumentsTheCommandsAndExitStatus)
{
    const CliRun run = RunCli(Args("--help"));
    EXPECT_EQ(run.status, 0);
    for (const char *word : {"identify", "read", "write", "command", "--device", "--port", "--baud", "--length",
                             "--work", "64", "69"})
        EXPECT_TRUE(run.out.contains(QLatin1String(word))) << word;
}

TEST(Cli, APortThatCannotBeOpenedExitsWith69)
{
    const CliRun run = RunCli(Args("--device /nonexistent/tty identify 1"));
    EXPECT_EQ(run.status, TCli::ExitNoPort);
    EXPECT_EQ(run.err.count('\n'), 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("/nonexistent/tty")));
}

struct FailureCase {
    const char *name;
    TPeerHandler peer;
    int status;
};

class CliFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CliFailures, ExitWithTheEngineResult)
{
    const CliRun run = RunCli(Args("--device PTY --baud 57600 read 1 100 16"), GetParam().peer);
    if (!GetParam().peer) { // silent: the axis in the message is upper case
        const CliRun onA = RunCli(Args("--device PTY --baud 57600 identify a"), GetParam().peer);
        EXPECT_TRUE(onA.err.contains(QLatin1String("(axis #A)"))) << onA.err.toStdString();
    }
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_TRUE(run.out.isEmpty()) << "a partial read is not printed";
    EXPECT_EQ(run.err.count('\n'), 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("(axis #1)"))) << run.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Results, CliFailures,
    ::testing::Values(
        FailureCase{"CommError", TPtyPeer::Amplifier([](const QByteArray &) { return QByteArray("12"); }), 1},
        FailureCase{"Nak", TPtyPeer::Sequence({{QByteArray(1, 0x15)}}), 2},
        FailureCase{"Timeout", TPeerHandler(), 3},
        // The first read succeeds, the second is not answered.
        FailureCase{"SecondReadTimesOut",
                    [](const TPeerEvent &e) -> TPeerReply {
                        static const TPeerHandler amp = TPtyPeer::Amplifier(MemoryAnswer);
                        if (e.kind == TPeerEvent::Poll && e.kindIndex > 0)
                            return {};
                        return amp(e);
                    },
                    3}),
    [](const ::testing::TestParamInfo<FailureCase> &info) { return std::string(info.param.name); });

namespace {

// --stats prints what the engine counted, after the command and on the error
// output only; it does not change the command's own output or status.
TEST(CliStats, PrintedAfterTheCommand)
{
    const CliRun plain = RunCli(Args("--device PTY --baud 57600 identify 3"));
    const CliRun stats = RunCli(Args("--device PTY --baud 57600 --stats identify 3"));
    EXPECT_EQ(stats.status, 0);
    EXPECT_EQ(stats.out, plain.out);
    EXPECT_FALSE(plain.err.contains(QStringLiteral("line statistics")));
    EXPECT_TRUE(stats.err.contains(QStringLiteral("line statistics")));
    EXPECT_TRUE(stats.err.contains(QStringLiteral("  #3 1 0 1 0 0 0\n"))) << stats.err.toStdString();

    const CliRun silent = RunCli(Args("--device PTY --baud 57600 --stats identify 3"), TPeerHandler());
    EXPECT_EQ(silent.status, 3);
    EXPECT_TRUE(silent.err.contains(QStringLiteral("  #3 1 1 5 0 5 0\n"))) << silent.err.toStdString();
    EXPECT_EQ(RunCli(Args("--device PTY --stats=1 identify 3")).status, TCli::ExitUsage);
}

} // namespace
