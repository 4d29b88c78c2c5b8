// Recordings taken from the simulator's recorder with known signals fed into
// its channels: every unpacked sample is compared with the signal.
#include "SimFixture.h"
#include "MessageRecorder.h"

#include "trace/DMTrace.h"
#include "trace/TraceWaitView.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// The wait window of a test: counts what was shown and runs a hook.
class TScriptedWait : public TTraceWaitView
{
public:
    void ShowWaiting() override
    {
        ++waiting;
        if (onWaiting)
            onWaiting(waiting);
    }
    void ShowRecording(double seconds) override
    {
        ++recording;
        lastRemaining = seconds;
    }
    void HideWait() override { ++hidden; }
    bool TakeStopRequest() override { return std::exchange(stop, false); }
    bool WaitCancelled() const override { return cancel; }

    int waiting = 0, recording = 0, hidden = 0;
    double lastRemaining = -1;
    bool stop = false, cancel = false;
    std::function<void(int)> onWaiting;
};

struct TFeed {
    int channel; // 1..8
    const char *kind;
    int64_t a, b;
};

class TraceCaptureTest : public TSimFixture
{
protected:
    void SetUp() override
    {
        TSimFixture::SetUp();
        dm = std::make_unique<TDMTrace>(*ctx);
        dm->OpenTables();
        dm->SetWaitView(&wait);
        ASSERT_TRUE(dm->ReadModelNames(1));
        ASSERT_TRUE(dm->ReadTraceSetting(1));
    }

    void FeedAll(const std::vector<TFeed> &feeds)
    {
        for (const TFeed &f : feeds) {
            std::string cmd = "trace 1 feed " + std::to_string(f.channel) + " " + f.kind;
            if (std::string(f.kind) == "ramp")
                cmd += " " + std::to_string(f.a) + " " + std::to_string(f.b);
            else if (std::string(f.kind) == "square")
                cmd += " " + std::to_string(f.b);
            else
                cmd += " " + std::to_string(f.a);
            ASSERT_EQ(Control(cmd), "") << cmd;
        }
    }

    // Writes the setting, arms the recorder and reads the recording back.
    void Record(const TTraceSetting &setting)
    {
        dm->trace.Setting = setting;
        ASSERT_TRUE(dm->WriteTraceSetting(1));
        ASSERT_TRUE(dm->ClearTrace(1));
        ASSERT_TRUE(dm->StartTrace(1));
        bool read = false;
        ASSERT_TRUE(dm->WaitAndReadTrace(1, read));
        ASSERT_TRUE(read);
    }

    TMessageRecorder messages;
    TScriptedWait wait;
    std::unique_ptr<TDMTrace> dm;
};

int64_t Expected(const TFeed &f, int64_t k)
{
    const std::string kind = f.kind;
    if (kind == "ramp")
        return f.a + f.b * k;
    if (kind == "square")
        return (k / f.b) % 2;
    return f.a;
}

int64_t Narrow(int64_t v, int length, bool isSigned)
{
    const uint64_t mask = length >= 4 ? 0xFFFFFFFFull : (1ull << (8 * length)) - 1;
    const int64_t u = int64_t(uint64_t(v) & mask);
    return isSigned ? TTrace::SignExtend(u, length) : u;
}

} // namespace

