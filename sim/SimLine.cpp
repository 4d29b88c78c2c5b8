#include "sim/SimLine.h"

#include <algorithm>

TSimAxis &TSimLine::AddAxis(int n, uint32_t code, int64_t now)
{
    Cancel(n);
    TSimLayout layout = layoutSource ? layoutSource(code & 0xFFFFFF) : TSimLayout{};
    auto axis = std::make_unique<TSimAxis>(n, code, std::move(layout), now);
    axis->SetAnswersAxis0(axis0 == n);
    axis->SetCommandHook(commandHook);
    TSimAxis &ref = *axis;
    axes[n] = std::move(axis);
    if (axisHook)
        axisHook(ref, now);
    return ref;
}

bool TSimLine::RemoveAxis(int n)
{
    Cancel(n);
    if (axis0 == n)
        axis0 = 0;
    return axes.erase(n) != 0;
}

TSimAxis *TSimLine::Axis(int n)
{
    auto it = axes.find(n);
    return it == axes.end() ? nullptr : it->second.get();
}

std::vector<int> TSimLine::AxisNumbers() const
{
    std::vector<int> out;
    for (const auto &[n, axis] : axes)
        out.push_back(n);
    return out;
}

void TSimLine::SetAxis0(int n)
{
    axis0 = n;
    for (auto &[number, axis] : axes)
        axis->SetAnswersAxis0(number == n);
}

void TSimLine::Feed(const uint8_t *data, size_t count, int64_t now)
{
    for (size_t i = 0; i < count; ++i) {
        int64_t due = now;
        if (lineTime) {
            // A character is complete one character time after the line was
            // free for it.
            due = std::max(now, inputFreeAt) + CharTimeUs();
            inputFreeAt = due;
        }
        Deliver(data[i], due);
    }
}

void TSimLine::Deliver(uint8_t byte, int64_t at)
{
    std::vector<TSimAxis::TReply> replies;
    for (auto &[n, axis] : axes) {
        bool cancel = false;
        replies.clear();
        axis->Receive(byte, at, replies, cancel);
        if (cancel)
            Cancel(n, at);
        for (const TSimAxis::TReply &r : replies)
            Schedule(n, r.bytes, at + r.delayUs + (lineTime ? turnaroundUs : 0));
    }
}

void TSimLine::Schedule(int axis, const std::string &bytes, int64_t start)
{
    for (char c : bytes) {
        int64_t due = std::max(start, outputFreeAt);
        if (lineTime)
            due += CharTimeUs();
        outputFreeAt = due;
        output.push_back({due, uint8_t(c), axis});
    }
}

void TSimLine::Cancel(int axis, int64_t after)
{
    const size_t before = output.size();
    output.erase(std::remove_if(output.begin(), output.end(),
                                [axis, after](const TOut &o) { return o.axis == axis && o.due > after; }),
                 output.end());
    if (output.size() != before)
        outputFreeAt = output.empty() ? 0 : output.back().due;
}

int64_t TSimLine::NextDue() const
{
    return output.empty() ? Never : output.front().due;
}

std::string TSimLine::TakeOutput(int64_t now)
{
    std::string out;
    while (!output.empty() && output.front().due <= now) {
        out += char(output.front().byte);
        output.pop_front();
    }
    return out;
}

void TSimLine::DropAll()
{
    output.clear();
    inputFreeAt = 0;
    outputFreeAt = 0;
}

void TSimLine::Refresh(int64_t now)
{
    for (auto &[n, axis] : axes)
        axis->Refresh(now);
}
