// The general-parameter module against the simulator: reading, writing
// back, files, the level filter.
#include "SimFixture.h"
#include "support/MessageRecorder.h"

#include "defdb/ValueCodec.h"
#include "params/DMUserParameter.h"
#include "params/DMUserParameterEdit.h"
#include "params/ParamRows.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

class UserParameter : public TSimFixture
{
protected:
    void SetUp() override
    {
        TSimFixture::SetUp();
        env->DisplayLevel = dlService;
        dm = std::make_unique<TDMUserParameter>(intf, dmMain, *env, *tran);
        dm->OpenTables();
    }

    // The position of the listed row at an address, -1 when not listed.
    int Row(int address)
    {
        for (int i = 0; i < dm->RowCount(); ++i)
            if (dm->Definition(dm->RowIdAt(i)).address == address)
                return i;
        return -1;
    }
    // Selects the group of an address and the row; the edit dialog then
    // confirms the given input.
    void Edit(int source, int address, const TParseInput &input)
    {
        const TParamDef &def = ParamDefAt(address);
        dm->SelectGroup(source, *def.modeNo);
        ASSERT_GE(Row(address), 0);
        dm->cdsAmp_Para.SetRecNo(Row(address));
        dm->RunEditDialog = [input](TDMUserParameterEdit &m) { return m.Confirm(input); };
        ASSERT_TRUE(dm->EditCurrentRow());
    }
    const TParamDef &ParamDefAt(int address)
    {
        for (int r = 0; r < dm->cdsAmp_Para.AllRowCount(); ++r)
            if (dm->Definition(r).ampId == 1 && dm->Definition(r).address == address)
                return dm->Definition(r);
        ADD_FAILURE() << "no row at " << std::hex << address;
        static TParamDef none;
        return none;
    }
    static TParseInput Text(const char *t)
    {
        TParseInput in;
        in.text = QString::fromUtf8(t);
        return in;
    }

    TMessageRecorder messages;
    std::unique_ptr<TDMUserParameter> dm;
};

