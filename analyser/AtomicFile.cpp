#include "analyser/AtomicFile.h"

#include "analyser/RespanaError.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace respana {

namespace {

class TTempFile
{
public:
    explicit TTempFile(const std::string &target)
    {
        std::string pattern = target + ".XXXXXX";
        FName.assign(pattern.begin(), pattern.end());
        FName.push_back('\0');
        FFd = ::mkstemp(FName.data());
    }
    ~TTempFile()
    {
        if (FFd >= 0)
            ::close(FFd);
        if (!FKept)
            ::unlink(FName.data());
    }
    TTempFile(const TTempFile &) = delete;
    TTempFile &operator=(const TTempFile &) = delete;

    bool isOpen() const { return FFd >= 0; }
    int fd() const { return FFd; }
    const char *name() const { return FName.data(); }
    int close()
    {
        const int rc = ::close(FFd);
        FFd = -1;
        return rc;
    }
    void keep() { FKept = true; }

private:
    std::vector<char> FName;
    int FFd = -1;
    bool FKept = false;
};

} // namespace

void writeFileAtomically(const std::string &fileName, std::string_view content)
{
    TTempFile temp(fileName);
    if (!temp.isOpen())
        throw TRespanaError("Could not open file " + fileName);

    // mkstemp creates the file for its owner only; the result is an ordinary
    // file that the set-up program (and others the umask allows) may read.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(temp.fd(), 0666 & ~mask);

    const char *p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(temp.fd(), p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw TRespanaError("could not write " + fileName + ": " + std::strerror(errno));
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (temp.close() != 0)
        throw TRespanaError("could not write " + fileName + ": " + std::strerror(errno));
    if (std::rename(temp.name(), fileName.c_str()) != 0)
        throw TRespanaError("Could not open file " + fileName);
    temp.keep();
}

} // namespace respana
