// The monitor's own display rules, case by case.
#include "monitor/DMMultiMonitor.h"
#include "monitor/MonitorText.h"

#include <gtest/gtest.h>

namespace {

struct TCase {
    const char *what;
    int length;
    int form;
    std::optional<int> power;
    qint32 min, max;
    std::optional<qint32> raw;
    TDecimalSettings settings;
    QString text;
};

TParamDef Def(const TCase &c)
{
    TParamDef d;
    d.length = c.length;
    d.dataForm = c.form;
    d.perPowerOf10 = c.power;
    d.minValue = c.min;
    d.maxValue = c.max;
    d.tableId = 1;
    d.unit = QStringLiteral("u1");
    d.unit2 = QStringLiteral("u2");
    d.unit3 = QStringLiteral("u3");
    return d;
}

TEST(MonitorText, ValueTextByForm)
{
    const TTableDataRows table = {{1, 2, QStringLiteral("トルク"), {}, {}}};
    const TDecimalSettings none;
    const TDecimalSettings three{3, 0, 0};
    const TCase cases[] = {
        {"not read yet", 2, 2, {}, -100, 100, std::nullopt, none, ""},
        {"length 0", 0, 1, {}, 0, 100, 5, none, ""},
        {"signed word", 2, 2, {}, -10000, 10000, 0xFF9C, none, "-100"},
        {"four ones unsigned", 4, 1, {}, 0, qint32(0xFFFFFFFF), -1, none, "4294967295"},
        {"byte signed below", 1, 2, {}, -40, 120, 200, none, "Under minimum"},
        {"byte signed above", 1, 2, {}, -40, 120, 121, none, "Over maximum"},
        {"byte signed at max", 1, 2, {}, -40, 120, 120, none, "120"},
        {"hex word", 2, 3, {}, 0, 65535, 26, none, "001A H"},
        {"hex byte over", 1, 3, {}, 0, 4, 5, none, "Over maximum"},
        {"fixed unsigned", 2, 4, 1, 0, 5000, 123, none, "12.3"},
        {"fixed unsigned p 0", 2, 4, 0, 0, 5000, 123, none, "?????"},
        {"fixed unsigned no p, out of range", 2, 4, {}, 0, 5, 123, none, "?????"},
        {"fraction", 4, 5, {}, 0, 0, 196609, none, "?????"},
        {"nibbles, no range check", 1, 6, {}, 0, 0, 0x21, none, "21 H"},
        {"code text", 1, 7, {}, 0, 3, 2, none, "トルク"},
        {"code without text", 1, 7, {}, 0, 3, 9, none, "?????"},
        {"fixed signed", 2, 8, 1, -5000, 5000, 0xFFF6, none, "-1.0"},
        {"fixed signed p 0", 2, 8, 0, -5000, 5000, 0xFFF6, none, "-10"},
        {"fixed signed below", 2, 8, 1, -5000, 5000, -5001, none, "Under minimum"},
        {"fixed signed p < 0", 2, 8, -1, -5000, 5000, 1, none, "?????"},
        {"amplifier scale 9", 4, 9, {}, -100000, 100000, -1500, three, "-1.500"},
        {"amplifier scale 9, small", 4, 9, {}, -100000, 100000, 5, three, "0.005"},
        {"amplifier scale 10 whole", 4, 10, {}, -100000, 100000, 42, three, "42"},
        {"amplifier scale 9 over", 4, 9, {}, -100000, 100000, 100001, three, "Over maximum"},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(MonitorText::ValueText(c.raw, Def(c), c.settings, table), c.text) << c.what;
}

TEST(MonitorText, UnitAndPage)
{
    TCase c{"", 4, 9, {}, 0, 0, 0, {}, ""};
    const TParamDef d9 = Def(c);
    c.form = 2;
    const TParamDef d2 = Def(c);
    const struct {
        int selector;
        QString form9, form2;
    } units[] = {{0, "u1", "u1"}, {1, "u2", "u1"}, {2, "u3", "u1"}, {3, "u1", "u1"}};
    for (const auto &u : units) {
        EXPECT_EQ(MonitorText::UnitText(d9, u.selector), u.form9) << u.selector;
        EXPECT_EQ(MonitorText::UnitText(d2, u.selector), u.form2) << u.selector;
    }
    EXPECT_EQ(MonitorText::PageText(26), "1A");
    EXPECT_EQ(MonitorText::PageText(10), "0A");
    EXPECT_EQ(MonitorText::PageText(std::nullopt), "");
}

TEST(MonitorText, SlotValueFromTheWordsOfOneRead)
{
    EXPECT_EQ(TDMMultiMonitor::ValueFromWords(0xF901D, 1, 0x0234, 0), 0x02); // odd: high byte
    EXPECT_EQ(TDMMultiMonitor::ValueFromWords(0xF901C, 1, 0x0234, 0), 0x34); // even: low byte
    EXPECT_EQ(TDMMultiMonitor::ValueFromWords(0xF9000, 2, 0xFF9C, 0x1234), 0xFF9C);
    EXPECT_EQ(TDMMultiMonitor::ValueFromWords(0xF9020, 4, 0xFA24, 0xFFFF), -1500);
    EXPECT_EQ(TDMMultiMonitor::ValueFromWords(0xF9020, 3, 0xFA24, 0xFFFF), 0);
}

} // namespace
