// The whole-area load against the simulator.
#include "DirectFixture.h"
#include "support/Shots.h"

#include "app/DMEnvironment.h"
#include "direct/DMMakerLoad.h"
#include "direct/FMHexEdit.h"
#include "direct/FMMakerLoad.h"
#include "params/ParameterFile.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <map>

namespace {

const QString Refused = QStringLiteral("サーボアンプの種類が異なります。ロードできません。");
const QString VersionQuestion =
    QStringLiteral("サーボアンプのソフトウェアバージョンが異なるため、ロードできないパラメータがあります。\r\nロードしますか?");
constexpr int AreaStart = 0xF8000;
constexpr int AreaBytes = 0x4C8;

class MakerLoad : public TDirectFixture
{
protected:
    void SetUp() override
    {
        TDirectFixture::SetUp();
        dm = std::make_unique<TDMMakerLoad>(*ctx);
        dm->OpenTables();
    }

    struct TRow {
        int address;
        int length;
        int parameter;
        int level;
    };
    // A model's rows (AMPLIFIER.ID) with their type level.
    std::vector<TRow> Rows(int ampId)
    {
        TDataSet &amp = dm->cdsAmp;
        amp.SetFilter(QStringLiteral("AMPLIFIER_ID=%1").arg(ampId));
        std::vector<TRow> rows;
        for (int i = 0; i < amp.RecordCount(); ++i) {
            const int parameter = amp.ValueAt(i, amp.FieldIndex("PARAMETER_ID")).AsInteger();
            EXPECT_TRUE(dm->cdsParameter.Locate("ID", TValue(parameter)));
            EXPECT_TRUE(dm->cdsType.Locate("ID", dm->cdsParameter.Field("TYPE_ID")));
            rows.push_back({amp.ValueAt(i, amp.FieldIndex("ADDRESS")).AsInteger(),
                            amp.ValueAt(i, amp.FieldIndex("LENGTH")).AsInteger(), parameter,
                            dm->cdsType.Field("LEVEL").AsInteger()});
        }
        amp.ClearFilter();
        return rows;
    }
    // A file of code whose byte at address a is Pattern(a), words words long.
    static quint8 Pattern(int a) { return quint8((a * 7 + 0x5B) & 0xFF); }
    QString MakeFile(int code, const QString &name, int words = AreaBytes / 2)
    {
        TBuffer image;
        image.ampCode = code;
        image.startAddress = AreaStart;
        for (int i = 0; i < words; ++i)
            image.words << quint16(Pattern(AreaStart + 2 * i) | Pattern(AreaStart + 2 * i + 1) << 8);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(TParameterFile::Save(image, path, "Version 1"));
        return path;
    }
    static bool Selected(int mode, int level)
    {
        switch (mode) {
        case 1: return level < 500;
        case 2: return level != 800 && level != 900;
        default: return true;
        }
    }
    // The area after loading rows of the file into before.
    static QByteArray Expected(QByteArray before, const std::vector<TRow> &rows, int fileBytes)
    {
        for (const TRow &r : rows)
            if (r.address + r.length <= AreaStart + fileBytes)
                for (int k = 0; k < r.length; ++k)
                    before[r.address - AreaStart + k] = char(Pattern(r.address + k));
        return before;
    }

