// Whole parameter sets between the simulator's amplifiers and files.
#include "SimFixture.h"
#include "support/MessageRecorder.h"

#include "params/DMLoadSave.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

const QString Refused = QStringLiteral("サーボアンプの種類が異なります。転送できません。");
const QString VersionQuestion =
    QStringLiteral("サーボアンプのソフトウェアバージョンが異なるため、転送できないパラメータがあります。\r\n転送しますか?");

class LoadSave : public TSimFixture
{
protected:
    void SetUp() override
    {
        TSimFixture::SetUp();
        dm = std::make_unique<TDMLoadSave>(intf, dmMain, *env, *tran);
        dm->OpenTables();
    }

    // The rows of a model (AMPLIFIER.ID) with their type's level.
    struct TRow {
        int address;
        int length;
        int level;
    };
    std::vector<TRow> Rows(int ampId)
    {
        TDataSet &amp = dm->cdsAmp;
        amp.SetFilter(QStringLiteral("AMPLIFIER_ID=%1").arg(ampId));
        std::vector<TRow> rows;
        for (int i = 0; i < amp.RecordCount(); ++i) {
            const int parameter = amp.ValueAt(i, amp.FieldIndex("PARAMETER_ID")).AsInteger();
            dm->cdsParameter.Locate("ID", TValue(parameter));
            const int type = dm->cdsParameter.Field("TYPE_ID").AsInteger();
            dm->cdsType.Locate("ID", TValue(type));
            rows.push_back({amp.ValueAt(i, amp.FieldIndex("ADDRESS")).AsInteger(),
                            amp.ValueAt(i, amp.FieldIndex("LENGTH")).AsInteger(), dm->cdsType.Field("LEVEL").AsInteger()});
        }
        return rows;
    }
    // The axis's whole area as a new file.
    QString FileFrom(int axis, const QString &name)
    {
        const QString path = dir.filePath(name);
        QString model;
        dm->ReadAmpModelText(axis, model); // an unknown model has none
        EXPECT_TRUE(dm->TransferAmpToFile(axis, path, model));
        return path;
    }

    TMessageRecorder messages;
    std::unique_ptr<TDMLoadSave> dm;
};

