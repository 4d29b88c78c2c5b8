#include "params/AreaRead.h"

#include "app/Progress.h"
#include "comm/DMTran.h"
#include "defdb/DataSet.h"

#include <QCoreApplication>

#include <algorithm>

bool AreaRead::Read(TDMTran &tran, TProgress *progress, int axis, const TDataSet &rows, TBuffer &image)
{
    const int fAddress = rows.FieldIndex(QStringLiteral("ADDRESS"));
    const int fLength = rows.FieldIndex(QStringLiteral("LENGTH"));
    const int count = rows.RecordCount();
    qint64 spanStart = 0, spanEnd = 0;
    if (count > 0) {
        spanStart = rows.ValueAt(0, fAddress).AsInt64() & ~qint64(1);
        // The last row ends the area; a longer row before it (overlapping
        // definition data) still gets its bytes.
        for (int k = 0; k < count; ++k)
            spanEnd = std::max(spanEnd, rows.ValueAt(k, fAddress).AsInt64() + rows.ValueAt(k, fLength).AsInt64());
        spanEnd = (spanEnd + 1) & ~qint64(1);
    }
    image.startAddress = qint32(spanStart);
    image.words = QList<quint16>(qsizetype((spanEnd - spanStart) / 2), 0);

    const bool ok = ReadSpan(tran, progress, axis, spanStart, spanEnd, image);
    if (progress)
        progress->Finish();
    return ok;
}

bool AreaRead::ReadSpan(TDMTran &tran, TProgress *progress, int axis, qint64 spanStart, qint64 spanEnd, TBuffer &image)
{
    if (progress)
        progress->Start(QCoreApplication::translate("TDMParameterBase", "読み出し中"),
                        QCoreApplication::translate("TDMParameterBase", "読み出し中です。お待ちください。"),
                        int((spanEnd - spanStart + 7) / 8));
    for (qint64 a = spanStart; a < spanEnd; a += 8) {
        TDMTran::TWords words{};
        if (!tran.ReadWords8(axis, uint32_t(a), 4, words))
            return false;
        const qint64 index = (a - image.startAddress) / 2;
        for (int k = 0; k < 4; ++k)
            if (index + k >= 0 && index + k < image.words.size())
                image.words[index + k] = words[size_t(k)];
        if (progress)
            progress->Step();
    }
    return true;
}