    std::unique_ptr<TDMMakerLoad> dm;
};

TEST_F(MakerLoad, EachModeWritesExactlyTheRowsOfItsTypeLevels)
{
    const std::vector<TRow> rows = Rows(1);
    std::map<int, int> levels;
    for (const TRow &r : rows)
        ++levels[r.level];
    // The sample model has rows on both sides of every mode's limits.
    for (int level : {100, 200, 500, 600, 800, 900, 1000})
        ASSERT_GT(levels[level], 0) << level;
    const QString file = MakeFile(CodeA, "a.ap0");
    for (int mode : {1, 2, 3}) {
        SCOPED_TRACE(mode);
        Control("reset 1");
        const QByteArray before = Peek(1, AreaStart, AreaBytes);
        std::vector<TRow> chosen;
        for (const TRow &r : rows)
            if (Selected(mode, r.level))
                chosen.push_back(r);
        messages.Clear();
        ClearLog(1);
        ASSERT_TRUE(dm->Load(1, file, mode));
        EXPECT_EQ(dm->LastOutcome(), TDMMakerLoad::TOutcome::Done);
        EXPECT_EQ(dm->LastWritten(), int(chosen.size()));
        EXPECT_EQ(WriteCount(1), int(chosen.size()));
        // One confirmation naming file and axis, nothing else.
        EXPECT_EQ(messages.Texts(), QStringList{"[a.ap0] から 軸番号[#1] にロードします。\r\nよろしいですか?"});
        const QByteArray after = Peek(1, AreaStart, AreaBytes);
        const QByteArray expected = Expected(before, chosen, AreaBytes);
        for (int i = 0; i < AreaBytes; ++i)
            ASSERT_EQ(quint8(after[i]), quint8(expected[i])) << std::hex << AreaStart + i;
    }
}

TEST_F(MakerLoad, AShortFileWritesNothingBeyondItsWords)
{
    const int words = 0x100; // up to 0xF8200
    const QString file = MakeFile(CodeA, "short.ap0", words);
    const QByteArray before = Peek(1, AreaStart, AreaBytes);
    ASSERT_TRUE(dm->Load(1, file, 3));
    std::vector<TRow> rows = Rows(1);
    EXPECT_EQ(Peek(1, AreaStart, AreaBytes), Expected(before, rows, 2 * words));
    for (const QString &w : Writes(1))
        EXPECT_LT(w.mid(1, 5).toInt(nullptr, 16), AreaStart + 2 * words) << w.toStdString();
}

TEST_F(MakerLoad, FilesOfOtherModelsAreCheckedFirst)
{
    // Another group, an unknown code: refused, nothing written.
    for (int code : {CodeC, CodeUnknown}) {
        messages.Clear();
        ClearLog(1);
        ASSERT_TRUE(dm->Load(1, MakeFile(code, "other.ap0"), 3));
        EXPECT_EQ(dm->LastOutcome(), TDMMakerLoad::TOutcome::Refused);
        ASSERT_EQ(messages.entries.size(), 2);
        EXPECT_EQ(messages.entries[1].text, Refused);
        EXPECT_EQ(messages.entries[1].kind, TMsgKind::Information);
        EXPECT_TRUE(Writes(1).isEmpty());
    }
    // The same group: asked; No writes nothing, Yes writes the parameters
    // both models hold at the same address.
    const QString fileB = MakeFile(CodeB, "b.ap0");
    messages.Clear();
    messages.Script({TMsgAnswer::Ok, TMsgAnswer::No});
    ASSERT_TRUE(dm->Load(1, fileB, 3));
    EXPECT_EQ(messages.Texts().last(), VersionQuestion);
    EXPECT_EQ(dm->LastOutcome(), TDMMakerLoad::TOutcome::Declined);
    EXPECT_TRUE(Writes(1).isEmpty());

    ClearLog(1);
    messages.Script({TMsgAnswer::Ok, TMsgAnswer::Yes});
    ASSERT_TRUE(dm->Load(1, fileB, 3));
    std::map<int, int> parameterOfB;
    for (const TRow &r : Rows(2))
        parameterOfB[r.address] = r.parameter;
    int shared = 0;
    for (const TRow &r : Rows(1))
        shared += parameterOfB.count(r.address) && parameterOfB[r.address] == r.parameter;
    EXPECT_EQ(dm->LastWritten(), shared);
    EXPECT_LT(shared, int(Rows(1).size()));
    EXPECT_EQ(WriteCount(1), shared);

    // Cancel at the confirmation: the file is not even read.
    messages.Clear();
    ClearLog(1);
    messages.Script({TMsgAnswer::Cancel});
    ASSERT_TRUE(dm->Load(1, dir.filePath("missing.ap0"), 1));
    EXPECT_EQ(messages.entries.size(), 1);
    EXPECT_TRUE(Writes(1).isEmpty());
}

TEST_F(MakerLoad, AFailedWriteStopsTheWalkAndNamesTheAddress)
{
    const QString file = MakeFile(CodeA, "a.ap0");
    Control("fault 1 silentafter 5");
    EXPECT_FALSE(dm->Load(1, file, 3));
    EXPECT_EQ(dm->LastOutcome(), TDMMakerLoad::TOutcome::WriteFailed);
    EXPECT_EQ(dm->LastWritten(), 5);
    const std::vector<TRow> rows = Rows(1);
    ASSERT_GT(rows.size(), 5u);
    EXPECT_EQ(dm->FailedAddress(), rows[5].address);
    const QStringList texts = messages.Texts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[1], "通信タイムアウト。（軸番号[#1]）");
    EXPECT_TRUE(texts[2].contains(TDMMakerDirect::Hex(uint32_t(rows[5].address), 5))) << texts[2].toStdString();
    EXPECT_EQ(env->AmpCode(1), -1);
}

