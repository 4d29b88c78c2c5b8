// defdb-tool: builds, dumps and lists definition-database storages.
#include "CsvReader.h"
#include "DefSourceCompiler.h"
#include "defdb/DataSet.h"
#include "defdb/StgManager.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

void Out(const QString &s) { std::fputs(s.toUtf8().constData(), stdout); }
void Err(const QString &s) { std::fputs((s + QLatin1Char('\n')).toUtf8().constData(), stderr); }

int Usage()
{
    Err(QStringLiteral("usage:\n"
                       "  defdb-tool build SOURCE_DIR OUTPUT.ad0   compile CSV sources into OUTPUT.ad0 .. .ad3\n"
                       "  defdb-tool dump FILE STREAM              print one stream as CSV\n"
                       "  defdb-tool list FILE                     list the streams of a storage file"));
    return 2;
}

int Build(const QString &dir, const QString &output)
{
    TDefSourceCompiler compiler;
    const bool ok = compiler.Compile(dir);
    for (const QString &w : compiler.Warnings())
        Err(QStringLiteral("warning: ") + w);
    for (const QString &e : compiler.Errors())
        Err(QStringLiteral("error: ") + e);
    if (!ok)
        return 1;
    QString error;
    if (!compiler.Write(output, &error)) {
        Err(QStringLiteral("error: ") + error);
        return 1;
    }
    return 0;
}

bool OpenCds(TStgManager &stg, const QString &file)
{
    QString error;
    if (!stg.OpenRoot(file, TStgManager::TAccess::Shared, &error)) {
        Err(QStringLiteral("error: ") + error);
        return false;
    }
    if (!stg.OpenStorage(QStringLiteral("\\cds"))) {
        Err(QStringLiteral("error: %1: no storage \"cds\"").arg(file));
        return false;
    }
    return true;
}

int Dump(const QString &file, const QString &stream)
{
    TStgManager stg;
    if (!OpenCds(stg, file))
        return 1;
    if (!stg.OpenStream(stream)) {
        Err(QStringLiteral("error: %1: no stream %2 in \"cds\"").arg(file, stream));
        return 1;
    }
    QByteArray bytes;
    QString error;
    TDataSet table;
    if (!stg.ReadStream(bytes, &error) || !table.LoadFromBytes(bytes, &error)) {
        Err(QStringLiteral("error: %1: %2: %3").arg(file, stream, error));
        return 1;
    }
    Out(TDefSourceCompiler::DumpCsv(table));
    return 0;
}

void ListStorage(TStgManager &stg, const QString &prefix)
{
    for (const QString &s : stg.StreamNames()) {
        QString line = prefix + s;
        if (stg.OpenStream(s)) {
            QByteArray bytes;
            TDataSet table;
            QString error;
            if (stg.ReadStream(bytes, &error) && table.LoadFromBytes(bytes, &error))
                line += QStringLiteral("\t%1 rows").arg(table.AllRowCount());
            else
                line += QStringLiteral("\tunreadable: %1").arg(error);
            stg.CloseStream();
        }
        Out(line + QLatin1Char('\n'));
    }
    for (const QString &d : stg.StorageNames()) {
        Out(prefix + d + QStringLiteral("\\\n"));
        if (stg.OpenStorage(d)) {
            ListStorage(stg, prefix + d + QLatin1Char('\\'));
            stg.OpenStorage(QStringLiteral("\\") + prefix); // back up
        }
    }
}

int List(const QString &file)
{
    TStgManager stg;
    QString error;
    if (!stg.OpenRoot(file, TStgManager::TAccess::Shared, &error)) {
        Err(QStringLiteral("error: ") + error);
        return 1;
    }
    ListStorage(stg, QString());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("build"))
        return Build(args[1], args[2]);
    if (args.size() == 3 && args[0] == QLatin1String("dump"))
        return Dump(args[1], args[2]);
    if (args.size() == 2 && args[0] == QLatin1String("list"))
        return List(args[1]);
    return Usage();
}
