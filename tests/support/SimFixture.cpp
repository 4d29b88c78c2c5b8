#include "SimFixture.h"

#include <QDir>

#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

void TSimFixture::SetUp()
{
    TSampleDatabase::SetUp();
    ASSERT_TRUE(dir.isValid());
    env = std::make_unique<TDMEnvironment>(dir.filePath(QStringLiteral("Tuvanta.ini")));
    env->Japanese = true;

    std::string error;
    ASSERT_TRUE(simDatabase.Open(SampleDatabasePath().toStdString(), &error)) << error;
    line.SetLayoutSource([this](uint32_t code) { return simDatabase.Layout(code); });
    line.SetBaud(57600);
    const int64_t now = TSimServer::Now();
    for (const TAxis &a : Axes())
        line.AddAxis(a.number, uint32_t(a.code), now);

    TSimServer::TConfig config;
    config.link = dir.filePath(QStringLiteral("tty")).toStdString();
    config.control = dir.filePath(QStringLiteral("control")).toStdString();
    server = std::make_unique<TSimServer>(line, config);
    ASSERT_TRUE(server->Start(&error)) << error;
    serverThread = std::thread([this] { server->Run(); });

    control = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, config.control.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::connect(control, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);

    engine.SetDevicePath(QString::fromStdString(config.link));
    engine.OpenPort(57600, 1);
    ASSERT_TRUE(engine.PortOpen()) << engine.LastOpenError().toStdString();
    engine.SetRts(true);
    for (const TAxis &a : Axes())
        env->SetAmpCode(a.number, a.code);
    tran = std::make_unique<TDMTran>(*env, &engine);
    ctx = std::make_unique<TAppContext>(TAppContext{*env, intf, dmMain, *tran, nullptr, nullptr, nullptr, nullptr});
    ctx->firstAxisInUse = [this] {
        for (int axis = 1; axis <= 15; ++axis)
            if (env->AxisInUse(axis))
                return axis;
        wentOffline = true;
        return 0;
    };
    ctx->online = [this] { return !wentOffline; };
}

void TSimFixture::TearDown()
{
    engine.ClosePort();
    if (control >= 0)
        ::close(control);
    if (server) {
        server->Stop();
        if (serverThread.joinable())
            serverThread.join();
    }
    tran.reset();
}

std::string TSimFixture::Control(const std::string &command)
{
    const std::string lineText = command + "\n";
    if (::write(control, lineText.data(), lineText.size()) != ssize_t(lineText.size()))
        return std::string();
    for (;;) {
        const size_t nl = controlBuffer.find('\n');
        if (nl != std::string::npos) {
            std::string reply = controlBuffer.substr(0, nl);
            controlBuffer.erase(0, nl + 1);
            if (reply.rfind("ok", 0) == 0)
                return reply.size() > 3 ? reply.substr(3) : std::string();
            ADD_FAILURE() << command << ": " << reply;
            return std::string();
        }
        pollfd p{control, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0)
            return std::string();
        char buf[4096];
        const ssize_t n = ::read(control, buf, sizeof buf);
        if (n <= 0)
            return std::string();
        controlBuffer.append(buf, size_t(n));
    }
}

QByteArray TSimFixture::Peek(int axis, int address, int count)
{
    const std::string hex = Control("peek " + QString::number(axis, 16).toStdString() + " "
                                    + QString::number(address, 16).toStdString() + " " + std::to_string(count));
    return QByteArray::fromHex(QByteArray::fromStdString(hex));
}

void TSimFixture::Poke(int axis, int address, const QByteArray &bytes)
{
    Control("poke " + QString::number(axis, 16).toStdString() + " " + QString::number(address, 16).toStdString() + " "
            + bytes.toHex().toUpper().toStdString());
}

quint32 TSimFixture::PeekValue(int axis, int address, int length)
{
    const QByteArray b = Peek(axis, address, length);
    quint32 v = 0;
    for (int i = b.size() - 1; i >= 0; --i)
        v = (v << 8) | quint8(b[i]);
    return v;
}
