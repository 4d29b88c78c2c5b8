#pragma once

#include "SampleDatabase.h"

#include "app/DMEnvironment.h"
#include "comm/DMTran.h"
#include "comm/TranAmp.h"
#include "app/AppContext.h"
#include "sim/SimDatabase.h"
#include "sim/SimLine.h"
#include "sim/SimServer.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <thread>
#include <vector>

// The simulator in this process (its own thread), the engine on its
// pseudo-terminal at 57600 bit/s, and the modules the parameter windows
// work with. The axes are identified as the axes check would: their codes
// go into the settings module.
class TSimFixture : public TSampleDatabase
{
protected:
    struct TAxis {
        int number;
        int code;
    };
    // Axes 1 and 2 model A, 3 model B (same group), 4 model C (another
    // group), 5 a code the database does not know.
    static std::vector<TAxis> DefaultAxes() { return {{1, CodeA}, {2, CodeA}, {3, CodeB}, {4, CodeC}, {5, CodeUnknown}}; }

    void SetUp() override;
    void TearDown() override;
    virtual std::vector<TAxis> Axes() const { return DefaultAxes(); }

    // One control command; the reply without "ok " (empty after "error").
    std::string Control(const std::string &command);
    // Memory of an axis in address order.
    QByteArray Peek(int axis, int address, int count);
    void Poke(int axis, int address, const QByteArray &bytes);
    // Little-endian value of length bytes.
    quint32 PeekValue(int axis, int address, int length);

    QTemporaryDir dir;
    std::unique_ptr<TDMEnvironment> env;
    TSimDatabase simDatabase;
    TSimLine line;
    std::unique_ptr<TSimServer> server;
    std::thread serverThread;
    int control = -1;
    std::string controlBuffer;
    TTranAmp engine;
    std::unique_ptr<TDMTran> tran;
    std::unique_ptr<TAppContext> ctx;
    bool wentOffline = false;
};
