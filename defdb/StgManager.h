#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// One compound (structured-storage) file of the definition database, read
// through libgsf. The root is opened once and stays open until CloseRoot;
// exclusive access is an advisory lock (flock) held on the file meanwhile.
// Storage paths are "\"-separated; a leading "\" starts at the root.
class TStgManager
{
public:
    enum class TAccess {
        Exclusive, // read-write, flock(LOCK_EX): the set-up program's way; a file
                   // the user may not write: read-only, flock(LOCK_SH)
        Shared,    // read-only, no lock: tools and the simulator
    };

    TStgManager();
    ~TStgManager();
    TStgManager(const TStgManager &) = delete;
    TStgManager &operator=(const TStgManager &) = delete;

    // Opens the file; the root becomes the current storage. False when the
    // file is missing, is no compound file, or cannot be opened with the
    // access asked for (another holder of the lock). *error says why.
    bool OpenRoot(const QString &fileName, TAccess access = TAccess::Exclusive, QString *error = nullptr);
    // Makes the storage at the path the current storage.
    bool OpenStorage(const QString &path);
    // Paths (relative to the current storage, "\"-separated) of every stream
    // below it whose last name is name (letter case ignored, as compound
    // files do).
    QStringList FindStreams(const QString &name) const;
    // Opens the named stream directly in the current storage.
    bool OpenStream(const QString &name);
    // The open stream's whole content; false when it cannot be read fully.
    bool ReadStream(QByteArray &content, QString *error = nullptr);
    // Names of the streams and storages directly in the current storage.
    QStringList StreamNames() const;
    QStringList StorageNames() const;

    void CloseStream();
    void CloseStorage(); // back to the root
    void CloseRoot();

    bool RootOpen() const;
    bool StreamOpen() const;
    QString FileName() const { return fileName; }

private:
    void *root = nullptr;    // GsfInfile*
    void *current = nullptr; // GsfInfile*, owned reference
    void *stream = nullptr;  // GsfInput*
    int lockFd = -1;
    QString fileName;
};
