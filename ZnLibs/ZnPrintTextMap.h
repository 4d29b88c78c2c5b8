#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

class QPicture;

// Keeps the text layer of a written PDF true to the characters drawn.
//
// Qt's PDF writer gives each glyph of an embedded font the lowest code
// point that the font maps to that glyph. Fonts share glyphs between twins:
// the CJK fonts draw 一 (U+4E00) and the Kangxi radical ⼀ (U+2F00) alike,
// 示 and ⽰, a space and a tab. The text layer then says ⼀覧 where 一覧 was
// drawn, and a search for 一覧 finds nothing. The map learns which
// characters a document drew and turns every glyph's code point that was
// not drawn back into the drawn twin (same compatibility form, NFKC).
class TZnPrintTextMap
{
public:
    void AddText(const QString &text);
    // Plays a recorded page and learns the text it draws.
    void AddPage(const QPicture &page);
    bool Drew(char32_t c) const { return drawn.contains(c); }

    // Rewrites the ToUnicode maps of a PDF in place (same length, so the
    // file's offsets stay right). Returns the number of entries changed.
    int Repair(QByteArray &pdf) const;
    // The drawn character a code point of the text layer stands for: itself
    // when it was drawn or has no drawn twin.
    char32_t Restore(char32_t c) const;

private:
    QSet<char32_t> drawn;
    QHash<char32_t, QList<char32_t>> twins; // by form: the drawn characters of that form
};
