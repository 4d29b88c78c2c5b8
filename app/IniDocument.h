#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// An INI-style text file held in memory as its lines, so that rewriting it
// keeps everything the program does not know: foreign sections and keys,
// their order, comments and blank lines. Section and key names compare
// without regard to case; the first of duplicate sections or keys counts.
//
// The text is UTF-8 when the bytes are valid UTF-8 (a BOM is kept), otherwise
// the Japanese code page (Shift-JIS) as written by the Windows tools; it is
// written back in the encoding it was read in.
class TIniDocument
{
public:
    // Reads the file. A missing file gives an empty document and succeeds.
    // A file that exists but cannot be read fails (error says why) and leaves
    // the document empty.
    bool Load(const QString &path, QString *error = nullptr);
    // Writes the whole document through a temporary file and a rename.
    bool Save(const QString &path, QString *error = nullptr) const;

    void Parse(const QByteArray &bytes);
    QByteArray ToBytes() const;

    // The value of section/key with surrounding blanks removed (and one pair
    // of enclosing double quotes, as the Windows profile functions do).
    // found (when given) tells a missing key from an empty value.
    QString Value(const QString &section, const QString &key, bool *found = nullptr) const;

    // Replaces the value of the key where it stands, or appends the key to
    // its section, or appends the section to the file.
    void SetValue(const QString &section, const QString &key, const QString &value);

    QStringList Sections() const;
    QStringList Keys(const QString &section) const;

private:
    struct TLine {
        QString text;      // the line as read (or as last written)
        QString key;       // the key's name, empty for other lines
    };
    struct TSection {
        QString name;      // empty for the lines before the first section
        QString header;    // the header line as read
        std::vector<TLine> lines;
    };

    TSection *FindSection(const QString &name);
    const TSection *FindSection(const QString &name) const;

    std::vector<TSection> sections;
    bool shiftJis = false;
    bool bom = false;
    bool crlf = false;
};