TEST_F(MakerLoad, WindowConnectsChoosesAModeAndLoads)
{
    TFMMakerLoad w(*ctx);
    w.show();
    EXPECT_FALSE(w.btnLoad->isEnabled());
    EXPECT_FALSE(w.grpMode->isEnabled());
    EXPECT_TRUE(w.rbtnMode[0]->isChecked());
    w.edtAxis->clear();
    w.btnConnect->click();
    EXPECT_EQ(messages.Texts(), QStringList{"Invalid setting was inputted.\r\n( Communication axis specification )"});
    EXPECT_FALSE(w.Connected());

    messages.Clear();
    w.edtAxis->setText("3");
    w.btnConnect->click();
    ASSERT_TRUE(w.Connected());
    EXPECT_EQ(w.btnConnect->text(), "DIS&CONNECT");
    EXPECT_FALSE(w.edtAxis->isEnabled());
    EXPECT_TRUE(w.btnLoad->isEnabled());
    EXPECT_EQ(w.memHelp->toPlainText(), TDMMakerLoad::HelpText(1).replace("\r\n", "\n"));
    w.rbtnMode[1]->setChecked(true);
    EXPECT_EQ(w.Mode(), 2);
    EXPECT_TRUE(w.memHelp->toPlainText().startsWith("パラメータレベル800,900以外"));
    Shot(&w, QStringLiteral("maker_load"));

    // A cancelled file choice does nothing; a chosen one loads.
    ClearLog(3);
    w.AskOpenName = [] { return QString(); };
    w.btnLoad->click();
    EXPECT_TRUE(messages.entries.isEmpty());
    const QString file = MakeFile(CodeB, "b.ap0");
    w.AskOpenName = [&] { return file; };
    w.btnLoad->click();
    EXPECT_EQ(messages.Texts(), QStringList{"[b.ap0] から 軸番号[#3] にロードします。\r\nよろしいですか?"});
    EXPECT_EQ(w.Module().LastOutcome(), TDMMakerLoad::TOutcome::Done);
    EXPECT_GT(w.Module().LastWritten(), 0);
    EXPECT_EQ(WriteCount(3), w.Module().LastWritten());

    w.btnConnect->click();
    EXPECT_FALSE(w.Connected());
    EXPECT_FALSE(w.btnLoad->isEnabled());
}

TEST_F(MakerLoad, AxisZeroCannotBeMatchedToAFile)
{
    Control("axis0 1");
    TFMMakerLoad w(*ctx);
    w.edtAxis->setText("0");
    w.btnConnect->click();
    ASSERT_TRUE(w.Connected());
    ClearLog(1);
    w.AskOpenName = [&] { return MakeFile(CodeA, "a.ap0"); };
    w.btnLoad->click();
    EXPECT_EQ(messages.Texts().last(), Refused);
    EXPECT_TRUE(Writes(1).isEmpty());
}

} // namespace
