// libgsf (through gio) uses "signals" as a name, so it comes before Qt.
#include <gsf/gsf.h>

#include "defdb/StgManager.h"


#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void EnsureGsf()
{
    static const bool done = [] {
        gsf_init();
        return true;
    }();
    (void)done;
}

GsfInfile *AsInfile(void *p) { return static_cast<GsfInfile *>(p); }

// The child of a storage by name, letter case ignored; a new reference.
GsfInput *Child(GsfInfile *storage, const QString &name)
{
    const int n = gsf_infile_num_children(storage);
    for (int i = 0; i < n; ++i) {
        const char *childName = gsf_infile_name_by_index(storage, i);
        if (childName && QString::fromUtf8(childName).compare(name, Qt::CaseInsensitive) == 0)
            return gsf_infile_child_by_index(storage, i);
    }
    return nullptr;
}

bool IsStorage(GsfInput *input)
{
    return GSF_IS_INFILE(input) && gsf_infile_num_children(GSF_INFILE(input)) >= 0;
}

void Collect(GsfInfile *storage, const QString &prefix, const QString &name, QStringList &out, int depth)
{
    if (depth > 32)
        return;
    const int n = gsf_infile_num_children(storage);
    for (int i = 0; i < n; ++i) {
        const char *raw = gsf_infile_name_by_index(storage, i);
        if (!raw)
            continue;
        const QString childName = QString::fromUtf8(raw);
        GsfInput *child = gsf_infile_child_by_index(storage, i);
        if (!child)
            continue;
        const QString path = prefix.isEmpty() ? childName : prefix + QLatin1Char('\\') + childName;
        if (IsStorage(child))
            Collect(GSF_INFILE(child), path, name, out, depth + 1);
        else if (childName.compare(name, Qt::CaseInsensitive) == 0)
            out.append(path);
        g_object_unref(child);
    }
}

QStringList Names(GsfInfile *storage, bool storages)
{
    QStringList out;
    if (!storage)
        return out;
    const int n = gsf_infile_num_children(storage);
    for (int i = 0; i < n; ++i) {
        GsfInput *child = gsf_infile_child_by_index(storage, i);
        if (!child)
            continue;
        if (IsStorage(child) == storages)
            out.append(QString::fromUtf8(gsf_infile_name_by_index(storage, i)));
        g_object_unref(child);
    }
    return out;
}

} // namespace

TStgManager::TStgManager() = default;

TStgManager::~TStgManager()
{
    CloseRoot();
}