TEST_F(LoadSave, AmplifierToFileHoldsTheWholeAreaAndTheVersion)
{
    Poke(1, 0xF8100, QByteArray::fromHex("CAFE"));
    const QString path = FileFrom(1, "a.ap0");
    TBuffer image;
    ASSERT_TRUE(dmMain.ReadParameterFile(image, path));
    EXPECT_EQ(image.ampCode, CodeA);
    EXPECT_EQ(image.modelText.trimmed(), "TVA-S10A");
    EXPECT_EQ(image.startAddress, 0xF8000);
    ASSERT_EQ(image.words.size(), 0x4C8 / 2);
    const QByteArray memory = Peek(1, 0xF8000, 0x4C8);
    for (int i = 0; i < image.words.size(); ++i)
        ASSERT_EQ(image.words[i], quint8(memory[2 * i]) | quint8(memory[2 * i + 1]) << 8) << i;
    EXPECT_EQ(image.words[0x80], 0xFECA);
    EXPECT_TRUE(image.firmwareText.startsWith("S1.02.3 - ")) << image.firmwareText.toStdString();
    EXPECT_EQ(image.firmwareText.count(" - "), 4);
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(LoadSave, FirmwareTextFromTheVersionBlock)
{
    const quint16 block[6] = {0x0001, 0xABCD, 0x0003, 0x0004, 0x1234, 0x0041};
    EXPECT_EQ(TDMLoadSave::FirmwareText(block), "A1.23.4 - 0001 - ABCD - 0003 - 0004");
}

TEST_F(LoadSave, ModelWithoutVersionBlockHasAnEmptyFirmwareText)
{
    const QString path = FileFrom(4, "c.ap0");
    TBuffer image;
    ASSERT_TRUE(dmMain.ReadParameterFile(image, path));
    EXPECT_EQ(image.ampCode, CodeC);
    EXPECT_TRUE(image.firmwareText.isEmpty());
}

TEST_F(LoadSave, AreaReadThatFailsWritesNoFile)
{
    Control("fault 1 silentafter 10");
    const QString path = dir.filePath("none.ap0");
    EXPECT_FALSE(dm->TransferAmpToFile(1, path, "x"));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(env->AmpCode(1), -1);
}

TEST_F(LoadSave, FileOfOneAxisIntoAnotherOfTheSameModel)
{
    // Axis 1 gets values that differ from axis 2's everywhere a general
    // parameter lies: the maximum of each range.
    for (const TRow &r : Rows(1)) {
        if (r.level > 4)
            continue;
        dm->cdsAmp.Locate("AMPLIFIER_ID;ADDRESS", {TValue(1), TValue(r.address)});
        qint64 max = dm->cdsAmp.Field("MAX_VALUE").AsInt64();
        if (r.length == 4 && max < 0)
            max = 0x7FFFFFFF; // 0xFFFFFFFF would read as -1 and not be transferred
        QByteArray bytes;
        for (int k = 0; k < r.length; ++k)
            bytes.append(char((max >> (8 * k)) & 0xFF));
        Poke(1, r.address, bytes);
    }
    const QString path = FileFrom(1, "one.ap0");
    const QByteArray before = Peek(2, 0xF8000, 0x4C8);
    ASSERT_TRUE(dm->TransferFileToAmp(2, path, TDMLoadSave::kdGeneral));
    EXPECT_TRUE(messages.entries.isEmpty()) << "same model: no question";
    const QByteArray after = Peek(2, 0xF8000, 0x4C8), source = Peek(1, 0xF8000, 0x4C8);
    for (const TRow &r : Rows(1)) {
        const int o = r.address - 0xF8000;
        const bool general = r.level <= 4 || r.level == 300;
        EXPECT_EQ(after.mid(o, r.length), (general ? source : before).mid(o, r.length)) << std::hex << r.address;
    }
    EXPECT_GT(dm->LastWritten(), 50);
}

TEST_F(LoadSave, OnlyMotorParametersWhenOnlyMotorIsChosen)
{
    // The file: axis 1's area with every byte moved by one from axis 2's.
    const QString path = FileFrom(1, "motor.ap0");
    TBuffer image;
    ASSERT_TRUE(dmMain.ReadParameterFile(image, path));
    for (quint16 &w : image.words)
        w = quint16(w ^ 0x0101);
    ASSERT_TRUE(dmMain.WriteParameterFile(image, path));

    const QByteArray before = Peek(2, 0xF8000, 0x4C8);
    ASSERT_TRUE(dm->TransferFileToAmp(2, path, TDMLoadSave::kdMotor));
    const QByteArray after = Peek(2, 0xF8000, 0x4C8);
    int changed = 0;
    for (const TRow &r : Rows(1)) {
        const int o = r.address - 0xF8000;
        if (after.mid(o, r.length) != before.mid(o, r.length)) {
            EXPECT_EQ(r.level, 200) << std::hex << r.address;
            ++changed;
        }
    }
    EXPECT_GT(changed, 0);
    for (int o = 0; o < after.size(); ++o)
        if (after[o] != before[o]) {
            bool inMotorRow = false;
            for (const TRow &r : Rows(1))
                inMotorRow |= r.level == 200 && o >= r.address - 0xF8000 && o < r.address - 0xF8000 + r.length;
            EXPECT_TRUE(inMotorRow) << std::hex << o;
        }
}

TEST_F(LoadSave, ValuesOutsideTheAmplifiersRangeAreSkipped)
{
    const QString path = FileFrom(1, "range.ap0");
    TBuffer image;
    ASSERT_TRUE(dmMain.ReadParameterFile(image, path));
    SetImageValue(image, 0xF8208, qint32(0x80000000), 4); // DATAFORM 1, 4 bytes: reads as negative
    SetImageValue(image, 0xF802E, 31, 2);                  // 1..30
    SetImageValue(image, 0xF8000, 3, 1);                   // code 0..3: allowed although not in its table
    ASSERT_TRUE(dmMain.WriteParameterFile(image, path));
    const quint32 before = PeekValue(2, 0xF8208, 4);
    ASSERT_TRUE(dm->TransferFileToAmp(2, path, TDMLoadSave::kdAll));
    EXPECT_EQ(PeekValue(2, 0xF8208, 4), before);
    EXPECT_EQ(PeekValue(2, 0xF802E, 2), 8u);
    EXPECT_EQ(PeekValue(2, 0xF8000, 1), 3u);
    EXPECT_TRUE(messages.entries.isEmpty()) << "skipped values are not reported";
}

TEST_F(LoadSave, SameGroupAsksTheVersionQuestion)
{
    const QString path = FileFrom(3, "b.ap0"); // model B into model A
    messages.Script({TMsgAnswer::No});
    const QByteArray before = Peek(1, 0xF8000, 0x4C8);
    EXPECT_TRUE(dm->TransferFileToAmp(1, path, TDMLoadSave::kdGeneral));
    EXPECT_EQ(messages.Texts(), QStringList{VersionQuestion});
    EXPECT_EQ(dm->LastOutcome(), TDMLoadSave::TOutcome::Declined);
    EXPECT_EQ(Peek(1, 0xF8000, 0x4C8), before);

    messages.Clear();
    messages.Script({TMsgAnswer::Yes});
    EXPECT_TRUE(dm->TransferFileToAmp(1, path, TDMLoadSave::kdGeneral));
    EXPECT_EQ(dm->LastOutcome(), TDMLoadSave::TOutcome::Done);
    // B's standard value of 1003 (0xF8004) is 500, A's 400.
    EXPECT_EQ(PeekValue(1, 0xF8004, 2), 500u);
    // 1107 (0xF802C) exists in A only: untouched.
    EXPECT_EQ(Peek(1, 0xF802C, 2), before.mid(0x2C, 2));
}

TEST_F(LoadSave, AnotherGroupOrAnUnknownModelIsRefused)
{
    // No file is read from an axis of unknown model; one is made by hand.
    const QString unknown = dir.filePath(QStringLiteral("g5.ap0"));
    EXPECT_FALSE(dm->TransferAmpToFile(5, unknown, QString()));
    EXPECT_FALSE(QFileInfo::exists(unknown));
    TBuffer image;
    image.ampCode = CodeUnknown;
    image.words = {0};
    ASSERT_TRUE(dmMain.WriteParameterFile(image, unknown));
    for (int source : {4, 5}) {
        messages.Clear();
        const QString path = source == 4 ? FileFrom(source, QStringLiteral("g4.ap0")) : unknown;
        EXPECT_TRUE(dm->TransferFileToAmp(1, path, TDMLoadSave::kdGeneral)) << "a refusal is no failure";
        EXPECT_EQ(messages.Texts(), QStringList{Refused}) << source;
        EXPECT_EQ(messages.entries[0].kind, TMsgKind::Information);
        EXPECT_EQ(dm->LastOutcome(), TDMLoadSave::TOutcome::Refused);
    }
    // Nor is anything written into an axis of unknown model.
    messages.Clear();
    EXPECT_TRUE(dm->TransferFileToAmp(5, FileFrom(1, QStringLiteral("a.ap0")), TDMLoadSave::kdGeneral));
    EXPECT_EQ(dm->LastOutcome(), TDMLoadSave::TOutcome::Refused);
    EXPECT_EQ(dm->LastWritten(), 0);
}

TEST_F(LoadSave, ShortFileWritesOnlyWhatItHolds)
{
    const QString path = FileFrom(1, "short.ap0");
    TBuffer image;
    ASSERT_TRUE(dmMain.ReadParameterFile(image, path));
    image.words.resize(0x20 / 2); // only 0xF8000..0xF801F
    for (quint16 &w : image.words)
        w = 0;
    ASSERT_TRUE(dmMain.WriteParameterFile(image, path));
    Poke(2, 0xF8040, QByteArray::fromHex("11223300"));
    ASSERT_TRUE(dm->TransferFileToAmp(2, path, TDMLoadSave::kdGeneral));
    EXPECT_EQ(Peek(2, 0xF8040, 4), QByteArray::fromHex("11223300")) << "not set to 0 from beyond the file";
    EXPECT_EQ(PeekValue(2, 0xF8000, 1), 0u);
}

TEST_F(LoadSave, FailedWriteEndsTheWalkWithFailure)
{
    const QString path = FileFrom(1, "w.ap0");
    Control("fault 2 silentafter 3");
    EXPECT_FALSE(dm->TransferFileToAmp(2, path, TDMLoadSave::kdGeneral));
    EXPECT_EQ(dm->LastOutcome(), TDMLoadSave::TOutcome::WriteFailed);
    EXPECT_EQ(env->AmpCode(2), -1);
}

TEST_F(LoadSave, BrokenFileStopsWithTheReadersWarning)
{
    const QString path = dir.filePath("broken.ap0");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("AMP-CODE,0x00A101\r\nPARAM-CNT,5\r\nPARAMETER,0,0x0\r\n");
    f.close();
    EXPECT_TRUE(dm->TransferFileToAmp(1, path, TDMLoadSave::kdGeneral));
    EXPECT_EQ(dm->LastOutcome(), TDMLoadSave::TOutcome::Unreadable);
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("アンプファイルが壊れています。")});
}

