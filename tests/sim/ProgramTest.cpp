#include "SimProcess.h"

#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool IsLink(const std::string &path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool Exists(const std::string &path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0;
}

std::string Target(const std::string &link)
{
    char buf[512];
    const ssize_t n = readlink(link.c_str(), buf, sizeof buf);
    return n > 0 ? std::string(buf, size_t(n)) : std::string();
}

class SimProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(access(TSimProcess::Program().c_str(), X_OK), 0) << "build the ampsim target first";
        link = dir.filePath("ttyAMP").toStdString();
        socket = dir.filePath("ctl").toStdString();
    }
    bool StartSim(std::vector<std::string> extra = {})
    {
        std::vector<std::string> args = {"--link", link, "--control", socket, "--no-db", "--axis", "1=12A",
                                         "--axis", "2=1F0", "--axis", "F=ABCDEF"};
        args.insert(args.end(), extra.begin(), extra.end());
        return sim.Start(args) && control.Connect(socket);
    }

    QTemporaryDir dir;
    std::string link;
    std::string socket;
    TSimProcess sim;
    TControlClient control;
};

TEST_F(SimProgramTest, HelpDescribesCommandLineAndControlChannel)
{
    std::string out, err;
    EXPECT_EQ(TSimProcess::Run({"--help"}, &out, &err), 0);
    for (const char *word : {"--link PATH", "--db FILE.ad0", "--axis N=CODE", "--baud RATE", "--line-time",
                             "--control SOCKET", "fault N|* NAME", "failfirst", "pull", "plug", "alarm N CODE"})
        EXPECT_NE(out.find(word), std::string::npos) << word;
}

struct TBadArgs {
    std::vector<std::string> args;
    const char *message;
};

class SimBadCommandLineTest : public ::testing::TestWithParam<TBadArgs>
{
};

TEST_P(SimBadCommandLineTest, IsRefusedWithAReason)
{
    std::string out, err;
    EXPECT_EQ(TSimProcess::Run(GetParam().args, &out, &err), 2);
    EXPECT_NE(err.find(GetParam().message), std::string::npos) << err;
}

INSTANTIATE_TEST_SUITE_P(
    Args, SimBadCommandLineTest,
    ::testing::Values(TBadArgs{{"--axis", "1=12A"}, "--link PATH is required"},
                      TBadArgs{{"--link", "/tmp/x", "--axis", "0=12A"}, "--axis takes N=CODE"},
                      TBadArgs{{"--link", "/tmp/x", "--axis", "1=1000000"}, "--axis takes N=CODE"},
                      TBadArgs{{"--link", "/tmp/x", "--axis", "1=1", "--axis", "1=2"}, "given twice"},
                      TBadArgs{{"--link", "/tmp/x", "--baud", "fast"}, "--baud takes"},
                      TBadArgs{{"--link", "/tmp/x", "--frobnicate"}, "unknown option --frobnicate"},
                      TBadArgs{{"--link", "/tmp/x", "--no-db"}, "no axis given"}));

TEST_F(SimProgramTest, ServesRawBytesThroughTheLinkAndCleansUpOnSigterm)
{
    ASSERT_TRUE(StartSim());
    ASSERT_TRUE(IsLink(link));
    EXPECT_EQ(Target(link).rfind("/dev/pts/", 0), 0u);
    TPortPeer port;
    ASSERT_TRUE(port.Open(link));
    EXPECT_EQ(port.Command(1, "H0"), "000012A");
    EXPECT_EQ(port.Command(2, "H0"), "00001F0");
    EXPECT_EQ(port.Command(15, "H0"), "0ABCDEF");
    EXPECT_EQ(port.Command(1, "PF80001234"), "F80001234");
    EXPECT_EQ(port.Command(1, "RF8000"), "34120000");
    EXPECT_EQ(control.Ask("line").substr(0, 27), "ok speed=9600 data=8 stop=2");
    EXPECT_EQ(control.Ask("peek 1 F8000 2"), "ok 3412");

    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(), 0);
    EXPECT_FALSE(Exists(link));
    EXPECT_FALSE(Exists(socket));
}

TEST_F(SimProgramTest, FaultsThroughTheSocketWhileServing)
{
    ASSERT_TRUE(StartSim());
    TPortPeer port;
    ASSERT_TRUE(port.Open(link));
    EXPECT_EQ(control.Ask("fault 2 silent"), "ok");
    EXPECT_EQ(port.Command(2, "H0"), "<fail poll>");
    EXPECT_EQ(port.Command(1, "H0"), "000012A");
    EXPECT_EQ(control.Ask("fault 2 none"), "ok");
    EXPECT_EQ(control.Ask("fault 1 badcheck"), "ok");
    EXPECT_EQ(port.Command(1, "H0"), "<fail check>");
    EXPECT_EQ(port.Command(2, "H0"), "00001F0");
    EXPECT_EQ(control.Ask("stats 1").substr(0, 20), "ok polls=2 frames=2 ");
    EXPECT_EQ(control.Ask("quit"), "ok bye");
    EXPECT_EQ(sim.Wait(), 0);
    EXPECT_FALSE(Exists(link));
}

