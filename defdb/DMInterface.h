#pragma once

#include "defdb/StgManager.h"

#include <QString>
#include <array>
#include <memory>

class TDataSet;

// The definition-database loader: opens the four storage files once and
// loads tables from them on demand.
//
//     TDMInterface intf(TDMInterface::BasePath(programDir, "Sample.ad0"));
//     if (intf.DatabaseBroken()) ...;
//     TDataSet amp;
//     intf.LoadTable(amp, "1_AMP_PARA.cds");
//
// Plain programs (tools, the simulator) open with TStgManager::TAccess::Shared,
// which takes no lock and reads only, so they may run beside the set-up program.
class TDMInterface
{
public:
    static constexpr int StorageCount = 4;

    // basePath: path of storage 0; the others have its extension replaced
    // by ".ad1", ".ad2", ".ad3". Opens all four at once.
    explicit TDMInterface(const QString &basePath,
                          TStgManager::TAccess access = TStgManager::TAccess::Exclusive);
    ~TDMInterface();
    TDMInterface(const TDMInterface &) = delete;
    TDMInterface &operator=(const TDMInterface &) = delete;

    // The program's directory followed by the [Database] Name setting.
    static QString BasePath(const QString &programDir, const QString &databaseName);
    // Path of storage n (0..3) for a base path.
    static QString StoragePath(const QString &basePath, int storage);

    // True when any of the four storages failed to open.
    bool DatabaseBroken() const { return broken; }
    // Why, for the error output ("" when not broken).
    QString BrokenReason() const { return brokenReason; }

    // Loads the stream (e.g. "1_AMP_PARA.cds") into the table, replacing its
    // content, and opens it. False when the prefix is not "0_".."3_", the
    // storage is not open, the stream is missing from "cds" (the table
    // stays as it was), or the stream is malformed (a diagnostic goes to the
    // error output; the table stays as it was).
    bool LoadTable(TDataSet &table, const QString &streamName);

    // The storage manager of storage n, for tools.
    TStgManager &Storage(int n) { return *storages[size_t(n)]; }

    // The loader the program created at start-up (the latest one alive), or
    // nullptr. Data modules use it to load their tables.
    static TDMInterface *Instance();

private:
    void CloseAll();

    std::array<std::unique_ptr<TStgManager>, StorageCount> storages;
    bool broken = false;
    QString brokenReason;
    TDMInterface *previousInstance = nullptr;
};
