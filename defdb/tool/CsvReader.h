#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Reads the CSV dialect of the definition-database sources: UTF-8 (a byte
// order mark is skipped), comma-separated, cells in double quotes may hold
// commas, doubled quotes and line breaks. Lines whose first character is '#'
// are comments; empty lines are skipped. Unquoted cells are trimmed.
class TCsvReader
{
public:
    struct TCell {
        QString text;
        bool quoted = false;
        bool IsEmpty() const { return !quoted && text.isEmpty(); }
    };
    struct TRecord {
        int line = 0; // 1-based line where the record starts
        QList<TCell> cells;
    };

    // False with "line N: ..." in *error on malformed input (an open quote,
    // text after a closing quote, bytes that are not UTF-8).
    static bool Parse(const QByteArray &bytes, QList<TRecord> &records, QString *error);

    // One cell as written by the dump: empty for null, quoted when needed.
    static QString Quote(const QString &text, bool isNull);
};
