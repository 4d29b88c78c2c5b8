#pragma once

#include "SimFixture.h"
#include "support/MessageRecorder.h"

#include "testrun/DMJog.h"

#include <QString>
#include <QTest>

#include <memory>
#include <string>

// The simulator with the test-run module opened on its tables.
class TTestRunFixture : public TSimFixture
{
protected:
    static constexpr int Common = 0xF9800; // COMMON_ADDRESS of models A and B

    void SetUp() override
    {
        TSimFixture::SetUp();
        dm = std::make_unique<TDMJog>(*ctx);
        dm->OpenTables();
        Control("log 1 clear");
    }

    // The simulator's view of the test-run mode of an axis.
    std::string SimState(int axis = 1) { return Control("testrun " + std::to_string(axis)); }
    bool SimHas(const std::string &part, int axis = 1) { return SimState(axis).find(part) != std::string::npos; }
    // Commands the axis received since the last clear, space-separated.
    std::string Log(int axis = 1) { return " " + Control("log " + std::to_string(axis)) + " "; }
    bool Sent(const std::string &command, int axis = 1) { return Log(axis).find(" " + command + " ") != std::string::npos; }
    // Waits for the condition while the event loop runs.
    template <typename F>
    static bool WaitFor(F condition, int ms = 3000)
    {
        return QTest::qWaitFor(condition, ms);
    }

    TMessageRecorder messages;
    std::unique_ptr<TDMJog> dm;
};
