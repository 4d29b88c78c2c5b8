#pragma once

#include <QString>

// What a data module tells about a long series of amplifier commands, and
// what the user asks of it meanwhile. The windows show it in the progress
// window, the command-line program on its error output; without one nothing
// is shown and nothing is asked.
class TProgress
{
public:
    // What the user pressed during the series; the last press wins and only
    // the module clears it.
    enum TRequest { rqNone = 0, rqCancel = 1, rqServoOff = 2 };

    virtual ~TProgress() = default;

    // Title, text and number of steps of a series; position 0, shown at once
    // with the buttons chosen by ShowButtons.
    virtual void Start(const QString &title, const QString &text, int max) = 0;
    // One step done; steps beyond the maximum leave it full.
    virtual void Step() = 0;
    // The series is over, also after a failure. Hides the buttons again.
    virtual void Finish() = 0;

    // During a series: the text, the number of steps and the position
    // (clamped to 0 .. maximum), for series that count in their own way.
    virtual void SetText(const QString &text) = 0;
    virtual void SetMax(int max) = 0;
    virtual void SetPosition(int position) = 0;
    virtual int Position() const = 0;

    // The "中止" (cancel) and "サーボオフ" (servo off) buttons of the next
    // Start, or at once while a series is shown.
    virtual void ShowButtons(bool cancel, bool servoOff) = 0;
    virtual int Request() const = 0;
    virtual void ClearRequest() = 0;

    // Out of the way for a question in the middle of a series, and back.
    virtual void Hide() = 0;
    virtual void Show() = 0;
};
