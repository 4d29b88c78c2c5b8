#include "app/IniDocument.h"

#include "ZnLibs/ShiftJis.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// A settings file is a few kilobytes; anything far beyond is not one.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

bool TIniDocument::Load(const QString &path, QString *error)
{
    sections.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.size() > kMaxFileSize) {
        if (error)
            *error = QStringLiteral("file too large (%1 bytes)").arg(file.size());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    Parse(bytes);
    return true;
}

void TIniDocument::Parse(const QByteArray &input)
{
    sections.clear();
    QByteArray bytes = input;
    bom = bytes.startsWith("\xEF\xBB\xBF");
    if (bom)
        bytes.remove(0, 3);
    crlf = bytes.contains("\r\n");

    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    shiftJis = utf8.hasError();
    if (shiftJis)
        text = ShiftJis::Decode(bytes);

    sections.push_back(TSection{});
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        // The split leaves one empty piece after a final line break.
        if (i == lines.size() - 1 && line.isEmpty())
            break;
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            qsizetype close = trimmed.indexOf(QLatin1Char(']'));
            if (close < 0)
                close = trimmed.size();
            sections.push_back(TSection{trimmed.mid(1, close - 1).trimmed(), line, {}});
            continue;
        }
        TLine entry{line, QString()};
        const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
        if (eq > 0 && !trimmed.startsWith(QLatin1Char(';')))
            entry.key = trimmed.left(eq).trimmed();
        sections.back().lines.push_back(std::move(entry));
    }
}

QByteArray TIniDocument::ToBytes() const
{
    const QString eol = crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text;
    for (const TSection &s : sections) {
        if (!s.header.isEmpty())
            text += s.header + eol;
        for (const TLine &l : s.lines)
            text += l.text + eol;
    }
    QByteArray bytes;
    if (shiftJis) {
        bytes = ShiftJis::Encode(text);
        // A value that the code page cannot hold must not turn into '?':
        // fall back to UTF-8, which the next start reads just as well.
        if (ShiftJis::Decode(bytes) == text)
            return bytes;
    }
    bytes = text.toUtf8();
    if (bom)
        bytes.prepend("\xEF\xBB\xBF");
    return bytes;
}

bool TIniDocument::Save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = ToBytes();
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

TIniDocument::TSection *TIniDocument::FindSection(const QString &name)
{
    // The first element holds the lines before any header; it has no name.
    for (size_t i = 1; i < sections.size(); ++i) {
        if (SameName(sections[i].name, name))
            return &sections[i];
    }
    return nullptr;
}

const TIniDocument::TSection *TIniDocument::FindSection(const QString &name) const
{
    return const_cast<TIniDocument *>(this)->FindSection(name);
}

QString TIniDocument::Value(const QString &section, const QString &key, bool *found) const
{
    if (found)
        *found = false;
    const TSection *s = FindSection(section);
    if (!s)
        return QString();
    for (const TLine &l : s->lines) {
        if (l.key.isEmpty() || !SameName(l.key, key))
            continue;
        if (found)
            *found = true;
        QString value = l.text.mid(l.text.indexOf(QLatin1Char('=')) + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return QString();
}

void TIniDocument::SetValue(const QString &section, const QString &key, const QString &value)
{
    if (sections.empty())
        sections.push_back(TSection{});
    TSection *s = FindSection(section);
    if (!s) {
        sections.push_back(TSection{section, QLatin1Char('[') + section + QLatin1Char(']'), {}});
        s = &sections.back();
    }
    for (TLine &l : s->lines) {
        if (!l.key.isEmpty() && SameName(l.key, key)) {
            // Keep the key as it was spelt in the file.
            l.text = l.key + QLatin1Char('=') + value;
            return;
        }
    }
    // New keys go after the section's last key, before trailing blank lines
    // and comments that separate it from the next section.
    auto pos = s->lines.end();
    while (pos != s->lines.begin() && std::prev(pos)->key.isEmpty())
        --pos;
    s->lines.insert(pos, TLine{key + QLatin1Char('=') + value, key});
}

QStringList TIniDocument::Sections() const
{
    QStringList names;
    for (size_t i = 1; i < sections.size(); ++i)
        names << sections[i].name;
    return names;
}

QStringList TIniDocument::Keys(const QString &section) const
{
    QStringList keys;
    if (const TSection *s = FindSection(section)) {
        for (const TLine &l : s->lines) {
            if (!l.key.isEmpty())
                keys << l.key;
        }
    }
    return keys;
}
