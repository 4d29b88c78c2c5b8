#pragma once

// What the trace module shows while it waits for a recording, and what the
// user asks meanwhile: the sampling window, the command line's error output
// or a test script.
class TTraceWaitView
{
public:
    virtual ~TTraceWaitView() = default;
    // Waiting for the trigger.
    virtual void ShowWaiting() = 0;
    // Triggered and recording; seconds until the recording is complete.
    virtual void ShowRecording(double remainingSeconds) = 0;
    virtual void HideWait() = 0;
    // The stop button was pressed since the last call (cleared by asking).
    virtual bool TakeStopRequest() = 0;
    // Cancel was pressed or the window was closed.
    virtual bool WaitCancelled() const = 0;
};
