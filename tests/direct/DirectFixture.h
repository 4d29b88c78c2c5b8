#pragma once

#include "SimFixture.h"
#include "support/MessageRecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include <functional>

// The simulator with a message recorder, and what the direct-mode tests ask
// of it: the commands an axis received.
class TDirectFixture : public TSimFixture
{
protected:
    // The commands axis received since the last ClearLog, e.g. "M" + address.
    QStringList Log(int axis)
    {
        const QString text = QString::fromStdString(Control("log " + QString::number(axis, 16).toStdString()));
        return text.split(u' ', Qt::SkipEmptyParts);
    }
    void ClearLog(int axis)
    {
        Control("log " + QString::number(axis, 16).toStdString() + " clear");
        Control("stats " + QString::number(axis, 16).toStdString() + " clear");
    }
    // Persistent writes (O, P, Q) since the last ClearLog; the log keeps
    // only the last commands, the count has them all.
    int WriteCount(int axis)
    {
        const QString s = QString::fromStdString(Control("stats " + QString::number(axis, 16).toStdString()));
        for (const QString &item : s.split(u' '))
            if (item.startsWith(QStringLiteral("writes=")))
                return item.mid(7).toInt();
        return -1;
    }
    // Commands of the log that write amplifier memory (O, P, Q, Y, Z).
    QStringList Writes(int axis)
    {
        QStringList w;
        for (const QString &c : Log(axis))
            if (QStringLiteral("OPQYZ").contains(c.front()))
                w << c;
        return w;
    }
    static bool WaitUntil(const std::function<bool()> &done, int ms = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }

    TMessageRecorder messages;
};
