// The in-memory table engine: filters in the forms the windows write, orders,
// locate, lookups with cached values and display-language names.
#include "defdb/DataSet.h"

#include <gtest/gtest.h>

namespace {

// A small AMP_PARA-like table: model, address, parameter, group, page, a text.
void Fill(TDataSet &t)
{
    t.AddField(QStringLiteral("AMPLIFIER_ID"), TFieldType::Integer, 0, true);
    t.AddField(QStringLiteral("ADDRESS"), TFieldType::Integer, 0, true);
    t.AddField(QStringLiteral("PARAMETER_ID"), TFieldType::Integer, 0, true);
    t.AddField(QStringLiteral("MODE_NO"), TFieldType::Integer);
    t.AddField(QStringLiteral("PAGE_NO"), TFieldType::Integer);
    t.AddField(QStringLiteral("SYMBOL"), TFieldType::Text, 10);
    t.AddIndex(QStringLiteral("INDEX_ID_ADDRESS"), QStringLiteral("AMPLIFIER_ID;ADDRESS"), true, true);
    t.AddIndex(QStringLiteral("INDEX_ID_MODE_PAGE_NO"), QStringLiteral("AMPLIFIER_ID;MODE_NO;PAGE_NO"));
    t.CreateDataSet();
    struct R {
        int model, address, param;
        TValue mode, page;
        const char *symbol;
    };
    const R rows[] = {
        {1, 0x10, 1, 0, 1, "KP"},   {1, 0x00, 2, 0, 0, "CTRL"}, {1, 0x20, 3, 1, 0, "VFF"},
        {1, 0x30, 4, {}, {}, "SYS"}, {2, 0x00, 2, 0, 0, "CTRL"}, {2, 0x10, 5, 0, {}, "it's"},
    };
    for (const R &r : rows) {
        const int id = t.AppendRow();
        t.SetRowValue(id, QStringLiteral("AMPLIFIER_ID"), r.model);
        t.SetRowValue(id, QStringLiteral("ADDRESS"), r.address);
        t.SetRowValue(id, QStringLiteral("PARAMETER_ID"), r.param);
        t.SetRowValue(id, QStringLiteral("MODE_NO"), r.mode);
        t.SetRowValue(id, QStringLiteral("PAGE_NO"), r.page);
        t.SetRowValue(id, QStringLiteral("SYMBOL"), QString::fromUtf8(r.symbol));
    }
}

QString Symbols(TDataSet &t)
{
    QStringList out;
    for (t.First(); !t.Eof(); t.Next())
        out.append(t.Field(QStringLiteral("SYMBOL")).AsString());
    return out.join(QLatin1Char(' '));
}

struct TFilterCase {
    const char *filter;
    const char *symbols; // in load order
};

class FilterForms : public ::testing::TestWithParam<TFilterCase>
{};

TEST_P(FilterForms, SelectTheRows)
{
    TDataSet t;
    Fill(t);
    EXPECT_TRUE(t.SetFilter(QString::fromUtf8(GetParam().filter)));
    EXPECT_EQ(Symbols(t).toStdString(), GetParam().symbols);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FilterForms,
    ::testing::Values(
        TFilterCase{"(AMPLIFIER_ID=1)", "KP CTRL VFF SYS"}, TFilterCase{"AMPLIFIER_ID=2", "CTRL it's"},
        TFilterCase{"(AMPLIFIER_ID=-1)", ""}, TFilterCase{"(16<=ADDRESS) and (ADDRESS<=32)", "KP VFF it's"},
        TFilterCase{"ADDRESS < 16", "CTRL CTRL"}, TFilterCase{"ADDRESS >= 48", "SYS"},
        TFilterCase{"ADDRESS > 32", "SYS"},
        // A comparison with a null field is false, also for "<>".
        TFilterCase{"MODE_NO <> 0", "VFF"}, TFilterCase{"(MODE_NO IS NULL)", "SYS"},
        TFilterCase{"MODE_NO is not null", "KP CTRL VFF CTRL it's"},
        TFilterCase{"(AMPLIFIER_ID=1) and (MODE_NO IS NOT NULL) and (PAGE_NO IS NOT NULL) and (PARAMETER_ID In (1,3,5))",
                    "KP VFF"},
        TFilterCase{"(AMPLIFIER_ID=1) and (MODE_NO=0) and (MODE_NO IS NOT NULL) and (PAGE_NO IS NOT NULL) and (PARAMETER_ID In (1,2,3))",
                    "KP CTRL"},
        TFilterCase{"PARAMETER_ID In (-1)", ""}, TFilterCase{"PARAMETER_ID In ()", ""},
        TFilterCase{"PARAMETER_ID in (2)", "CTRL CTRL"}, TFilterCase{"SYMBOL = 'CTRL'", "CTRL CTRL"},
        TFilterCase{"SYMBOL='it''s'", "it's"}, TFilterCase{"SYMBOL In ('KP', 'SYS')", "KP SYS"},
        TFilterCase{"(PAGE_NO = 0) or (MODE_NO IS NULL)", "CTRL VFF SYS CTRL"},
        TFilterCase{"not (AMPLIFIER_ID = 1)", "CTRL it's"}, TFilterCase{"ADDRESS = '16'", "KP it's"},
        TFilterCase{"", "KP CTRL VFF SYS CTRL it's"}));

TEST(DataSetFilter, ABrokenFilterLetsNoRowThrough)
{
    TDataSet t;
    Fill(t);
    for (const char *bad : {"(AMPLIFIER_ID=1", "NO_SUCH_FIELD = 1", "ADDRESS == 1", "ADDRESS In (1,", "ADDRESS IS 1",
                            "SYMBOL = 'open", "ADDRESS = 'x'", "1.2.3 = ADDRESS", "and", "ADDRESS ! 3"}) {
        EXPECT_FALSE(t.SetFilter(QString::fromLatin1(bad))) << bad;
        EXPECT_TRUE(t.IsEmpty()) << bad;
    }
    t.ClearFilter();
    EXPECT_EQ(t.RecordCount(), 6);
}

TEST(DataSetFilter, PredicateAndReappliedAfterChanges)
{
    TDataSet t;
    Fill(t);
    const int address = t.FieldIndex(QStringLiteral("ADDRESS"));
    t.SetFilter([address](const TDataSet &ds, int row) { return ds.RowValue(row, address).AsInteger() == 0; });
    EXPECT_EQ(Symbols(t).toStdString(), "CTRL CTRL");
    EXPECT_TRUE(t.Filtered());
    ASSERT_TRUE(t.SetFilter(QStringLiteral("MODE_NO=1")));
    t.SetRowValue(0, QStringLiteral("MODE_NO"), 1);
    EXPECT_EQ(t.RecordCount(), 1); // the view is rebuilt only on request
    t.Refresh();
    EXPECT_EQ(Symbols(t).toStdString(), "KP VFF");
}

TEST(DataSetOrder, IndexesOrderWithNullsFirst)
{
    TDataSet t;
    Fill(t);
    ASSERT_TRUE(t.SetIndexName(QStringLiteral("INDEX_ID_ADDRESS")));
    EXPECT_EQ(Symbols(t).toStdString(), "CTRL KP VFF SYS CTRL it's");
    ASSERT_TRUE(t.SetIndexName(QStringLiteral("index_id_mode_page_no")));
    EXPECT_EQ(Symbols(t).toStdString(), "SYS CTRL KP VFF it's CTRL");
    EXPECT_FALSE(t.SetIndexName(QStringLiteral("INDEX_NONE")));
    EXPECT_EQ(t.IndexName(), QStringLiteral("INDEX_ID_MODE_PAGE_NO"));
    ASSERT_TRUE(t.SetIndexFieldNames(QStringLiteral("SYMBOL")));
    EXPECT_EQ(Symbols(t).toStdString(), "CTRL CTRL KP SYS VFF it's");
    ASSERT_TRUE(t.SetIndexName(QString()));
    EXPECT_EQ(Symbols(t).toStdString(), "KP CTRL VFF SYS CTRL it's");
}

TEST(DataSetCursor, LocateOnOneAndTwoFieldsWithinTheView)
{
    TDataSet t;
    Fill(t);
    ASSERT_TRUE(t.Locate(QStringLiteral("AMPLIFIER_ID;ADDRESS"), {2, 0x10}));
    EXPECT_EQ(t.Field(QStringLiteral("SYMBOL")).AsString(), QStringLiteral("it's"));
    EXPECT_FALSE(t.Locate(QStringLiteral("AMPLIFIER_ID;ADDRESS"), {2, 0x20}));
    EXPECT_EQ(t.Field(QStringLiteral("SYMBOL")).AsString(), QStringLiteral("it's")); // cursor kept
    EXPECT_FALSE(t.Locate(QStringLiteral("AMPLIFIER_ID;NOPE"), {2, 0x10}));
    EXPECT_FALSE(t.Locate(QStringLiteral("AMPLIFIER_ID;ADDRESS"), {2}));
    // Null matches only null.
    ASSERT_TRUE(t.Locate(QStringLiteral("MODE_NO"), TValue()));
    EXPECT_EQ(t.Field(QStringLiteral("SYMBOL")).AsString(), QStringLiteral("SYS"));
    // Locate searches the filtered rows only.
    ASSERT_TRUE(t.SetFilter(QStringLiteral("AMPLIFIER_ID=1")));
    EXPECT_FALSE(t.Locate(QStringLiteral("PARAMETER_ID"), 5));
    ASSERT_TRUE(t.Locate(QStringLiteral("PARAMETER_ID"), 2));
    EXPECT_EQ(t.Field(QStringLiteral("ADDRESS")).AsInteger(), 0);
}

TEST(DataSetCursor, WalksAndStaysOnEmptyViews)
{
    TDataSet t;
    Fill(t);
    ASSERT_TRUE(t.SetFilter(QStringLiteral("AMPLIFIER_ID=2")));
    t.First();
    EXPECT_TRUE(t.Bof());
    EXPECT_FALSE(t.Eof());
    t.Next();
    EXPECT_EQ(t.RecNo(), 1);
    t.Next();
    EXPECT_TRUE(t.Eof());
    EXPECT_EQ(t.RecNo(), 1); // stays on the last row
    t.Prior();
    t.Prior();
    EXPECT_TRUE(t.Bof());
    ASSERT_TRUE(t.SetFilter(QStringLiteral("AMPLIFIER_ID=9")));
    t.First();
    EXPECT_TRUE(t.Eof());
    EXPECT_EQ(t.RecNo(), -1);
    EXPECT_EQ(t.CurrentRowId(), -1);
    EXPECT_TRUE(t.Field(QStringLiteral("SYMBOL")).IsNull());
    EXPECT_FALSE(t.SetField(QStringLiteral("SYMBOL"), QStringLiteral("x")));
    t.Next();
    t.Last();
    EXPECT_TRUE(t.Eof());
}

TEST(DataSetLookup, CachedValuesFollowTheKeyAndTheLanguage)
{
    TDataSet type, param, amp;
    type.AddField(QStringLiteral("ID"), TFieldType::AutoInc);
    type.AddField(QStringLiteral("LEVEL"), TFieldType::Integer, 0, true);
    type.CreateDataSet();
    for (int level : {1, 200}) {
        const int r = type.AppendRow();
        type.SetRowValue(r, QStringLiteral("LEVEL"), level);
    }
    param.AddField(QStringLiteral("ID"), TFieldType::AutoInc);
    param.AddField(QStringLiteral("LENGTH"), TFieldType::SmallInt);
    param.AddField(QStringLiteral("TYPE_ID"), TFieldType::Integer);
    param.AddField(QStringLiteral("NAME_J"), TFieldType::Text, 80);
    param.AddField(QStringLiteral("NAME_E"), TFieldType::Text, 80);
    param.AddLookupField(QStringLiteral("LEVEL"), QStringLiteral("TYPE_ID"), &type, QStringLiteral("ID"));
    param.CreateDataSet();
    const char *names[][2] = {{"速度", "Speed"}, {"電流", "Current"}};
    for (int i = 0; i < 2; ++i) {
        const int r = param.AppendRow();
        param.SetRowValue(r, QStringLiteral("LENGTH"), 2 * (i + 1));
        param.SetRowValue(r, QStringLiteral("TYPE_ID"), i + 1);
        param.SetRowValue(r, QStringLiteral("NAME_J"), QString::fromUtf8(names[i][0]));
        param.SetRowValue(r, QStringLiteral("NAME_E"), QString::fromUtf8(names[i][1]));
    }
    ASSERT_TRUE(param.HasField(QStringLiteral("NAME"))); // calculated from NAME_J / NAME_E
    EXPECT_EQ(param.RowValue(1, QStringLiteral("LEVEL")).AsInteger(), 200);
    EXPECT_EQ(param.RowValue(0, QStringLiteral("NAME")).AsString(), QStringLiteral("速度"));
    param.SetJapanese(false);
    EXPECT_EQ(param.RowValue(0, QStringLiteral("NAME")).AsString(), QStringLiteral("Speed"));

    amp.AddField(QStringLiteral("PARAMETER_ID"), TFieldType::Integer, 0, true);
    // LEVEL chains through PARAMETER's own lookup; NAME is the PARAMETER's calculated name.
    amp.AddLookupFields({QStringLiteral("LENGTH"), QStringLiteral("LEVEL"), QStringLiteral("NAME")},
                        QStringLiteral("PARAMETER_ID"), &param, QStringLiteral("ID"));
    amp.CreateDataSet();
    for (int p : {2, 1, 7}) {
        const int r = amp.AppendRow();
        amp.SetRowValue(r, QStringLiteral("PARAMETER_ID"), p);
    }
    EXPECT_EQ(amp.RowValue(0, QStringLiteral("LENGTH")).AsInteger(), 4);
    EXPECT_EQ(amp.RowValue(0, QStringLiteral("LEVEL")).AsInteger(), 200);
    EXPECT_EQ(amp.RowValue(1, QStringLiteral("NAME")).AsString(), QStringLiteral("Speed"));
    EXPECT_TRUE(amp.RowValue(2, QStringLiteral("LENGTH")).IsNull()); // no such parameter
    ASSERT_TRUE(amp.SetFilter(QStringLiteral("LEVEL In (200)")));
    EXPECT_EQ(amp.RecordCount(), 1);

    // Cached: a change in the looked-up table shows after RefreshLookups.
    param.SetRowValue(1, QStringLiteral("LENGTH"), 1);
    EXPECT_EQ(amp.RowValue(0, QStringLiteral("LENGTH")).AsInteger(), 4);
    amp.RefreshLookups();
    EXPECT_EQ(amp.RowValue(0, QStringLiteral("LENGTH")).AsInteger(), 1);
    // Changing the key recomputes the row at once.
    amp.SetRowValue(2, QStringLiteral("PARAMETER_ID"), 1);
    EXPECT_EQ(amp.RowValue(2, QStringLiteral("LENGTH")).AsInteger(), 2);
}

TEST(DataSetRows, AppendNumbersAutoincAndKeepsCellsInTheFieldsForm)
{
    TDataSet t;
    t.AddField(QStringLiteral("ID"), TFieldType::AutoInc);
    t.AddField(QStringLiteral("N"), TFieldType::SmallInt);
    t.AddField(QStringLiteral("F"), TFieldType::Float);
    t.AddField(QStringLiteral("T"), TFieldType::Text, 5);
    t.CreateDataSet();
    EXPECT_EQ(t.AppendRow(), 0);
    EXPECT_EQ(t.AppendRow(), 1);
    EXPECT_EQ(t.RowValue(1, QStringLiteral("ID")).AsInteger(), 2);
    EXPECT_EQ(t.Field(QStringLiteral("ID")).AsInteger(), 2); // the cursor is on the new row
    t.SetRowValue(0, QStringLiteral("N"), QStringLiteral("12"));
    t.SetRowValue(0, QStringLiteral("F"), 3);
    t.SetRowValue(0, QStringLiteral("T"), 42);
    EXPECT_TRUE(t.RowValue(0, QStringLiteral("N")).IsInteger());
    EXPECT_TRUE(t.RowValue(0, QStringLiteral("F")).IsFloat());
    EXPECT_EQ(t.RowValue(0, QStringLiteral("T")).AsString(), QStringLiteral("42"));
    EXPECT_TRUE(t.RowValue(5, 0).IsNull());
    EXPECT_TRUE(t.RowValue(0, 99).IsNull());
    t.EmptyDataSet();
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_TRUE(t.Active());
}

TEST(DataSetValue, ComparisonsAndConversions)
{
    EXPECT_EQ(TValue(2), TValue(2.0));
    EXPECT_LT(TValue::Compare(TValue(), TValue(-5)), 0);
    EXPECT_LT(TValue::Compare(TValue(5), TValue(QStringLiteral("5"))), 0);
    EXPECT_NE(TValue(), TValue(0));
    EXPECT_EQ(TValue(QStringLiteral(" 17 ")).AsInteger(), 17);
    EXPECT_EQ(TValue(QStringLiteral("x")).AsInteger(), 0);
    EXPECT_EQ(TValue(2.9).AsInteger(), 2);
    EXPECT_EQ(TValue(1e300).AsInt64(), 0);
    EXPECT_EQ(TValue().AsString(), QString());
}

} // namespace
