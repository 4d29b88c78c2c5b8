#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// A motor file (".mp0"): the parameter set of one motor as comma-separated
// lines "MOT-TYP,<type>", "MOT-CNT,<n>" and "<i>,<value i>". Values may come
// in any order but only after the MOT-CNT line that sizes the list.
struct TMotorFile
{
    // More values than any motor has; a larger count is a broken file.
    static constexpr int MaxCount = 10000;
    // Motor files are a few hundred bytes; anything this large is not one.
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    QString motorType;
    QList<qint32> values;

    // Parses the bytes of a file. False for a file that is not well formed:
    // a value that is not a number, a count outside 0..MaxCount, a value
    // line before any MOT-CNT or with an index outside the list, control
    // bytes (binary data) or an unterminated quote. On failure the result
    // is left empty.
    static bool Parse(QByteArrayView bytes, TMotorFile &result);
    // Reads and parses a file; false also when it cannot be read.
    static bool Load(const QString &fileName, TMotorFile &result);
};