bool TStgManager::OpenRoot(const QString &name, TAccess access, QString *error)
{
    CloseRoot();
    EnsureGsf();
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(name, why);
        CloseRoot();
        return false;
    };
    const QByteArray path = name.toLocal8Bit();
    const bool exclusive = access == TAccess::Exclusive;
    int fd = ::open(path.constData(), (exclusive ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    // The storages are never written; read-write is only the way to hold
    // them exclusively. A copy the user may not write (an installed program)
    // is read and held with a shared lock instead: a holder of the exclusive
    // lock still keeps it out, and the users of one installation can all run.
    bool sharedLock = false;
    if (fd < 0 && exclusive && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        sharedLock = true;
    }
    if (fd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    lockFd = fd;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return fail(QStringLiteral("not a file"));
    if (exclusive && ::flock(fd, (sharedLock ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0)
        return fail(errno == EWOULDBLOCK ? QStringLiteral("in use by another program")
                                         : QString::fromLocal8Bit(std::strerror(errno)));
    // libgsf reads through its own stream on the same open file.
    const int readFd = ::dup(fd);
    FILE *file = readFd >= 0 ? ::fdopen(readFd, "rb") : nullptr;
    if (!file) {
        if (readFd >= 0)
            ::close(readFd);
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
    GsfInput *input = gsf_input_stdio_new_FILE(path.constData(), file, FALSE);
    if (!input) {
        std::fclose(file);
        return fail(QStringLiteral("cannot be read"));
    }
    GError *gerr = nullptr;
    GsfInfile *infile = gsf_infile_msole_new(input, &gerr);
    g_object_unref(input);
    if (!infile) {
        const QString why = gerr ? QString::fromUtf8(gerr->message) : QStringLiteral("not a compound file");
        if (gerr)
            g_error_free(gerr);
        return fail(QStringLiteral("not a compound file (%1)").arg(why));
    }
    root = infile;
    g_object_ref(infile);
    current = infile;
    fileName = name;
    return true;
}

bool TStgManager::OpenStorage(const QString &storagePath)
{
    if (!root)
        return false;
    CloseStream();
    GsfInfile *at = AsInfile(storagePath.startsWith(QLatin1Char('\\')) ? root : current);
    g_object_ref(at);
    for (const QString &part : storagePath.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        GsfInput *child = Child(at, part);
        g_object_unref(at);
        if (!child)
            return false;
        if (!IsStorage(child)) {
            g_object_unref(child);
            return false;
        }
        at = GSF_INFILE(child);
    }
    g_object_unref(AsInfile(current));
    current = at;
    return true;
}

QStringList TStgManager::FindStreams(const QString &name) const
{
    QStringList out;
    if (current)
        Collect(AsInfile(current), QString(), name, out, 0);
    return out;
}

bool TStgManager::OpenStream(const QString &name)
{
    CloseStream();
    if (!current)
        return false;
    GsfInput *child = Child(AsInfile(current), name);
    if (!child)
        return false;
    if (IsStorage(child)) {
        g_object_unref(child);
        return false;
    }
    stream = child;
    return true;
}

bool TStgManager::ReadStream(QByteArray &content, QString *error)
{
    content.clear();
    if (!stream) {
        if (error)
            *error = QStringLiteral("no stream open");
        return false;
    }
    GsfInput *in = static_cast<GsfInput *>(stream);
    const gsf_off_t size = gsf_input_size(in);
    // A stream cannot be larger than its file: a stated size beyond it is a
    // broken directory entry, not a reason to allocate.
    struct stat st;
    if (size < 0 || (lockFd >= 0 && ::fstat(lockFd, &st) == 0 && size > st.st_size) || size > (gsf_off_t(1) << 30)) {
        if (error)
            *error = QStringLiteral("stream size %1 is not plausible").arg(qint64(size));
        return false;
    }
    if (gsf_input_seek(in, 0, G_SEEK_SET)) {
        if (error)
            *error = QStringLiteral("cannot seek in the stream");
        return false;
    }
    content.resize(qsizetype(size));
    gsf_off_t done = 0;
    while (done < size) {
        const size_t chunk = size_t(std::min<gsf_off_t>(size - done, 65536));
        if (!gsf_input_read(in, chunk, reinterpret_cast<guint8 *>(content.data()) + done)) {
            content.clear();
            if (error)
                *error = QStringLiteral("stream ends before its stated size");
            return false;
        }
        done += gsf_off_t(chunk);
    }
    return true;
}

QStringList TStgManager::StreamNames() const
{
    return Names(AsInfile(current), false);
}

QStringList TStgManager::StorageNames() const
{
    return Names(AsInfile(current), true);
}

void TStgManager::CloseStream()
{
    if (stream) {
        g_object_unref(static_cast<GsfInput *>(stream));
        stream = nullptr;
    }
}

void TStgManager::CloseStorage()
{
    CloseStream();
    if (current && current != root) {
        g_object_unref(AsInfile(current));
        g_object_ref(AsInfile(root));
        current = root;
    }
}

void TStgManager::CloseRoot()
{
    CloseStream();
    if (current) {
        g_object_unref(AsInfile(current));
        current = nullptr;
    }
    if (root) {
        g_object_unref(AsInfile(root));
        root = nullptr;
    }
    if (lockFd >= 0) {
        ::close(lockFd); // releases the lock
        lockFd = -1;
    }
    fileName.clear();
}

bool TStgManager::RootOpen() const
{
    return root != nullptr;
}

bool TStgManager::StreamOpen() const
{
    return stream != nullptr;
}
