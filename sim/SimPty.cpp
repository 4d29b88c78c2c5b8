#include "sim/SimPty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {
void MakeRaw(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &t);
}

std::string ReadLink(const std::string &path)
{
    char buf[4096];
    const ssize_t n = readlink(path.c_str(), buf, sizeof buf - 1);
    if (n < 0)
        return {};
    return std::string(buf, size_t(n));
}

int SpeedValue(speed_t s)
{
    switch (s) {
    case B0: return 0;
    case B300: return 300;
    case B600: return 600;
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    default: return 0;
    }
}
} // namespace

TSimPty::~TSimPty()
{
    Close();
}

bool TSimPty::Open(const std::string &linkPath, std::string *error)
{
    auto fail = [&](const std::string &why) {
        if (error)
            *error = why;
        Close();
        return false;
    };
    Close();
    link = linkPath;
    struct stat st{};
    if (lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        link.clear();
        return fail(linkPath + " exists and is not a symbolic link; not replaced");
    }
    master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0)
        return fail(std::string("posix_openpt: ") + std::strerror(errno));
    if (grantpt(master) != 0 || unlockpt(master) != 0)
        return fail(std::string("grantpt/unlockpt: ") + std::strerror(errno));
    const char *name = ptsname(master);
    if (!name)
        return fail(std::string("ptsname: ") + std::strerror(errno));
    slaveName = name;
    slave = open(slaveName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave < 0)
        return fail("open " + slaveName + ": " + std::strerror(errno));
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    MakeRaw(master);
    MakeRaw(slave);

    // Re-point atomically: a program opening the link sees the old pair or
    // the new one, never nothing.
    const std::string temp = link + ".new" + std::to_string(getpid());
    unlink(temp.c_str());
    if (symlink(slaveName.c_str(), temp.c_str()) != 0)
        return fail("symlink " + temp + ": " + std::strerror(errno));
    if (rename(temp.c_str(), link.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        unlink(temp.c_str());
        return fail("rename to " + link + ": " + why);
    }
    return true;
}

void TSimPty::Close()
{
    if (!link.empty() && !slaveName.empty() && ReadLink(link) == slaveName)
        unlink(link.c_str());
    if (slave >= 0)
        close(slave);
    if (master >= 0)
        close(master);
    slave = master = -1;
    slaveName.clear();
}

int TSimPty::ProgramBaud() const
{
    termios t{};
    if (slave < 0 || tcgetattr(slave, &t) != 0)
        return 0;
    return SpeedValue(cfgetospeed(&t));
}

std::string TSimPty::LineSettings() const
{
    termios t{};
    if (slave < 0 || tcgetattr(slave, &t) != 0)
        return "closed";
    int bits = 8;
    switch (t.c_cflag & CSIZE) {
    case CS5: bits = 5; break;
    case CS6: bits = 6; break;
    case CS7: bits = 7; break;
    default: bits = 8; break;
    }
    return "speed=" + std::to_string(SpeedValue(cfgetospeed(&t))) + " data=" + std::to_string(bits) +
           " stop=" + ((t.c_cflag & CSTOPB) ? "2" : "1") + " slave=" + slaveName;
}
