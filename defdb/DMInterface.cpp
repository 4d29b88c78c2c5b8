#include "defdb/DMInterface.h"

#include "defdb/DataSet.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

TDMInterface *g_instance = nullptr;

void Diagnose(const QString &text)
{
    std::fprintf(stderr, "defdb: %s\n", text.toLocal8Bit().constData());
}

} // namespace

TDMInterface::TDMInterface(const QString &basePath, TStgManager::TAccess access)
{
    for (auto &s : storages)
        s = std::make_unique<TStgManager>();
    CloseAll();
    for (int n = 0; n < StorageCount && !broken; ++n) {
        const QString path = StoragePath(basePath, n);
        TStgManager &stg = *storages[size_t(n)];
        QString why;
        const QFileInfo info(path);
        if (!info.exists()) {
            why = QStringLiteral("%1: no such file").arg(path);
        } else if (!info.isFile()) {
            why = QStringLiteral("%1: not a file").arg(path);
        } else if (!stg.OpenRoot(path, access, &why)) {
            // why says it
        } else if (!stg.OpenStorage(QStringLiteral("\\cds"))) {
            why = QStringLiteral("%1: no storage \"cds\"").arg(path);
        }
        if (!why.isEmpty()) {
            broken = true;
            brokenReason = why;
        }
    }
    previousInstance = g_instance;
    g_instance = this;
}

TDMInterface::~TDMInterface()
{
    CloseAll();
    if (g_instance == this)
        g_instance = previousInstance;
}

TDMInterface *TDMInterface::Instance()
{
    return g_instance;
}

void TDMInterface::CloseAll()
{
    for (auto &s : storages)
        if (s)
            s->CloseRoot();
}

QString TDMInterface::BasePath(const QString &programDir, const QString &databaseName)
{
    // An empty name leaves the directory itself, which is no storage file.
    return databaseName.isEmpty() ? programDir : QDir(programDir).filePath(databaseName);
}

QString TDMInterface::StoragePath(const QString &basePath, int storage)
{
    if (storage == 0)
        return basePath;
    // The extension is whatever follows the last dot of the file name part.
    const qsizetype slash = basePath.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = basePath.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash ? basePath.left(dot) : basePath;
    return stem + QStringLiteral(".ad%1").arg(storage);
}

bool TDMInterface::LoadTable(TDataSet &table, const QString &streamName)
{
    if (streamName.size() < 2 || streamName[1] != QLatin1Char('_') || streamName[0] < QLatin1Char('0')
        || streamName[0] > QLatin1Char('3'))
        return false;
    TStgManager &stg = *storages[size_t(streamName[0].unicode() - '0')];
    if (!stg.RootOpen())
        return false;
    // The stream is expected directly in "cds"; one found deeper is not it.
    if (stg.FindStreams(streamName).isEmpty() || !stg.OpenStream(streamName))
        return false;
    QByteArray content;
    QString error;
    const bool read = stg.ReadStream(content, &error);
    stg.CloseStream();
    if (!read || !table.LoadFromBytes(content, &error)) {
        Diagnose(QStringLiteral("%1 in %2: %3").arg(streamName, stg.FileName(), error));
        return false;
    }
    return true;
}
