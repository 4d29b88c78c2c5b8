#include "app/cli/CliSupport.h"

#include <atomic>

namespace {
std::atomic<int> g_interrupts{0};

void OnInterrupt(int)
{
    // A second Ctrl-C while the first is not yet taken ends the program.
    if (g_interrupts.fetch_add(1) >= 1) {
        std::signal(SIGINT, SIG_DFL);
        std::raise(SIGINT);
    }
}
} // namespace

TTranResult TRecordingAmp::Transact(uint8_t addressByte, const QByteArray &command, QByteArray &answer)
{
    const TTranResult r = TTranAmp::Transact(addressByte, command, answer);
    if (r != trOk)
        lastFailure = r;
    return r;
}

TCliMessenger::TCliMessenger(QTextStream &err, bool yes) : err(err), yes(yes)
{
    TMessenger::SetInstance(this);
}

TCliMessenger::~TCliMessenger()
{
    TMessenger::SetInstance(nullptr);
}

TMsgAnswer TCliMessenger::Show(TMsgKind kind, const QString &text, TMsgButtons buttons, const QString &)
{
    if (hold && kind != TMsgKind::Question) {
        held.append({kind, text});
        return TMsgAnswer::Ok;
    }
    if (progress)
        progress->BreakLine();
    QString line = english.value(text, text);
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    err << "tuvanta-cli: " << line;
    if (kind != TMsgKind::Question) {
        err << "\n";
        err.flush();
        return TMsgAnswer::Ok;
    }
    ++questions;
    const bool okButtons = buttons == TMsgButtons::Ok || buttons == TMsgButtons::OkCancel;
    err << (yes ? " -> yes (--yes)\n" : " -> no (give --yes to go on)\n");
    err.flush();
    if (!yes)
        ++declined;
    return yes ? (okButtons ? TMsgAnswer::Ok : TMsgAnswer::Yes) : (okButtons ? TMsgAnswer::Cancel : TMsgAnswer::No);
}

TCliProgress::TCliProgress(QTextStream &err) : err(err) {}

TCliProgress::~TCliProgress()
{
    Arm(false);
}

void TCliProgress::Arm(bool on)
{
    if (on == armed)
        return;
    armed = on;
    if (on) {
        g_interrupts = 0;
        cleared = 0;
        struct sigaction sa {};
        sa.sa_handler = OnInterrupt;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGINT, &sa, &previous);
    } else {
        sigaction(SIGINT, &previous, nullptr);
    }
}

void TCliProgress::Start(const QString &title, const QString &, int max)
{
    this->title = titles.value(title, title);
    this->max = max;
    position = 0;
    shown = -1;
    Arm(cancelButton || servoOffButton);
    Print();
}

void TCliProgress::Step()
{
    if (position < max)
        ++position;
    Print();
}

void TCliProgress::EndLine()
{
    if (shown >= 0)
        err << "\n";
    err.flush();
    shown = -1;
}

void TCliProgress::Finish()
{
    EndLine();
    Arm(false);
    cancelButton = servoOffButton = false;
}

void TCliProgress::SetText(const QString &) {}

void TCliProgress::SetMax(int m)
{
    max = m < 0 ? 0 : m;
    position = std::min(position, max);
}

void TCliProgress::SetPosition(int p)
{
    position = std::clamp(p, 0, max);
    Print();
}

void TCliProgress::ShowButtons(bool cancel, bool servoOff)
{
    cancelButton = cancel;
    servoOffButton = servoOff;
    if (shown >= 0 || position > 0)
        Arm(cancel || servoOff);
}

int TCliProgress::Request() const
{
    if (!armed || g_interrupts.load() <= cleared)
        return rqNone;
    return servoOffButton ? rqServoOff : rqCancel;
}

void TCliProgress::ClearRequest()
{
    // The interrupt is taken: the next Ctrl-C asks again rather than kill.
    g_interrupts = 0;
    cleared = 0;
}

void TCliProgress::Hide()
{
    EndLine();
}

void TCliProgress::Show()
{
    Print();
}

void TCliProgress::Print()
{
    const int tenth = max > 0 ? position * 10 / max : 10;
    if (tenth == shown)
        return;
    shown = tenth;
    if (position == 0)
        err << "tuvanta-cli: " << title << " " << position << "/" << max;
    else
        err << " " << position << "/" << max;
    err.flush();
}
