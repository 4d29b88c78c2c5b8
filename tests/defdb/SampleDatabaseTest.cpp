// The sample database as the later windows see it: through the loader, the
// main tables, the filters of the parameter, monitor, alarm and trace windows.
#include "DefdbTestSupport.h"
#include "defdb/DMMain.h"
#include "defdb/DataSet.h"
#include "defdb/DefSchema.h"
#include "defdb/ParamDefReader.h"
#include "defdb/ValueCodec.h"
#include "support/MessageRecorder.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

class SampleDatabase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TSampleFolder::Get().ok) << TSampleFolder::Get().errors.toStdString();
        ASSERT_FALSE(intf.DatabaseBroken()) << intf.BrokenReason().toStdString();
    }
    int ModelKey(int code)
    {
        TDataSet amp;
        EXPECT_TRUE(intf.LoadTable(amp, QStringLiteral("0_AMPLIFIER.cds")));
        return amp.Locate(QStringLiteral("CODE"), code) ? amp.Field(QStringLiteral("ID")).AsInteger() : -1;
    }
    // IDs of the rows that pass a filter, comma-separated (the level lists
    // of the parameter windows are built like this).
    static QString Ids(TDataSet &t, const QString &filter)
    {
        EXPECT_TRUE(t.SetFilter(filter)) << filter.toStdString();
        QStringList ids;
        for (t.First(); !t.Eof(); t.Next())
            ids.append(t.Field(QStringLiteral("ID")).AsString());
        t.ClearFilter();
        return ids.join(QLatin1Char(','));
    }

    TDMInterface intf{TSampleFolder::Get().BasePath(), TStgManager::TAccess::Shared};
};

TEST_F(SampleDatabase, EveryStreamLoadsWithRows)
{
    for (const TDefSchema::TTable &t : TDefSchema::Tables()) {
        TDataSet table;
        ASSERT_TRUE(intf.LoadTable(table, t.stream)) << t.stream.toStdString();
        EXPECT_GT(table.AllRowCount(), 0) << t.stream.toStdString();
        EXPECT_EQ(int(table.IndexDefs().size()), int(t.indexes.size())) << t.stream.toStdString();
    }
}

TEST_F(SampleDatabase, MainTablesKnowModelsAndSpans)
{
    TDMMain main(intf);
    ASSERT_TRUE(main.LoadMainTables());
    for (int code : {CodeA, CodeB, CodeC})
        EXPECT_TRUE(main.IsKnownCode(code)) << code;
    EXPECT_FALSE(main.IsKnownCode(CodeUnknown));
    EXPECT_EQ(main.ModelKey(CodeUnknown), -1);
    EXPECT_EQ(main.ModelGroup(CodeA), main.ModelGroup(CodeB));
    EXPECT_NE(main.ModelGroup(CodeA), main.ModelGroup(CodeC));

    for (int code : {CodeA, CodeB, CodeC}) {
        const TAddressSpan p = main.ParameterSpan(code);
        ASSERT_TRUE(p.found);
        EXPECT_EQ(p.first, 0xF8000);
        EXPECT_EQ(p.end, 0xF84C8);
        // The restriction stays on the table.
        EXPECT_EQ(main.cdsAmp_Para.Filter(), QStringLiteral("(AMPLIFIER_ID=%1)").arg(main.ModelKey(code)));
        const TAddressSpan m = main.MonitorSpan(code);
        ASSERT_TRUE(m.found);
        EXPECT_EQ(m.first, 0xF9000);
        EXPECT_EQ(m.end, code == CodeC ? 0xF9048 : 0xF904A);
    }
    EXPECT_FALSE(main.ParameterSpan(CodeUnknown).found);
    EXPECT_TRUE(main.cdsAmp_Para.IsEmpty());
    EXPECT_FALSE(main.MonitorSpan(CodeUnknown).found);
    EXPECT_EQ(main.VersionText(), QStringLiteral("TVDB-SAMPLE 1.02"));

    main.CloseMainTables();
    EXPECT_FALSE(main.cdsAmplifier.Active());
    EXPECT_FALSE(main.IsKnownCode(CodeA));
}

