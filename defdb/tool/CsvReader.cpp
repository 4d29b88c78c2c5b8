#include "CsvReader.h"

#include <QStringDecoder>

bool TCsvReader::Parse(const QByteArray &bytes, QList<TRecord> &records, QString *error)
{
    records.clear();
    QStringDecoder dec(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = dec.decode(bytes);
    if (dec.hasError()) {
        // Name the line of the first bad byte; no UTF-8 sequence holds a
        // line feed, so lines decode on their own.
        int line = 1;
        for (const QByteArray &l : bytes.split('\n')) {
            QStringDecoder probe(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
            const QString decoded = probe.decode(l); // decoding happens on conversion
            if (probe.hasError())
                break;
            ++line;
        }
        *error = QStringLiteral("line %1: the file is not UTF-8").arg(line);
        return false;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    const int n = text.size();
    int i = 0;
    int line = 1;
    while (i < n) {
        // Start of a record.
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n')) {
            if (text[i] == QLatin1Char('\n'))
                ++line;
            ++i;
            continue;
        }
        if (text[i] == QLatin1Char('#')) {
            while (i < n && text[i] != QLatin1Char('\n'))
                ++i;
            continue;
        }
        TRecord rec;
        rec.line = line;
        bool endOfRecord = false;
        while (!endOfRecord) {
            TCell cell;
            // Leading blanks of a cell.
            while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
                ++i;
            if (i < n && text[i] == QLatin1Char('"')) {
                cell.quoted = true;
                const int startLine = line;
                ++i;
                bool closed = false;
                while (i < n) {
                    const QChar c = text[i];
                    if (c == QLatin1Char('"')) {
                        if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                            cell.text += QLatin1Char('"');
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (c == QLatin1Char('\r')) {
                        ++i;
                        continue; // line breaks are stored as CR LF below
                    }
                    if (c == QLatin1Char('\n')) {
                        ++line;
                        cell.text += QLatin1String("\r\n");
                        ++i;
                        continue;
                    }
                    cell.text += c;
                    ++i;
                }
                if (!closed) {
                    *error = QStringLiteral("line %1: quoted cell is not closed").arg(startLine);
                    return false;
                }
                while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
                    ++i;
                if (i < n && text[i] != QLatin1Char(',') && text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n')) {
                    *error = QStringLiteral("line %1: text after a closing quote").arg(line);
                    return false;
                }
            } else {
                const int start = i;
                while (i < n && text[i] != QLatin1Char(',') && text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))
                    ++i;
                cell.text = text.mid(start, i - start).trimmed();
            }
            rec.cells.append(cell);
            if (i < n && text[i] == QLatin1Char(',')) {
                ++i;
                continue;
            }
            endOfRecord = true;
            if (i < n && text[i] == QLatin1Char('\r'))
                ++i;
            if (i < n && text[i] == QLatin1Char('\n')) {
                ++i;
                ++line;
            }
        }
        records.append(rec);
    }
    return true;
}

QString TCsvReader::Quote(const QString &text, bool isNull)
{
    if (isNull)
        return QString();
    const bool needs = text.isEmpty() || text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"'))
                       || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))
                       || text != text.trimmed()
                       || text.startsWith(QLatin1Char('#'));
    if (!needs)
        return text;
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}
