#include "params/MotorFile.h"

#include "ZnLibs/ShiftJis.h"
#include "params/ParameterFile.h"

#include <QFile>

namespace {

bool IsBinary(QByteArrayView bytes)
{
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        // Tab, line ends and the old end-of-file mark are text; other
        // control bytes are not.
        if (b < 0x20 && b != '\t' && b != '\r' && b != '\n' && b != 0x1A)
            return true;
    }
    return false;
}

} // namespace

bool TMotorFile::Parse(QByteArrayView bytes, TMotorFile &result)
{
    result = TMotorFile();
    if (bytes.size() > MaxFileBytes || IsBinary(bytes))
        return false;
    TMotorFile file;
    bool sized = false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n')
            ++end;
        QByteArrayView raw = bytes.sliced(start, end - start);
        start = end + 1;
        while (!raw.isEmpty() && (raw.back() == '\r' || raw.back() == 0x1A))
            raw.chop(1);
        if (raw.size() > TParameterFile::MaxLineBytes)
            return false;
        const std::optional<QStringList> items = TParameterFile::SplitItems(ShiftJis::Decode(raw));
        if (!items)
            return false;
        if (items->isEmpty())
            continue;
        const QString &key = items->at(0);
        const QString second = items->size() > 1 ? items->at(1) : QString();
        if (key == QLatin1String("MOT-TYP")) {
            file.motorType = second;
        } else if (key == QLatin1String("MOT-CNT")) {
            const std::optional<qint32> count = TParameterFile::ParseInteger(second);
            if (!count || *count < 0 || *count > MaxCount)
                return false;
            file.values = QList<qint32>(*count, 0);
            sized = true;
        } else if (const std::optional<qint32> index = TParameterFile::ParseInteger(key)) {
            // A value line outside the sized list would write where no
            // value belongs: the file is broken.
            if (!sized || *index < 0 || *index >= file.values.size())
                return false;
            const std::optional<qint32> value = TParameterFile::ParseInteger(second);
            if (!value)
                return false;
            file.values[*index] = *value;
        }
    }
    result = std::move(file);
    return true;
}

bool TMotorFile::Load(const QString &fileName, TMotorFile &result)
{
    result = TMotorFile();
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly) || f.size() > MaxFileBytes)
        return false;
    const QByteArray bytes = f.read(MaxFileBytes + 1);
    if (f.error() != QFileDevice::NoError)
        return false;
    return Parse(bytes, result);
}
