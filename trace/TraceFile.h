#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

class TTrace;
class TTraceTables;

// The operation-trace file: a comma-separated text of 19 header lines (codes
// with their names for the reader's eye) and one row per sample in time
// order, in the Japanese code page with CR LF line ends. Also the plain CSV
// export for spreadsheets. The helpers for splitting and numbers are public:
// the system-analysis files use the same rules.
class TTraceFile
{
public:
    // The comma-text rule: commas separate fields, so does unquoted white
    // space; a field in double quotes may hold commas and spaces (a doubled
    // quote stands for one) and loses its quotes; a comma at the very end
    // adds an empty field.
    static QStringList SplitCommaText(const QString &line);
    // Decimal, "0x" or "$" hexadecimal, with a leading sign. Hexadecimal of
    // up to 8 digits wraps into the signed 32-bit range (FFFFFFFF is -1).
    static bool ParseInteger(const QString &text, int64_t &value);
    // A number with up to three decimals, no trailing zeros ("0.###").
    static QString FormatDecimal(double value);

    // The file text of a trace; names come from the tables in their language.
    static QByteArray Write(const TTrace &trace, const TTraceTables &tables);
    // Reads a file text into the trace: samples no-data and Start 0 first,
    // then the lines in order. False on rejection (AmpCode -1, reading stopped
    // there). The channels are not evaluated here.
    static bool Read(const QByteArray &bytes, TTrace &trace);

    // Through a temporary file and a rename; false with error set.
    static bool Save(const QString &fileName, const TTrace &trace, const TTraceTables &tables, QString *error);
    // False with error set when the file cannot be read (a rejected text is
    // not an error here: Read's result is in rejected).
    static bool Load(const QString &fileName, TTrace &trace, bool &rejected, QString *error);

    // Plain CSV: a head "t[ms]" and per shown channel "CHn name[unit]", then
    // one row per sample with the time from the oldest sample in ms; markers
    // and channels not in use stay empty. UTF-8, LF.
    static QByteArray Csv(const TTrace &trace, const TTraceTables &tables);
    static bool SaveCsv(const QString &fileName, const TTrace &trace, const TTraceTables &tables, QString *error);
};
