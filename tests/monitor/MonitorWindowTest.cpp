// The monitor window against the simulator, on the offscreen platform.
#include "Shots.h"
#include "SimFixture.h"
#include "support/MessageRecorder.h"

#include "monitor/FMMonitor.h"
#include "monitor/FMMonitorGrid.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

const QString NoAxis = QStringLiteral("通信可能なサーボアンプが存在しません。\r\nモニタ表示を終了します。");

void Settle(int ms = 30)
{
    QElapsedTimer t;
    t.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    while (t.elapsed() < ms);
}

class MonitorWindow : public TSimFixture
{
protected:
    std::unique_ptr<TFMMonitor> Open()
    {
        auto w = std::make_unique<TFMMonitor>(*ctx);
        w->show();
        Settle();
        return w;
    }
    static int RowOf(TFMMonitor &w, const QString &symbol)
    {
        for (int r = 0; r < w.Grid().rowCount(); ++r)
            if (w.Grid().Cell(r, TDMMonitor::colSymbol) == symbol)
                return r;
        return -1;
    }
    static QString Value(TFMMonitor &w, const QString &symbol)
    {
        return w.Grid().Cell(RowOf(w, symbol), TDMMonitor::colNow);
    }
    static QString Unit(TFMMonitor &w, const QString &symbol)
    {
        return w.Grid().Cell(RowOf(w, symbol), TDMMonitor::colUnit);
    }
    void Pin(int axis, const char *symbol, qint64 raw)
    {
        ASSERT_EQ(Control("monitor " + std::to_string(axis) + " " + symbol + " " + std::to_string(raw)), "")
            << symbol;
    }
    TMessageRecorder messages;
};

TEST_F(MonitorWindow, ShowsTheAmplifierValuesThroughTheMonitorRules)
{
    Poke(1, 0xF84A4, QByteArray::fromHex("0302"));
    const struct {
        const char *symbol;
        qint64 raw;
        QString text;
    } cases[] = {
        {"VFB", -1500, "-1500"},          // signed word
        {"TCMD", 0xFFF6, "-1.0"},         // signed fixed point, one place
        {"TCMD", -5001, "Under minimum"}, // below MIN_VALUE
        {"FBP", 0xFFFFFFFF, "4294967295"},
        {"LOAD", 1234, "123.4"},          // unsigned fixed point
        {"LOAD", 5001, "Over maximum"},
        {"DIN", 26, "001A H"},
        {"DOUT", 0xA5, "A5 H"},           // byte at an even address
        {"MODE", 2, "トルク"},            // byte at an odd address, code text
        {"ETMP", 0xC8, "Under minimum"},  // byte -56 below -40
        {"VDSP", -1500, "-1.500"},        // amplifier scale, 3 places
        {"PDSP", 12345, "123.45"},        // amplifier scale, 2 places
    };
    for (const auto &c : cases) {
        Pin(1, c.symbol, c.raw);
        auto w = Open();
        w->Tick();
        EXPECT_EQ(Value(*w, c.symbol), c.text) << c.symbol << " " << c.raw;
    }
    // A code its table does not list is unshowable (no range check for codes).
    Pin(1, "STAT", 9);
    auto w = Open();
    w->Tick();
    EXPECT_EQ(Value(*w, "STAT"), "?????");
    EXPECT_EQ(w->Grid().Cell(RowOf(*w, "ATMP"), TDMMonitor::colPage), "1A");
}

TEST_F(MonitorWindow, AmplifierScaleAndUnitFollowTheSettingBytes)
{
    Pin(1, "VDSP", -1500);
    const struct {
        const char *bytes; // 0xF84A4, 0xF84A5, 0xF84A6
        QString speed, speedUnit, positionUnit;
    } cases[] = {
        {"030000", "-1.500", "min-1", "pulse"},
        {"030101", "-1.500", "mm/s", "mm"},
        {"000002", "-1500", "deg/s", "deg"},
        {"0B0003", "-1500", "min-1", "pulse"}, // 11 places and selector 3 count as 0
    };
    for (const auto &c : cases) {
        Poke(1, 0xF84A4, QByteArray::fromHex(c.bytes));
        auto w = Open();
        w->Tick();
        EXPECT_EQ(Value(*w, "VDSP"), c.speed) << c.bytes;
        EXPECT_EQ(Unit(*w, "VDSP"), c.speedUnit) << c.bytes;
        EXPECT_EQ(Unit(*w, "PDSP"), c.positionUnit) << c.bytes;
        EXPECT_EQ(Unit(*w, "VFB"), "min-1") << c.bytes;
    }
}

