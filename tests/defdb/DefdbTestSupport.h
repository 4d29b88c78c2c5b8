#pragma once

#include "DefSourceCompiler.h"
#include "defdb/DMInterface.h"
#include "defdb/StgWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The sample database compiled from its sources into a folder of its own, so
// the tests neither depend on the build order nor on build/bin.
class TSampleFolder
{
public:
    static const TSampleFolder &Get()
    {
        static TSampleFolder folder;
        return folder;
    }
    QString BasePath() const { return dir.filePath(QStringLiteral("Sample.ad0")); }
    QString Folder() const { return dir.path(); }
    bool ok = false;
    QString errors;

private:
    TSampleFolder()
    {
        TDefSourceCompiler compiler;
        QString error;
        ok = compiler.Compile(QStringLiteral(TUVANTA_SOURCE_DIR "/data/defdb")) && compiler.Write(BasePath(), &error);
        errors = compiler.Errors().join(QLatin1Char('\n')) + error;
    }
    QTemporaryDir dir;
};

inline bool WriteFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

constexpr int CodeA = 0x00A101;
constexpr int CodeB = 0x00A102;
constexpr int CodeC = 0x00C201;
constexpr int CodeUnknown = 0x00E999;