TEST_F(SimProgramTest, CablePullHangsUpAndPlugOpensANewPair)
{
    ASSERT_TRUE(StartSim());
    TPortPeer port;
    ASSERT_TRUE(port.Open(link));
    EXPECT_EQ(port.Command(1, "H0"), "000012A");
    const std::string before = Target(link);

    EXPECT_EQ(control.Ask("pull").substr(0, 2), "ok");
    EXPECT_EQ(control.Ask("cable"), "ok pulled");
    pollfd p{port.Fd(), POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 2000), 1);
    EXPECT_TRUE(p.revents & POLLHUP);
    char c;
    EXPECT_LE(read(port.Fd(), &c, 1), 0);
    EXPECT_FALSE(Exists(link)); // a pulled cable: nothing to open
    TPortPeer none;
    EXPECT_FALSE(none.Open(link));
    EXPECT_EQ(control.Ask("pull"), "error the cable is already pulled");

    EXPECT_EQ(control.Ask("plug").substr(0, 2), "ok");
    ASSERT_TRUE(IsLink(link));
    port.Close();
    ASSERT_TRUE(port.Open(link));
    EXPECT_EQ(port.Command(1, "H0"), "000012A");
    EXPECT_EQ(control.Ask("cable"), "ok plugged");
    (void)before;
}

TEST_F(SimProgramTest, ClosingAndReopeningThePortNeedsNoPlug)
{
    ASSERT_TRUE(StartSim());
    for (int i = 0; i < 3; ++i) {
        TPortPeer port;
        ASSERT_TRUE(port.Open(link));
        EXPECT_EQ(port.Command(1, "H0"), "000012A") << i;
    }
}

TEST_F(SimProgramTest, LineTimeMakesATransactionTakeTheLinesTime)
{
    ASSERT_TRUE(StartSim({"--line-time", "--baud", "1200", "--turnaround", "0"}));
    TPortPeer port;
    ASSERT_TRUE(port.Open(link));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.Command(1, "MF8000"), "0000000000000000");
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    // 35 characters of 10 ms at 1200 bit/s; only the lower bound is firm.
    EXPECT_GE(ms, 340);
    EXPECT_LT(ms, 5000);
}

TEST_F(SimProgramTest, AnExistingFileAtTheLinkPathIsNotReplaced)
{
    {
        std::ofstream f(link);
        f << "keep me";
    }
    std::string out, err;
    EXPECT_EQ(TSimProcess::Run({"--link", link, "--no-db", "--axis", "1=1"}, &out, &err), 1);
    EXPECT_NE(err.find("not a symbolic link"), std::string::npos) << err;
    std::ifstream f(link);
    std::string text;
    std::getline(f, text);
    EXPECT_EQ(text, "keep me");
}

TEST_F(SimProgramTest, ConfigFileAndStandardInputTakeControlCommands)
{
    const std::string config = dir.filePath("sim.cfg").toStdString();
    {
        std::ofstream f(config);
        f << "# start with a silent axis 2\nfault 2 silent\n\nop 1 W01 2\n";
    }
    ASSERT_TRUE(sim.Start({"--link", link, "--no-db", "--axis", "1=12A", "--axis", "2=12A", "--config", config,
                           "--stdin"}));
    TPortPeer port;
    ASSERT_TRUE(port.Open(link));
    EXPECT_EQ(port.Command(2, "H0"), "<fail poll>");
    EXPECT_EQ(port.Command(1, "W01"), "00000002");
    sim.WriteStdin("faults 2\n");
    EXPECT_EQ(sim.ReadLine(), "ok silent");
    sim.WriteStdin("fault 2 none\n");
    EXPECT_EQ(sim.ReadLine(), "ok");
    EXPECT_EQ(port.Command(2, "H0"), "000012A");
    sim.CloseStdin(); // the end of standard input does not end the program
    EXPECT_EQ(port.Command(2, "H0"), "000012A");
    sim.Signal(SIGINT);
    EXPECT_EQ(sim.Wait(), 0);
    EXPECT_FALSE(Exists(link));
}

TEST_F(SimProgramTest, ABadConfigLineStopsTheStart)
{
    const std::string config = dir.filePath("bad.cfg").toStdString();
    {
        std::ofstream f(config);
        f << "fault 1 silent\nfault 1 sideways\n";
    }
    std::string out, err;
    EXPECT_EQ(TSimProcess::Run({"--link", link, "--no-db", "--axis", "1=1", "--config", config}, &out, &err), 2);
    EXPECT_NE(err.find("bad.cfg:2: error unknown fault sideways"), std::string::npos) << err;
    EXPECT_FALSE(Exists(link));
}
} // namespace
