#pragma once

#include <QString>

// What a data module tells about a long series of amplifier commands. The
// windows show it in the progress window, the command-line program on its
// error output; without one nothing is shown.
class TProgress
{
public:
    virtual ~TProgress() = default;

    // Title, text and number of steps of a series; position 0, shown at once.
    virtual void Start(const QString &title, const QString &text, int max) = 0;
    // One step done; steps beyond the maximum leave it full.
    virtual void Step() = 0;
    // The series is over, also after a failure.
    virtual void Finish() = 0;
};
