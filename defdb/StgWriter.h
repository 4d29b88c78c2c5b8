#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Writes one compound file: a root storage "cds" holding the given streams
// (storageName may be a "\"-separated path of storages, or empty for the root).
// Used by the definition-database tool and by tests. The file is written
// beside its final name and renamed into place, so a failure leaves an
// existing file untouched.
class TStgWriter
{
public:
    using TStream = QPair<QString, QByteArray>; // stream name, content

    static bool Write(const QString &fileName, const QList<TStream> &streams, QString *error = nullptr,
                      const QString &storageName = QStringLiteral("cds"));
};