TEST_F(LoadSave, KindListsFollowTheTypeLevels)
{
    // General: levels 1-4 and 300; system 100; motor 200.
    auto count = [](const QString &list) { return list.isEmpty() ? 0 : int(list.count(u',')) + 1; };
    EXPECT_EQ(count(dm->KindList(TDMLoadSave::kdGeneral)), 53 + 3);
    EXPECT_EQ(count(dm->KindList(TDMLoadSave::kdSystem)), 16);
    EXPECT_EQ(count(dm->KindList(TDMLoadSave::kdMotor)), 17);
    EXPECT_EQ(count(dm->KindsList(TDMLoadSave::kdAll)), 53 + 3 + 16 + 17);
}

struct TRangeCase {
    int form, length;
    qint32 v, min, max;
    bool passes;
};

class LoadSaveRange : public ::testing::TestWithParam<TRangeCase> {};

TEST_P(LoadSaveRange, ByForm)
{
    const TRangeCase &c = GetParam();
    EXPECT_EQ(TDMLoadSave::InRange(c.form, c.length, c.v, c.min, c.max), c.passes);
}

INSTANTIATE_TEST_SUITE_P(Cases, LoadSaveRange,
                         ::testing::Values(TRangeCase{1, 4, qint32(0x80000000), 0, 0x7FFFFFFF, false},
                                           TRangeCase{1, 4, 100, 0, -1, true}, // max -1 reads 4294967295
                                           TRangeCase{3, 2, 0xFFFF, 0, 65535, true},
                                           TRangeCase{2, 2, 0xFF9C, -100, 100, true}, // -100
                                           TRangeCase{2, 2, 0xFF9B, -100, 100, false},
                                           TRangeCase{8, 1, 0x80, -128, 127, true},
                                           TRangeCase{5, 4, 0, 1, 1, true},
                                           TRangeCase{6, 1, 0x13, 0x10, 0x3F, true},
                                           TRangeCase{6, 1, 0x43, 0x10, 0x3F, false},
                                           TRangeCase{6, 1, 0x20, 0x11, 0x3F, false}, // low digit below
                                           TRangeCase{7, 1, 5, 0, 4, false},
                                           TRangeCase{7, 1, 0x104, 0, 4, true}, // a byte: 4
                                           TRangeCase{11, 2, 0, 0, 0, false}));

} // namespace