// The general parameter window's level lists and its group filter.
TEST_F(SampleDatabase, LevelListsSelectTheGroupsOfEachDisplayLevel)
{
    TDataSet type, param, amp;
    TDefSchema::AddParameterLookups(param, &type);
    TDefSchema::AddAmpParaLookups(amp, param, nullptr, nullptr);
    ASSERT_TRUE(intf.LoadTable(type, QStringLiteral("1_TYPE.cds")));
    ASSERT_TRUE(intf.LoadTable(param, QStringLiteral("1_PARAMETER.cds")));
    ASSERT_TRUE(intf.LoadTable(amp, QStringLiteral("1_AMP_PARA.cds")));
    const int key = ModelKey(CodeA);

    int previous = 0;
    QStringList joined;
    for (int level = 1; level <= 4; ++level) {
        const QString types = Ids(type, QStringLiteral("LEVEL In (%1)").arg(level));
        ASSERT_FALSE(types.isEmpty());
        joined.append(Ids(param, QStringLiteral("TYPE_ID In (%1)").arg(types)));
        ASSERT_TRUE(amp.SetFilter(QStringLiteral("(AMPLIFIER_ID=%1) and (MODE_NO IS NOT NULL) and (PAGE_NO IS NOT NULL)"
                                                 " and (PARAMETER_ID In (%2))").arg(key).arg(joined.join(','))));
        // Each higher display level shows more.
        EXPECT_GT(amp.RecordCount(), previous) << level;
        previous = amp.RecordCount();
        for (amp.First(); !amp.Eof(); amp.Next())
            EXPECT_LE(amp.Field(QStringLiteral("LEVEL")).AsInteger(), level);
    }
    // Group 1 in page order.
    ASSERT_TRUE(amp.SetIndexName(QStringLiteral("INDEX_ID_MODE_PAGE_NO")));
    ASSERT_TRUE(amp.SetFilter(QStringLiteral("(AMPLIFIER_ID=%1) and (MODE_NO=1) and (MODE_NO IS NOT NULL)"
                                             " and (PAGE_NO IS NOT NULL) and (PARAMETER_ID In (%2))").arg(key).arg(joined.join(','))));
    int page = -1;
    for (amp.First(); !amp.Eof(); amp.Next()) {
        EXPECT_EQ(amp.Field(QStringLiteral("MODE_NO")).AsInteger(), 1);
        EXPECT_GT(amp.Field(QStringLiteral("PAGE_NO")).AsInteger(), page);
        page = amp.Field(QStringLiteral("PAGE_NO")).AsInteger();
    }
    EXPECT_GT(page, 3);
}

