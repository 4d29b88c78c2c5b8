#pragma once

#include "app/DMEnvironment.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A settings file in a temporary folder, named like the program's.
class SettingsFixture : public ::testing::Test
{
protected:
    QString Path() const { return dir.filePath(QStringLiteral("Tuvanta.ini")); }
    QString FilePath(const QString &name) const { return dir.filePath(name); }

    void WriteBytes(const QString &path, const QByteArray &bytes) const
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    void WriteSettings(const QString &text) const { WriteBytes(Path(), text.toUtf8()); }

    QByteArray ReadBytes() const
    {
        QFile f(Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString ReadSettings() const { return QString::fromUtf8(ReadBytes()); }
    QStringList Lines() const
    {
        QString text = ReadSettings();
        text.remove(QLatin1Char('\r'));
        QStringList lines = text.split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    QTemporaryDir dir;
};
