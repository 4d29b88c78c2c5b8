#include "comm/ModelText.h"

#include "ZnLibs/ShiftJis.h"
#include "comm/DMTran.h"

QString ModelText::FromBytes(QByteArray bytes)
{
    for (char &c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return ShiftJis::Decode(bytes);
}

bool ModelText::Read(TDMTran &tran, int axis, uint32_t first, uint32_t second, QString &text)
{
    QByteArray a, b;
    if (!tran.ReadBytes8(axis, first, a) || !tran.ReadBytes8(axis, second, b))
        return false;
    text = FromBytes(a.left(8) + b.left(2));
    return true;
}

QString ModelText::VersionText(const uint16_t (&w)[6])
{
    auto hex = [](uint16_t v) { return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')).toUpper(); };
    const QString h = hex(w[4]);
    const QChar c = QLatin1Char(char(w[5] & 0xFF));
    const QString version = QString(c) + h[0] + u'.' + h[1] + h[2] + u'.' + h[3];
    return QStringLiteral("%1 - %2 - %3 - %4 - %5").arg(version, hex(w[0]), hex(w[1]), hex(w[2]), hex(w[3]));
}