// Everything the checklist of the sample promises to the later windows.
TEST_F(SampleDatabase, ParameterRowsCoverEveryForm)
{
    TDataSet type, param, amp, tableData, fraction, help, binary;
    TDefSchema::AddParameterLookups(param, &type);
    TDefSchema::AddAmpParaLookups(amp, param, &fraction, &help);
    for (auto [t, s] : {std::pair{&type, "1_TYPE.cds"}, {&param, "1_PARAMETER.cds"}, {&fraction, "1_FRACTION.cds"}, {&help, "1_HELP.cds"},
                        {&amp, "1_AMP_PARA.cds"}, {&tableData, "1_TABLE_DATA.cds"}, {&binary, "1_BINARY_DATA.cds"}})
        ASSERT_TRUE(intf.LoadTable(*t, QString::fromLatin1(s))) << s;
    ASSERT_TRUE(amp.SetFilter(QStringLiteral("AMPLIFIER_ID=%1").arg(ModelKey(CodeA))));

    QSet<int> forms, lengths;
    bool oddByte = false, evenByte = false, nullScale4 = false, zeroScale8 = false, helpBoth = false, missingCode = false;
    bool unitsOnScaled = false, systemWithoutGroup = false;
    for (amp.First(); !amp.Eof(); amp.Next()) {
        const int form = amp.Field(QStringLiteral("DATAFORM")).AsInteger();
        const int length = amp.Field(QStringLiteral("LENGTH")).AsInteger();
        const int address = amp.Field(QStringLiteral("ADDRESS")).AsInteger();
        forms.insert(form);
        lengths.insert(length);
        if (length == 1)
            (address & 1 ? oddByte : evenByte) = true;
        const TValue &scale = amp.Field(QStringLiteral("PER_POWEROF10"));
        nullScale4 |= form == 4 && scale.IsNull();
        zeroScale8 |= form == 8 && !scale.IsNull() && scale.AsInteger() == 0;
        helpBoth |= !amp.Field(QStringLiteral("HELP_TEXT_J")).AsString().isEmpty()
                    && !amp.Field(QStringLiteral("HELP_TEXT_E")).AsString().isEmpty();
        unitsOnScaled |= (form == 9 || form == 10) && !amp.Field(QStringLiteral("UNIT2")).IsNull()
                         && !amp.Field(QStringLiteral("UNIT3")).IsNull();
        systemWithoutGroup |= amp.Field(QStringLiteral("LEVEL")).AsInteger() == 100 && amp.Field(QStringLiteral("MODE_NO")).IsNull();
        if (form == 6) {
            EXPECT_FALSE(amp.Field(QStringLiteral("BINARY_HIGH_NAME")).AsString().isEmpty());
            EXPECT_FALSE(amp.Field(QStringLiteral("BINARY_LOW_NAME_E")).AsString().isEmpty());
            ASSERT_TRUE(binary.SetFilter(QStringLiteral("BINARY_ID=%1").arg(amp.Field(QStringLiteral("BINARY_LOW_ID")).AsInteger())));
            EXPECT_FALSE(binary.IsEmpty());
        }
        if (form == 5) {
            EXPECT_FALSE(amp.Field(QStringLiteral("FRACTION_CODE")).IsNull()) << address;
        }
        if (form == 7) {
            const int table = amp.Field(QStringLiteral("TABLE_ID")).AsInteger();
            ASSERT_TRUE(tableData.SetFilter(QStringLiteral("TABLE_ID=%1").arg(table)));
            EXPECT_FALSE(tableData.IsEmpty());
            for (int v = amp.Field(QStringLiteral("MIN_VALUE")).AsInteger(); v <= amp.Field(QStringLiteral("MAX_VALUE")).AsInteger(); ++v)
                missingCode |= !tableData.Locate(QStringLiteral("TABLE_ID;VALUE"), {table, v});
        }
    }
    EXPECT_EQ(forms, (QSet<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(lengths, (QSet<int>{1, 2, 4}));
    EXPECT_TRUE(oddByte && evenByte);
    EXPECT_TRUE(nullScale4);
    EXPECT_TRUE(zeroScale8);
    EXPECT_TRUE(helpBoth);
    EXPECT_TRUE(missingCode);
    EXPECT_TRUE(unitsOnScaled);
    EXPECT_TRUE(systemWithoutGroup);
    // The decimal-point settings are parameter rows of every model.
    for (int code : {CodeA, CodeB, CodeC}) {
        ASSERT_TRUE(amp.SetFilter(QStringLiteral("AMPLIFIER_ID=%1").arg(ModelKey(code))));
        for (int address : {0xF84A4, 0xF84A5, 0xF84A6})
            EXPECT_TRUE(amp.Locate(QStringLiteral("AMPLIFIER_ID;ADDRESS"), {ModelKey(code), address})) << code << " " << address;
    }
    // Exactly one fraction condition is broken on purpose; the others use both placeholders.
    int withBoth = 0;
    for (fraction.First(); !fraction.Eof(); fraction.Next()) {
        const QString text = fraction.Field(QStringLiteral("TEXT")).AsString();
        withBoth += text.contains(QLatin1String("NUMER")) && text.contains(QLatin1String("DENOM"));
    }
    EXPECT_EQ(withBoth, fraction.RecordCount());
}

TEST_F(SampleDatabase, TypeLevelsOfTheTransfersExist)
{
    TDataSet type;
    ASSERT_TRUE(intf.LoadTable(type, QStringLiteral("1_TYPE.cds")));
    for (int level : {1, 2, 3, 4, 100, 200, 300, 500, 510, 600, 800, 900, 1000})
        EXPECT_TRUE(type.Locate(QStringLiteral("LEVEL"), level)) << level;
    ASSERT_TRUE(type.SetFilter(QStringLiteral("(LEVEL <> 800) and (LEVEL <> 900)")));
    EXPECT_EQ(type.RecordCount(), 11);
    ASSERT_TRUE(type.SetFilter(QStringLiteral("(LEVEL < 500)")));
    EXPECT_EQ(type.RecordCount(), 7);
}

TEST_F(SampleDatabase, MonitorItemsHaveTheirOwnTables)
{
    TDataSet param, amp;
    amp.AddLookupFields({QStringLiteral("LENGTH"), QStringLiteral("DATAFORM"), QStringLiteral("NAME")},
                        QStringLiteral("PARAMETER_ID"), &param, QStringLiteral("ID"));
    ASSERT_TRUE(intf.LoadTable(param, QStringLiteral("2_PARAMETER.cds")));
    ASSERT_TRUE(intf.LoadTable(amp, QStringLiteral("2_AMP_PARA.cds")));
    EXPECT_FALSE(param.HasField(QStringLiteral("TYPE_ID")));
    ASSERT_TRUE(amp.SetIndexName(QStringLiteral("INDEX_ID_PAGE_NO")));
    ASSERT_TRUE(amp.SetFilter(QStringLiteral("(AMPLIFIER_ID=%1) and (PAGE_NO IS NOT NULL)").arg(ModelKey(CodeA))));
    amp.Last();
    EXPECT_GE(amp.Field(QStringLiteral("PAGE_NO")).AsInteger(), 0x1A);
    bool oddByte = false, unsigned4 = false;
    for (amp.First(); !amp.Eof(); amp.Next()) {
        oddByte |= amp.Field(QStringLiteral("LENGTH")).AsInteger() == 1 && (amp.Field(QStringLiteral("ADDRESS")).AsInteger() & 1);
        unsigned4 |= amp.Field(QStringLiteral("LENGTH")).AsInteger() == 4 && amp.Field(QStringLiteral("DATAFORM")).AsInteger() == 1;
        EXPECT_FALSE(amp.Field(QStringLiteral("NAME")).AsString().isEmpty());
    }
    EXPECT_TRUE(oddByte);
    EXPECT_TRUE(unsigned4);
    ASSERT_TRUE(amp.SetFilter(QStringLiteral("(AMPLIFIER_ID=%1) and (PAGE_NO IS NULL)").arg(ModelKey(CodeA))));
    EXPECT_GT(amp.RecordCount(), 0);
}

TEST_F(SampleDatabase, PerModelTablesFollowTheModels)
{
    TDataSet model, system, testrun, alarm, alarmData, state, trace, analog;
    for (auto [t, s] : {std::pair{&model, "3_MODEL.cds"}, {&system, "3_SYSTEM.cds"}, {&testrun, "3_TESTRUN.cds"},
                        {&alarm, "3_ALARM.cds"}, {&alarmData, "3_ALARM_DATA.cds"}, {&state, "3_STATE_DATA.cds"},
                        {&trace, "3_TRACE.cds"}, {&analog, "3_ANALOG_DATA.cds"}})
        ASSERT_TRUE(intf.LoadTable(*t, QString::fromLatin1(s))) << s;
    const int a = ModelKey(CodeA), c = ModelKey(CodeC);

    ASSERT_TRUE(model.Locate(QStringLiteral("AMPLIFIER_ID"), a));
    EXPECT_FALSE(model.Field(QStringLiteral("VERSION_ADDRESS")).IsNull());
    ASSERT_TRUE(model.Locate(QStringLiteral("AMPLIFIER_ID"), c));
    EXPECT_TRUE(model.Field(QStringLiteral("VERSION_ADDRESS")).IsNull());

    EXPECT_FALSE(system.Locate(QStringLiteral("AMPLIFIER_ID"), c));
    ASSERT_TRUE(system.Locate(QStringLiteral("AMPLIFIER_ID"), a));
    system.SetJapanese(false);
    EXPECT_EQ(system.Field(QStringLiteral("CNTPWRVL_TEXT")).AsString(), QStringLiteral("24 V DC"));
    system.SetJapanese(true);
    EXPECT_EQ(system.Field(QStringLiteral("CNTPWRVL_TEXT")).AsString(), QStringLiteral("DC24V"));

    ASSERT_TRUE(testrun.Locate(QStringLiteral("AMPLIFIER_ID"), a));
    EXPECT_FALSE(testrun.Field(QStringLiteral("COMMON_ADDRESS")).IsNull());
    ASSERT_TRUE(testrun.Locate(QStringLiteral("AMPLIFIER_ID"), c));
    EXPECT_TRUE(testrun.Field(QStringLiteral("COMMON_ADDRESS")).IsNull());

    ASSERT_TRUE(alarm.Locate(QStringLiteral("AMPLIFIER_ID"), a));
    ASSERT_TRUE(state.SetFilter(QStringLiteral("STATE_ID=%1").arg(alarm.Field(QStringLiteral("STATE_ID")).AsInteger())));
    EXPECT_EQ(state.RecordCount(), 16);
    ASSERT_TRUE(alarmData.SetFilter(QStringLiteral("ALARM_ID=%1").arg(alarm.Field(QStringLiteral("ALARM_ID")).AsInteger())));
    ASSERT_TRUE(alarmData.Locate(QStringLiteral("VALUE"), 0x10));
    EXPECT_EQ(alarmData.Field(QStringLiteral("NAME")).AsString(), QStringLiteral("過電流"));

    EXPECT_TRUE(trace.Locate(QStringLiteral("AMPLIFIER_ID"), a));
    EXPECT_DOUBLE_EQ(trace.Field(QStringLiteral("SAMPLING_BASE")).AsFloat(), 0.25);
    ASSERT_TRUE(trace.Locate(QStringLiteral("AMPLIFIER_ID"), ModelKey(CodeB)));
    EXPECT_DOUBLE_EQ(trace.Field(QStringLiteral("SAMPLING_BASE")).AsFloat(), 0.0625);
    EXPECT_FALSE(trace.Locate(QStringLiteral("AMPLIFIER_ID"), c));

    ASSERT_TRUE(analog.SetFilter(QStringLiteral("(ANALOG_ID=1) and (0<=VALUE) and (VALUE<=11)")));
    QSet<int> lengths, forms;
    for (analog.First(); !analog.Eof(); analog.Next()) {
        lengths.insert(analog.Field(QStringLiteral("LENGTH")).AsInteger());
        forms.insert(analog.Field(QStringLiteral("DATAFORM")).AsInteger());
    }
    EXPECT_EQ(lengths, (QSet<int>{1, 2, 4}));
    EXPECT_EQ(forms, (QSet<int>{1, 2}));
}

} // namespace

#include "defdb/ParamDefReader.h"

namespace {

// The records the value codec takes, read from the sample's tables.
TEST_F(SampleDatabase, ParameterRowsBecomeCodecRecords)
{
    TDataSet type, param, amp, fraction, tableData, binary;
    TDefSchema::AddParameterLookups(param, &type);
    TDefSchema::AddAmpParaLookups(amp, param, &fraction, nullptr);
    for (auto [t, s] : {std::pair{&type, "1_TYPE.cds"}, {&param, "1_PARAMETER.cds"}, {&fraction, "1_FRACTION.cds"},
                        {&amp, "1_AMP_PARA.cds"}, {&tableData, "1_TABLE_DATA.cds"}, {&binary, "1_BINARY_DATA.cds"}})
        ASSERT_TRUE(intf.LoadTable(*t, QString::fromLatin1(s))) << s;
    amp.SetJapanese(false);
    param.SetJapanese(false);
    amp.RefreshLookups(); // the English names of PARAMETER
    const TParamDefReader reader(amp);
    const int key = ModelKey(CodeA);

    ASSERT_TRUE(amp.Locate(QStringLiteral("AMPLIFIER_ID;ADDRESS"), {key, 0xF800C}));
    TParamDef gear = reader.Current();
    EXPECT_EQ(gear.ampId, key);
    EXPECT_EQ(gear.address, 0xF800C);
    EXPECT_EQ(gear.length, 4);
    EXPECT_EQ(gear.dataForm, 5);
    EXPECT_EQ(gear.standardValue, 0x00010001);
    EXPECT_EQ(gear.fractionCode, 1001);
    EXPECT_EQ(gear.name, QStringLiteral("Electronic gear"));
    EXPECT_EQ(gear.nameJ, QStringLiteral("電子ギア"));
    EXPECT_EQ(gear.modeNo, 0);
    EXPECT_FALSE(gear.tableId.has_value());

    ASSERT_TRUE(amp.Locate(QStringLiteral("AMPLIFIER_ID;ADDRESS"), {key, 0xF805C}));
    EXPECT_FALSE(reader.Current().perPowerOf10.has_value());
    ASSERT_TRUE(amp.Locate(QStringLiteral("AMPLIFIER_ID;ADDRESS"), {key, 0xF8200}));
    const TParamDef capacity = reader.Current();
    EXPECT_FALSE(capacity.modeNo.has_value());
    EXPECT_EQ(capacity.tableId, 6);
    ASSERT_TRUE(amp.Locate(QStringLiteral("AMPLIFIER_ID;ADDRESS"), {key, 0xF8040}));
    EXPECT_EQ(reader.Current().unit3, QStringLiteral("deg/s"));

    const TTableDataRows rows = TParamDefReader::TableDataRows(tableData);
    EXPECT_EQ(rows.size(), tableData.AllRowCount());
    EXPECT_EQ(TParamDefReader::BinaryDataRows(binary).size(), binary.AllRowCount());
    const TFractionRows fractions = TParamDefReader::FractionRows(fraction);
    ASSERT_EQ(fractions.size(), 4);
    EXPECT_EQ(fractions[0].code, 1001);
    EXPECT_TRUE(fractions[0].text.contains(QLatin1String("NUMER")));
    // An empty view gives the defaults.
    amp.SetFilter(QStringLiteral("AMPLIFIER_ID=-1"));
    EXPECT_EQ(reader.Current().ampId, -1);
}

// Every fraction condition of the sample gives a plain answer for zero and
// the extremes; only 1003 is broken on purpose (its function does not exist).
TEST_F(SampleDatabase, FractionConditionsAnswerZeroAndExtremesPlainly)
{
    TDataSet fraction;
    ASSERT_TRUE(intf.LoadTable(fraction, QStringLiteral("1_FRACTION.cds")));
    const TFractionRows rows = TParamDefReader::FractionRows(fraction);
    ASSERT_FALSE(rows.isEmpty());
    const QStringList values = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("65535")};
    for (const TFractionRow &row : rows) {
        if (row.code == 1003)
            continue;
        for (const QString &numerator : values)
            for (const QString &denominator : values) {
                TMessageRecorder messages;
                ValueCodec::CheckFraction(numerator, denominator, row.code, rows);
                EXPECT_TRUE(messages.entries.isEmpty())
                    << row.code << " " << numerator.toStdString() << "/" << denominator.toStdString();
            }
        EXPECT_FALSE(ValueCodec::CheckFraction(QStringLiteral("1"), QStringLiteral("0"), row.code, rows)) << row.code;
    }
}

} // namespace