TEST_F(TraceCaptureTest, EachModeUnpacksTheFedSignals)
{
    struct TCase {
        const char *name;
        int mode;
        std::array<int32_t, 4> analog;
        std::vector<TFeed> feeds;
        std::vector<int> checked; // channels 1..8 compared with their feed
    };
    // Codes: 0 signed 2 bytes, 3 signed 4 bytes, 6 unsigned 2 bytes,
    // 8 signed 1 byte, 7 unsigned 1 byte.
    const std::vector<TCase> cases = {
        {"mode 1, 4-byte CH2 eats CH3",
         1,
         {0, 3, 7, 8},
         {{1, "ramp", -100, 1}, {2, "ramp", -70000, 1001}, {4, "ramp", -5, 1}, {5, "square", 0, 1},
          {6, "square", 0, 2}, {7, "square", 0, 3}, {8, "const", 1, 0}},
         {1, 2, 4, 5, 6, 7, 8}},
        {"mode 1, 1-byte channels",
         1,
         {6, 7, 8, 0},
         {{1, "ramp", 65500, 3}, {2, "ramp", 250, 1}, {3, "ramp", 120, 1}, {4, "ramp", 32700, 1}},
         {1, 2, 3, 4}},
        {"mode 2, 4-byte CH1", 2, {3, 0, 0, 0}, {{1, "ramp", -100000, 777}, {5, "square", 0, 5}, {6, "square", 0, 1}}, {1, 5, 6}},
        {"mode 2, two channels", 2, {0, 6, 0, 0}, {{1, "ramp", -300, 1}, {2, "ramp", 65000, 7}}, {1, 2}},
        {"mode 3", 3, {0, 0, 0, 0}, {{1, "ramp", 32000, 1}, {5, "square", 0, 3}}, {1, 5}},
    };
    const TTraceModel *model = dm->Model();
    ASSERT_NE(model, nullptr);
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Control("trace 1 feed 1 off"), "");
        FeedAll(c.feeds);
        TTraceSetting s;
        s.Mode = c.mode;
        s.Analog = c.analog;
        s.Digital = {0, 1, 2, 3};
        s.TriggerChannel = -1;
        s.TriggerPosition = 25;
        s.Sampling = 1;
        Record(s);
        const TTrace &t = dm->trace;
        const int n = TTrace::SampleCount(c.mode);
        ASSERT_EQ(int(t.Samples.size()), n);
        EXPECT_EQ(t.TriggerNo, n * 25 / 100);
        // The ramp on CH1 tells the sample number of the oldest sample.
        const TFeed &first = c.feeds.front();
        const auto *q1 = model->Analog(c.analog[0]);
        int64_t k0 = -1;
        for (int64_t k = 0; k < 1000000 && k0 < 0; ++k)
            if (Narrow(Expected(first, k), q1->length, q1->dataForm == 2) == t.Samples[0].analog[0])
                k0 = k;
        ASSERT_GE(k0, 0);
        for (int ch : c.checked) {
            const TFeed *f = nullptr;
            for (const TFeed &x : c.feeds)
                if (x.channel == ch)
                    f = &x;
            ASSERT_NE(f, nullptr);
            ASSERT_TRUE(t.Possible[size_t(ch - 1)]) << "CH" << ch;
            for (int i = 0; i < n; ++i) {
                int64_t want = Expected(*f, k0 + i);
                if (ch <= 4) {
                    const auto *q = model->Analog(c.analog[size_t(ch - 1)]);
                    want = Narrow(want, q->length, q->dataForm == 2);
                } else {
                    want &= 1;
                }
                ASSERT_EQ(t.Samples[size_t(i)].Value(ch - 1), want) << "CH" << ch << " sample " << i;
            }
        }
    }
    EXPECT_GT(wait.hidden, 0);
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(TraceCaptureTest, EdgeTriggerAtItsPositionAndSignedLevelReadsBack)
{
    FeedAll({{1, "ramp", -100, 1}, {4, "ramp", 0, -1}});
    TTraceSetting s;
    s.Mode = 1;
    s.Analog = {0, 1, 2, 8};
    s.TriggerChannel = 0;
    s.TriggerEdge = 0;
    s.TriggerLevel = 50;
    s.TriggerPosition = 50;
    Record(s);
    EXPECT_EQ(dm->trace.TriggerNo, 128);
    EXPECT_EQ(dm->trace.Samples[128].analog[0], 50);
    EXPECT_EQ(dm->trace.Samples[127].analog[0], 49);

    // A falling edge through a negative level of a signed 1-byte channel.
    s.TriggerChannel = 3;
    s.TriggerEdge = 1;
    s.TriggerLevel = -128;
    s.TriggerPosition = 10;
    dm->trace.Setting = s;
    ASSERT_TRUE(dm->WriteTraceSetting(1));
    EXPECT_EQ(PeekValue(1, 0xFB108, 4), 0xFFFFFF80u);
    dm->trace.Setting = {};
    ASSERT_TRUE(dm->ReadTraceSetting(1));
    EXPECT_EQ(dm->trace.Setting.TriggerLevel, -128);
    EXPECT_EQ(dm->trace.Setting, s);
    ASSERT_TRUE(dm->ClearTrace(1));
    ASSERT_TRUE(dm->StartTrace(1));
    bool read = false;
    ASSERT_TRUE(dm->WaitAndReadTrace(1, read));
    ASSERT_TRUE(read);
    EXPECT_EQ(dm->trace.TriggerNo, 25);
    EXPECT_EQ(dm->trace.Samples[25].analog[3], -128);
    EXPECT_EQ(dm->trace.Samples[24].analog[3], -127);
}

