#include "RawPeer.h"

#include "sim/SimFrame.h"

#include <algorithm>

void TRawPeer::Send(const std::string &bytes)
{
    line.Feed(bytes, now);
}

std::string TRawPeer::Receive(int64_t maxWaitUs)
{
    // The wait runs from when the line has carried what was sent, and
    // again from every byte that comes, as the program's byte time-out does.
    int64_t end = std::max(now, line.InputDoneAt()) + maxWaitUs;
    std::string out;
    for (;;) {
        const int64_t due = line.NextDue();
        if (due > end)
            break;
        if (due > now)
            now = due;
        const std::string got = line.TakeOutput(now);
        if (!got.empty())
            end = now + maxWaitUs;
        out += got;
    }
    if (out.empty())
        now = end;
    return out;
}

std::string TRawPeer::Frame(const std::string &text)
{
    return TSimFrame::Build(text);
}

std::string TRawPeer::TextOf(const std::string &frame)
{
    if (frame.size() < 4 || frame.front() != char(TSimFrame::STX) || frame[frame.size() - 3] != char(TSimFrame::ETX))
        return "<bad>";
    const std::string text = frame.substr(1, frame.size() - 4);
    if (frame.substr(frame.size() - 2) != TSimFrame::CheckText(TSimFrame::Check(text)))
        return "<bad>";
    return text;
}

TRawPeer::TTry TRawPeer::Try(int axis, const std::string &text, const std::string &check)
{
    TTry t;
    Send(std::string{char(TSimFrame::ENQ), char(TSimFrame::AddressByte(axis))});
    t.poll = Receive();
    if (t.poll != std::string(1, char(TSimFrame::EOT)))
        return t;
    std::string frame = Frame(text);
    if (!check.empty())
        frame.replace(frame.size() - 2, 2, check);
    Send(frame);
    t.frame = Receive();
    if (t.frame.empty())
        return t;
    Send(std::string(1, char(TSimFrame::EOT)));
    t.ack = Receive();
    return t;
}

std::string TRawPeer::Command(int axis, const std::string &text)
{
    const TTry t = Try(axis, text);
    if (t.poll != std::string(1, char(TSimFrame::EOT)))
        return "<fail poll>";
    if (t.frame.empty())
        return "<fail no answer>";
    if (t.ack != std::string(1, char(TSimFrame::ACK)))
        return "<fail no ack>";
    return TextOf(t.frame);
}