TEST_F(MonitorWindow, FollowsTheMotorAndTheAxisButtons)
{
    ASSERT_EQ(Control("motion 2 speed 300"), "");
    Pin(1, "VFB", 7);
    auto w = Open();
    w->Tick();
    EXPECT_EQ(Value(*w, "VFB"), "7");
    EXPECT_TRUE(w->sbtnAxis[0]->isChecked());
    EXPECT_TRUE(w->sbtnAxis[4]->isEnabled());
    EXPECT_FALSE(w->sbtnAxis[5]->isEnabled());

    w->sbtnAxis[1]->click();
    EXPECT_EQ(w->Axis(), 2);
    // The motor of axis 2 runs up towards 300 r/min.
    QElapsedTimer t;
    t.start();
    while (Value(*w, "VFB").toInt() < 250 && t.elapsed() < 3000)
        Settle(50);
    EXPECT_GE(Value(*w, "VFB").toInt(), 250);
    EXPECT_LE(Value(*w, "VFB").toInt(), 300);
    EXPECT_TRUE(w->Running());
    Shot(w.get(), QStringLiteral("monitor"));
}

TEST_F(MonitorWindow, RefreshRewritesOnlyTheCellsThatChanged)
{
    auto w = Open();
    w->Tick();
    const int rows = w->Grid().rowCount();
    ASSERT_GT(rows, 20);
    auto snapshot = [&] {
        QStringList cells;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < TDMMonitor::ColumnCount; ++c)
                cells << w->Grid().Cell(r, c);
        return cells;
    };
    for (int round = 0; round < 3; ++round) {
        if (round == 1)
            Pin(1, "VFB", 1234);
        if (round == 2)
            Pin(1, "DIN", 3);
        const QStringList before = snapshot();
        const int writes = w->Grid().CellWrites();
        w->Tick();
        const QStringList after = snapshot();
        int differing = 0;
        for (int i = 0; i < before.size(); ++i)
            differing += before[i] != after[i];
        EXPECT_EQ(w->Grid().CellWrites() - writes, differing) << round;
        if (round > 0) {
            EXPECT_GE(differing, 1) << round;
        }
    }
    EXPECT_EQ(Value(*w, "DIN"), "0003 H");
}

TEST_F(MonitorWindow, SilentAxisMovesTheWindowToTheNextAxisInUse)
{
    Pin(2, "VFB", -42);
    auto w = Open();
    w->Tick();
    ASSERT_EQ(w->Axis(), 1);
    ASSERT_EQ(Control("fault 1 silent"), "");
    w->Tick();
    EXPECT_EQ(w->Axis(), 2);
    EXPECT_TRUE(w->sbtnAxis[1]->isChecked());
    EXPECT_FALSE(w->sbtnAxis[0]->isEnabled());
    EXPECT_EQ(Value(*w, "VFB"), "-42");
    EXPECT_EQ(messages.Count(TMsgKind::Warning), 1); // the transaction layer's
    EXPECT_FALSE(messages.Texts().contains(NoAxis));
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->Running());

    // Axis 4 is another model: its rows replace those of model A.
    for (int axis : {2, 3})
        env->SetAmpCode(axis, -1);
    w->Tick();
    EXPECT_EQ(w->Axis(), 4);
    EXPECT_EQ(w->Module().RowCount(), w->Grid().rowCount());
}

TEST_F(MonitorWindow, LastAxisFallingSilentEndsTheMonitor)
{
    for (int axis = 2; axis <= 5; ++axis)
        env->SetAmpCode(axis, -1);
    auto w = Open();
    w->Tick();
    ASSERT_EQ(Control("fault 1 silent"), "");
    w->Tick();
    EXPECT_EQ(w->Axis(), -1);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->Running());
    EXPECT_TRUE(wentOffline);
    ASSERT_EQ(messages.entries.size(), 2);
    EXPECT_EQ(messages.entries[1].text, NoAxis);
}

TEST_F(MonitorWindow, ClosingDuringATickStopsThePolling)
{
    auto w = Open();
    w->Tick();
    // The close arrives while the tick lets pending events run.
    QTimer::singleShot(0, w.get(), [&] { w->actExit->trigger(); });
    w->Tick();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->Running());
    EXPECT_FALSE(w->tmrAmpRead->isActive());
    Settle(300);
    EXPECT_FALSE(w->tmrAmpRead->isActive());
}

TEST_F(MonitorWindow, ModelWithoutDisplayedItemsKeepsPollingWithAnEmptyGrid)
{
    auto w = Open();
    w->sbtnAxis[4]->click(); // the code the database does not know
    w->Tick();
    EXPECT_EQ(w->Axis(), 5);
    EXPECT_EQ(w->Grid().rowCount(), 0);
    EXPECT_TRUE(w->Running());
    EXPECT_TRUE(w->tmrAmpRead->isActive());
    EXPECT_TRUE(messages.entries.isEmpty());
}

} // namespace
