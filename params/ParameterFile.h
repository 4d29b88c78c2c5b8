#pragma once

#include "defdb/Buffer.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The parameter file ("ap0", an "amplifier file" to the user): the text form
// of a memory image, in Shift-JIS with CR LF line ends.
//
//     AMP-CODE,0x00A101
//     AMP-TYPE,"TVA-S10A"
//     CPU-VER,""
//     HVX-VER,"Version 1.0.0 - 2"
//     PARAM-CNT,2
//     PARAMETER,0,0x0000
//     PARAMETER,1,0x1F40
//
// The start address is not stored: the reader's caller takes it from the
// model's definition rows. Nothing here talks to the user; TDMMain's
// ReadParameterFile/WriteParameterFile do.
//
// The reader is as tolerant as the files of earlier tools and hand-made
// files need: a missing AMP-CODE reads as code -1, a repeated header line
// replaces the earlier one, extra items and PARAMETER lines outside their
// block are ignored, and bytes that are not Shift-JIS read one character
// each. It refuses rather than yield a half-filled image: a count the file
// does not hold, indexes out of order, a blank or foreign line inside the
// PARAMETER block, a word beyond 16 bits, numbers that do not read, lines
// above MaxLineBytes, texts above MaxTextBytes and files above MaxFileBytes.
// Anything that is not a regular file is not opened.
class TParameterFile
{
public:
    // Longest line, in bytes without its line end. Model and firmware texts
    // are a few dozen characters; anything near this is not a parameter file.
    static constexpr qsizetype MaxLineBytes = 1024;
    // Longest model or firmware text in the file, in bytes between its
    // quotes (a doubled quote counts two).
    static constexpr qsizetype MaxTextBytes = 1000;
    // Most words: the whole 20-bit amplifier address space.
    static constexpr qsizetype MaxWords = 0x80000;
    // Largest file: MaxWords PARAMETER lines of the longest form and a header.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

    // "Version 1.0.0 - 2", or "Version 1.0.0" without a database version.
    static QString VersionText(const QString &productVersion, const QString &databaseVersion);

    // The whole file for the image. Control characters other than tabs in
    // the texts are written as blanks and a text is cut to MaxTextBytes at a
    // character boundary, so that the reader takes back whatever the writer
    // wrote.
    static QByteArray Format(const TBuffer &image, const QString &versionText);

    // Reads the file text into image: code, texts and words; the start
    // address is left alone. False for a text that is not a parameter file:
    // the image then has code -1, no words and empty texts.
    static bool Parse(QByteArrayView bytes, TBuffer &image);

    enum class TLoad { Ok, OpenError, Corrupt };
    // Reads and parses the file. OpenError: the platform's reason in *error
    // and the image as after a failed Parse.
    static TLoad Load(const QString &fileName, TBuffer &image, QString *error = nullptr);

    // Writes the file through a temporary file and a rename, so that a
    // failure leaves an existing file as it was. False with the platform's
    // reason in *error (also for an existing file that is read-only).
    static bool Save(const TBuffer &image, const QString &fileName, const QString &versionText,
                     QString *error = nullptr);

    // An integer item: decimal with an optional sign, or hexadecimal after
    // "0x" or "$"; a 32-bit pattern (0xFFFFFFFF reads as -1). Nothing for
    // anything else, also for values beyond 32 bits.
    static std::optional<qint32> ParseInteger(QStringView item);

    // The items of a line: separated by commas and by blanks outside double
    // quotes; a quoted item may hold commas and blanks, and a doubled quote
    // in it is one quote. Nothing for an unterminated quote, a quote inside
    // an unquoted item or text straight after a closing quote.
    static std::optional<QStringList> SplitItems(QStringView line);

    // text in double quotes, inner quotes doubled.
    static QString Quoted(const QString &text);
};