TEST_F(TraceCaptureTest, NoDataStopAndCancel)
{
    // Nothing recorded: the warning, nothing read, the old samples stay.
    const std::vector<TTraceSample> before = dm->trace.Samples;
    ASSERT_EQ(Control("op 1 L00 0x04000000"), "");
    bool read = true;
    ASSERT_TRUE(dm->WaitAndReadTrace(1, read));
    EXPECT_FALSE(read);
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("トレースデータがありません。")});
    EXPECT_EQ(dm->trace.Samples, before);
    ASSERT_EQ(Control("op 1 L00 default"), "");

    // A trigger that never comes: stop ends the sampling with what is there.
    FeedAll({{1, "const", 0, 0}});
    TTraceSetting s;
    s.Mode = 1;
    s.TriggerChannel = 0;
    s.TriggerLevel = 1000;
    dm->trace.Setting = s;
    ASSERT_TRUE(dm->WriteTraceSetting(1));
    ASSERT_TRUE(dm->StartTrace(1));
    wait.onWaiting = [this](int n) {
        if (n == 3)
            wait.stop = true;
    };
    read = false;
    ASSERT_TRUE(dm->WaitAndReadTrace(1, read));
    EXPECT_TRUE(read);
    EXPECT_GE(wait.waiting, 3);
    EXPECT_EQ(dm->trace.Samples[10].analog[0], 0);

    // Cancel leaves without reading.
    ASSERT_TRUE(dm->StartTrace(1));
    wait.waiting = 0;
    wait.onWaiting = [this](int n) {
        if (n == 2)
            wait.cancel = true;
    };
    read = true;
    ASSERT_TRUE(dm->WaitAndReadTrace(1, read));
    EXPECT_FALSE(read);
}

TEST_F(TraceCaptureTest, LostLineDuringTriggerWaitEndsTheWait)
{
    FeedAll({{1, "const", 0, 0}});
    TTraceSetting s;
    s.Mode = 1;
    s.TriggerChannel = 0;
    s.TriggerLevel = 1000;
    dm->trace.Setting = s;
    ASSERT_TRUE(dm->WriteTraceSetting(1));
    ASSERT_TRUE(dm->StartTrace(1));
    wait.onWaiting = [this](int n) {
        if (n == 2)
            Control("fault 1 silent");
    };
    bool read = true;
    EXPECT_FALSE(dm->WaitAndReadTrace(1, read));
    EXPECT_FALSE(read);
    EXPECT_GT(wait.hidden, 0);
    EXPECT_FALSE(env->AxisInUse(1));
}

TEST_F(TraceCaptureTest, MonitorModeFillsTheRingWithGapsForLostSamples)
{
    FeedAll({{1, "ramp", -3, 1}, {2, "const", 7, 0}, {5, "square", 0, 1}});
    TTraceSetting s;
    s.Mode = 0;
    s.Sampling = 200; // 50 ms
    s.Analog = {0, 0, 0, 0};
    dm->trace.Setting = s;
    ASSERT_TRUE(dm->WriteTraceSetting(1));
    ASSERT_TRUE(dm->StartTrace(1));
    dm->ClearLocal();
    int appended = 0;
    const auto end = dm->Monitor(1, [&] { return appended < 4; }, [&] {
        if (++appended == 2)
            Control("trace 1 skip 5");
    });
    EXPECT_EQ(end, TDMTrace::TMonitorEnd::Stopped);
    const TTrace &t = dm->trace;
    int gaps = 0, values = 0;
    for (int j = 0; j < t.Start; ++j) {
        if (t.Samples[size_t(j)].IsGap(0)) {
            ++gaps;
            EXPECT_TRUE(t.Samples[size_t(j)].IsGap(4));
        } else {
            ++values;
            EXPECT_EQ(t.Samples[size_t(j)].analog[1], 7);
        }
    }
    EXPECT_GE(gaps, 4); // the counter jumps ahead by 5
    EXPECT_EQ(values, 4);
    EXPECT_EQ(t.Samples[size_t(t.Start)].analog[0], 0); // cleared part of the ring

    // Too many lost: the warning and the loop ends.
    env->UnfitLevel = 3;
    appended = 0;
    const auto end2 = dm->Monitor(1, [&] { return appended < 50; }, [&] {
        if (++appended == 1)
            Control("trace 1 skip 5");
    });
    EXPECT_EQ(end2, TDMTrace::TMonitorEnd::TooManyLost);
    ASSERT_EQ(messages.entries.size(), 1);
    EXPECT_TRUE(messages.entries[0].text.startsWith(QStringLiteral("現在のボーレート")));
}