TEST_F(UserParameter, ReadShowsEveryListedValueAsTheAmplifierHoldsIt)
{
    // Values that differ from the start image in every byte position.
    Poke(1, 0xF8002, QByteArray::fromHex("3412"));
    Poke(1, 0xF8015, QByteArray::fromHex("A5"));
    Poke(1, 0xF8044, QByteArray::fromHex("78563412"));
    Poke(1, 0xF84A4, QByteArray::fromHex("020001"));
    ASSERT_TRUE(dm->ReadFromAmplifier(1));
    EXPECT_EQ(dm->DecimalSettings(), (TDecimalSettings{2, 0, 1}));

    dm->SelectGroup(1, -1);
    int checked = 0;
    for (int g = 0; g < 16; ++g) {
        if (!dm->GroupExists(1, g))
            continue;
        dm->SelectGroup(1, g);
        for (int i = 0; i < dm->RowCount(); ++i) {
            const TParamDef &def = dm->Definition(dm->RowIdAt(i));
            const qint32 memory = qint32(PeekValue(1, def.address, def.length));
            EXPECT_EQ(dm->NowValue(i), memory) << std::hex << def.address;
            EXPECT_EQ(dm->CellText(i, TDMUserParameter::colNow),
                      ValueCodec::ValueText(TValueField::Now, memory, def, dm->DecimalSettings(),
                                            ParamRows::TableData(dm->cdsTable_Data)));
            ++checked;
        }
    }
    EXPECT_EQ(checked, 52) << "model A lists 52 parameters at the service level";
    dm->SelectGroup(1, 0);
    EXPECT_EQ(dm->CellText(Row(0xF8002), TDMUserParameter::colNow), "466.0");
    dm->SelectGroup(1, 0);
    EXPECT_EQ(dm->CellText(Row(0xF8015), TDMUserParameter::colNow), "A5 H");
    dm->SelectGroup(1, 2);
    EXPECT_EQ(dm->CellText(Row(0xF8044), TDMUserParameter::colNow), "305419896");
    EXPECT_EQ(dm->CellText(Row(0xF8040), TDMUserParameter::colUnit), "mm/s") << "unit selector 1";
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(UserParameter, ModelTextsComeFromTheirBlocks)
{
    ASSERT_TRUE(dm->ReadModelTexts(1));
    EXPECT_EQ(dm->AmpModelText().trimmed(), "TVA-S10A");
    EXPECT_FALSE(dm->MotorModelText().trimmed().isEmpty());
    ASSERT_TRUE(dm->ReadModelTexts(0));
    EXPECT_TRUE(dm->AmpModelText().isEmpty());
}

TEST_F(UserParameter, WritesExactlyTheChangedBytesMostSignificantFirst)
{
    ASSERT_TRUE(dm->ReadFromAmplifier(1));
    const QByteArray before = Peek(1, 0xF8000, 0x4C8);

    Edit(1, 0xF8002, Text("123.4"));          // 2 bytes, fixed point: 1234
    ASSERT_TRUE(dm->WriteToAmplifier(1));
    Edit(1, 0xF8015, Text("5A"));             // 1 byte at an odd address
    ASSERT_TRUE(dm->WriteToAmplifier(1));
    Edit(1, 0xF8050, Text("-2"));             // 4 bytes, signed
    ASSERT_TRUE(dm->WriteToAmplifier(1));
    TParseInput fraction;
    fraction.numerator = "3";
    fraction.denominator = "7";
    Edit(1, 0xF800C, fraction);               // 4 bytes, fraction
    ASSERT_TRUE(dm->WriteToAmplifier(1));
    TParseInput digits;
    digits.highIndex = 1;
    digits.lowIndex = 2;
    Edit(1, 0xF8014, digits);                 // 1 byte, two digits
    ASSERT_TRUE(dm->WriteToAmplifier(1));

    QByteArray expected = before;
    expected.replace(0x02, 2, QByteArray::fromHex("D204"));
    expected.replace(0x15, 1, QByteArray::fromHex("5A"));
    expected.replace(0x50, 4, QByteArray::fromHex("FEFFFFFF"));
    expected.replace(0x0C, 4, QByteArray::fromHex("03000700"));
    expected.replace(0x14, 1, QByteArray::fromHex("12"));
    EXPECT_EQ(Peek(1, 0xF8000, 0x4C8).toHex(), expected.toHex());
    EXPECT_FALSE(dm->HasChanges());
    EXPECT_TRUE(Control("log 1").find("P") != std::string::npos);
}

TEST_F(UserParameter, EqualInputIsNotWrittenButCleared)
{
    ASSERT_TRUE(dm->ReadFromAmplifier(1));
    Control("log 1 clear");
    Edit(1, 0xF802E, Text("8"));               // the value it already has
    EXPECT_FALSE(dm->HasChanges());
    ASSERT_TRUE(dm->WriteToAmplifier(1));
    EXPECT_EQ(Control("log 1"), "");
    EXPECT_FALSE(dm->InputValue(Row(0xF802E)).has_value());
}

TEST_F(UserParameter, SignedValueTypedAsNegativeCountsAsChangedAndIsRewritten)
{
    Poke(1, 0xF8082, QByteArray::fromHex("9CFF"));   // -100 as read: 65436
    ASSERT_TRUE(dm->ReadFromAmplifier(1));
    Edit(1, 0xF8082, Text("-10.0"));
    EXPECT_TRUE(dm->HasChanges());
    Control("log 1 clear");
    ASSERT_TRUE(dm->WriteToAmplifier(1));
    EXPECT_NE(Control("log 1").find("PF8082FF9C"), std::string::npos);
    EXPECT_EQ(Peek(1, 0xF8082, 2), QByteArray::fromHex("9CFF"));
}

TEST_F(UserParameter, FailedWriteStopsAtTheRowAndTakesTheAxisOutOfUse)
{
    ASSERT_TRUE(dm->ReadFromAmplifier(1));
    dm->SelectGroup(1, 0);
    dm->RunEditDialog = [](TDMUserParameterEdit &m) {
        TParseInput in;
        in.text = "50.0";
        return m.Confirm(in);
    };
    for (int address : {0xF8002, 0xF8004}) {
        dm->cdsAmp_Para.SetRecNo(Row(address));
        ASSERT_TRUE(dm->EditCurrentRow());
    }
    Control("fault 1 silent");
    EXPECT_FALSE(dm->WriteToAmplifier(1));
    EXPECT_EQ(env->AmpCode(1), -1);
    EXPECT_TRUE(dm->InputValue(Row(0xF8002)).has_value()) << "the failing row keeps its input";
    EXPECT_TRUE(dm->InputValue(Row(0xF8004)).has_value());
}

TEST_F(UserParameter, SaveAndLoadGiveBackTheImage)
{
    const QString first = dir.filePath("first.ap0"), second = dir.filePath("second.ap0");
    TBuffer image;
    image.ampCode = CodeA;
    image.modelText = QStringLiteral("TVA-S10A ＃\"1\"");
    image.firmwareText = "S1.02.3";
    image.startAddress = 0xF8000;
    for (int i = 0; i < 0x4C8 / 2; ++i)
        image.words.append(quint16(i * 31));
    ASSERT_TRUE(dmMain.WriteParameterFile(image, first));

    ASSERT_TRUE(dm->LoadFromFile(first));
    dm->SelectGroup(0, 0);
    EXPECT_EQ(dm->NowValue(Row(0xF8002)), 31);
    ASSERT_TRUE(dm->SaveToFile(second));
    TBuffer back;
    ASSERT_TRUE(dmMain.ReadParameterFile(back, second));
    EXPECT_EQ(back.words, image.words);
    EXPECT_EQ(back.modelText, image.modelText);
    EXPECT_EQ(back.firmwareText, image.firmwareText);

    Edit(0, 0xF8002, Text("1.5"));
    ASSERT_TRUE(dm->SaveToFile(second));
    ASSERT_TRUE(dmMain.ReadParameterFile(back, second));
    EXPECT_EQ(back.words[1], 15);
    image.words[1] = 15;
    EXPECT_EQ(back.words, image.words) << "nothing else changed";
}

TEST_F(UserParameter, FailedSaveKeepsTheInputs)
{
    const QString name = dir.filePath("keep.ap0");
    TBuffer image;
    image.ampCode = CodeA;
    image.words = QList<quint16>(0x4C8 / 2, 0);
    ASSERT_TRUE(dmMain.WriteParameterFile(image, name));
    ASSERT_TRUE(dm->LoadFromFile(name));
    Edit(0, 0xF8002, Text("1.0"));
    EXPECT_FALSE(dm->SaveToFile(dir.filePath("missing/folder/x.ap0")));
    EXPECT_EQ(messages.Count(TMsgKind::Error), 1);
    EXPECT_TRUE(dm->HasChanges());
    EXPECT_EQ(dm->FileImage().words[1], 0);
}

TEST_F(UserParameter, UnknownModelFileHasNoRowsAndSavesUnchanged)
{
    const QString name = dir.filePath("unknown.ap0"), copy = dir.filePath("copy.ap0");
    TBuffer image;
    image.ampCode = CodeUnknown;
    image.words = {1, 2, 3};
    ASSERT_TRUE(dmMain.WriteParameterFile(image, name));
    ASSERT_TRUE(dm->LoadFromFile(name));
    for (int g = 0; g < 16; ++g)
        EXPECT_FALSE(dm->GroupExists(0, g));
    dm->SelectGroup(0, -1);
    EXPECT_EQ(dm->RowCount(), 0);
    ASSERT_TRUE(dm->SaveToFile(copy));
    TBuffer back;
    ASSERT_TRUE(dmMain.ReadParameterFile(back, copy));
    EXPECT_EQ(back.words, image.words);
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(UserParameter, LevelFilterFollowsTheDisplayLevel)
{
    struct TCase {
        int level;
        QList<int> groups;
        int rowsOfGroup0;
    };
    const TCase cases[] = {{dlBasic, {0, 1, 2}, 7}, {dlStandard, {0, 1, 2, 3, 4}, 12}, {dlAdvanced, {0, 1, 2, 3, 4}, 12},
                           {dlService, {0, 1, 2, 3, 4, 5}, 12}};
    for (const TCase &c : cases) {
        env->DisplayLevel = c.level;
        dm->BuildLevelFilter(false);
        QList<int> groups;
        for (int g = 0; g < 16; ++g)
            if (dm->GroupExists(1, g))
                groups.append(g);
        EXPECT_EQ(groups, c.groups) << c.level;
        dm->SelectGroup(1, 0);
        EXPECT_EQ(dm->RowCount(), c.rowsOfGroup0) << c.level;
    }
    EXPECT_EQ(TDMUserParameter::LevelName(dlService), QStringLiteral("メーカエンジニアレベル"));
}

TEST_F(UserParameter, WithoutTypesOfTheLevelNothingIsListed)
{
    env->DisplayLevel = dlBasic;
    dm->cdsType.EmptyDataSet();
    dm->BuildLevelFilter(true);
    EXPECT_EQ(dm->LevelFilter(), "-1");
    for (int g = 0; g < 16; ++g)
        EXPECT_FALSE(dm->GroupExists(1, g));
}

TEST_F(UserParameter, ReadThatFailsHalfwayReportsAndMarksTheAxis)
{
    Control("fault 1 silentafter 20");
    EXPECT_FALSE(dm->ReadFromAmplifier(1));
    EXPECT_EQ(env->AmpCode(1), -1);
}

} // namespace
