// The general parameter window and the transfer window against the
// simulator, on the offscreen platform.
#include "Keys.h"
#include "Shots.h"
#include "SimFixture.h"
#include "support/MessageRecorder.h"

#include "defdb/ValueCodec.h"
#include "params/FMLoadSave.h"
#include "params/FMParameterTable.h"
#include "params/FMUserParameter.h"
#include "params/FMUserParameterEdit.h"
#include "params/ParamRows.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

const QString NoAxis = QStringLiteral("通信可能なサーボアンプが存在しません。");
const QString Finished = QStringLiteral("転送終了。");

void Settle(int ms = 50)
{
    QElapsedTimer t;
    t.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    while (t.elapsed() < ms);
}

QStringList Tabs(const QTabBar *bar)
{
    QStringList out;
    for (int i = 0; i < bar->count(); ++i)
        out << bar->tabText(i);
    return out;
}

class ParamsWindow : public TSimFixture
{
protected:
    std::unique_ptr<TFMUserParameter> Open(bool online = true)
    {
        ctx->online = [online, this] { return online && !wentOffline; };
        auto w = std::make_unique<TFMUserParameter>(*ctx);
        w->show();
        Settle();
        return w;
    }
    // The edit dialog as the user works it: type into its box, press OK.
    static void TypeInDialog(TFMUserParameter &w, const QString &text)
    {
        w.Module().RunEditDialog = [text](TDMUserParameterEdit &m) {
            TFMUserParameterEdit d(m);
            d.show();
            d.edtValue->selectAll();
            TypeText(d.edtValue, text);
            d.btnOk->click();
            return d.result() == QDialog::Accepted;
        };
    }
    static int RowOf(TFMUserParameter &w, int address)
    {
        for (int i = 0; i < w.Module().RowCount(); ++i)
            if (w.Module().Definition(w.Module().RowIdAt(i)).address == address)
                return i;
        return -1;
    }
    // Writes a model-A file of these words and opens it in the window.
    void OpenFile(TFMUserParameter &w, const QString &name, const QList<quint16> &words)
    {
        TBuffer image;
        image.ampCode = CodeA;
        image.words = words;
        ASSERT_TRUE(dmMain.WriteParameterFile(image, name));
        w.AskOpenName = [name](const QString &) { return name; };
        w.actFileOpen->trigger();
        ASSERT_EQ(w.Source(), 0);
    }
    static QString Cell(TFMUserParameter &w, int row, int column)
    {
        return w.Table().index(row, column).data().toString();
    }

    TMessageRecorder messages;
};

TEST_F(ParamsWindow, OpensOnTheFirstAxisAndShowsItsParameters)
{
    Poke(1, 0xF8002, QByteArray::fromHex("3412"));
    auto w = Open();
    EXPECT_EQ(w->Source(), 1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("一般パラメータ設定"));
    EXPECT_TRUE(w->sbtnAxis[0]->isChecked());
    for (int n = 1; n <= 15; ++n)
        EXPECT_EQ(w->sbtnAxis[size_t(n - 1)]->isEnabled(), n <= 5) << n;
    EXPECT_EQ(Tabs(w->tabGroup), QStringList({"Group 0", "Group 1", "Group 2"}));
    EXPECT_EQ(w->edtAmpModel->text().trimmed(), "TVA-S10A");
    EXPECT_EQ(w->edtLevel->text(), QStringLiteral("ベーシックレベル"));
    ASSERT_EQ(w->Table().rowCount(), 7);
    EXPECT_EQ(w->Table().headerData(TDMUserParameter::colNow, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("現在設定値"));

    // Every value shown is the amplifier's.
    const TTableDataRows tables = ParamRows::TableData(w->Module().cdsTable_Data);
    for (int g = 0; g < w->tabGroup->count(); ++g) {
        w->tabGroup->setCurrentIndex(g);
        for (int i = 0; i < w->Table().rowCount(); ++i) {
            const TParamDef &def = w->Module().Definition(w->Module().RowIdAt(i));
            const qint32 memory = qint32(PeekValue(1, def.address, def.length));
            EXPECT_EQ(Cell(*w, i, TDMUserParameter::colNow),
                      ValueCodec::ValueText(TValueField::Now, memory, def, w->Module().DecimalSettings(), tables))
                << std::hex << def.address;
            EXPECT_EQ(Cell(*w, i, TDMUserParameter::colInput), "");
        }
    }
    w->tabGroup->setCurrentIndex(0);
    EXPECT_EQ(Cell(*w, RowOf(*w, 0xF8002), TDMUserParameter::colNow), "466.0");

    EXPECT_FALSE(w->actFileOpen->isEnabled());
    EXPECT_FALSE(w->actFileSave->isEnabled());
    EXPECT_TRUE(w->actAmplifierRead->isEnabled());
    EXPECT_TRUE(w->actDiskSave->isEnabled());
    // An axis shown: it can be verified and printed.
    for (QAction *a : {w->actDiskVerify, w->actPrint, w->actPrintPreview})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_FALSE(w->actFileNew->isVisible());
    EXPECT_EQ(w->actFileOpen->statusTip(), QStringLiteral("開く"));
    EXPECT_TRUE(messages.entries.isEmpty());
    Shot(w.get(), "general-parameters");
}

TEST_F(ParamsWindow, EditedValuesAreRedUntilWrittenThenTheAmplifierHasThem)
{
    auto w = Open();
    const QByteArray before = Peek(1, 0xF8000, 0x4C8);
    const int row = RowOf(*w, 0xF8004); // velocity loop gain, 1 decimal
    w->grdMode->selectRow(row);
    TypeInDialog(*w, "25.5");
    w->btnEdit->click();
    EXPECT_EQ(Cell(*w, row, TDMUserParameter::colInput), "25.5");
    EXPECT_EQ(w->Table().index(row, TDMUserParameter::colInput).data(Qt::ForegroundRole).value<QBrush>().color(),
              QColor(Qt::red));
    EXPECT_EQ(w->stbMain->currentMessage(), QStringLiteral("速度ループゲイン"));
    Shot(w.get(), "general-parameters-edited");

    w->actAmplifierWrite->trigger();
    QByteArray expected = before;
    expected.replace(4, 2, QByteArray::fromHex("FF00"));
    EXPECT_EQ(Peek(1, 0xF8000, 0x4C8).toHex(), expected.toHex());
    EXPECT_EQ(Cell(*w, row, TDMUserParameter::colNow), "25.5");
    EXPECT_EQ(Cell(*w, row, TDMUserParameter::colInput), "");
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(ParamsWindow, LeavingATabWithChangesAsksFirst)
{
    auto w = Open();
    w->grdMode->selectRow(RowOf(*w, 0xF8004));
    TypeInDialog(*w, "30.0");
    w->btnEdit->click();
    ASSERT_TRUE(w->Module().HasChanges());

    messages.Script({TMsgAnswer::Cancel});
    w->tabGroup->setCurrentIndex(1);
    EXPECT_EQ(w->tabGroup->currentIndex(), 0);
    EXPECT_TRUE(w->Module().HasChanges());
    ASSERT_EQ(messages.entries.size(), 1);
    EXPECT_EQ(messages.entries[0].text, QStringLiteral("パラメータが変更されています。\r\n変更をサーボアンプに書き込みますか?"));
    EXPECT_EQ(messages.entries[0].buttons, TMsgButtons::YesNoCancel);

    messages.Script({TMsgAnswer::No});
    const QByteArray before = Peek(1, 0xF8004, 2);
    w->tabGroup->setCurrentIndex(1);
    EXPECT_EQ(w->tabGroup->currentIndex(), 1);
    EXPECT_FALSE(w->Module().HasChanges()) << "No drops the inputs";
    EXPECT_EQ(Peek(1, 0xF8004, 2), before);

    // Yes writes them before going on.
    w->tabGroup->setCurrentIndex(0);
    w->grdMode->selectRow(RowOf(*w, 0xF8004));
    w->btnEdit->click();
    messages.Script({TMsgAnswer::Yes});
    w->tabGroup->setCurrentIndex(2);
    EXPECT_EQ(PeekValue(1, 0xF8004, 2), 300u);
}

TEST_F(ParamsWindow, AnAxisThatStopsAnsweringMidReadGivesWayToTheNext)
{
    auto w = Open();
    Control("fault 1 silentafter 8"); // the model texts take 4, the area 11
    w->actAmplifierRead->trigger();
    Settle();
    EXPECT_EQ(w->Source(), 2);
    EXPECT_TRUE(w->sbtnAxis[1]->isChecked());
    EXPECT_FALSE(w->sbtnAxis[0]->isEnabled());
    EXPECT_EQ(env->AmpCode(1), -1);
    EXPECT_FALSE(messages.Texts().contains(NoAxis));
    EXPECT_EQ(Cell(*w, 0, TDMUserParameter::colNow).isEmpty(), false);
}

TEST_F(ParamsWindow, WithNoAxisLeftTheWindowTurnsToFileModeAndWarnsOnce)
{
    auto w = Open();
    for (int n = 2; n <= 5; ++n)
        env->SetAmpCode(n, -1);
    Control("fault 1 silent");
    w->actAmplifierRead->trigger();
    Settle();
    EXPECT_EQ(w->Source(), 0);
    EXPECT_TRUE(w->sbtnFile->isChecked());
    EXPECT_TRUE(wentOffline);
    EXPECT_EQ(messages.Texts().count(NoAxis), 1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("一般パラメータ設定 - [無題]"));
    EXPECT_TRUE(w->actFileOpen->isEnabled());
    EXPECT_FALSE(w->actAmplifierRead->isEnabled());
    EXPECT_EQ(Tabs(w->tabGroup), QStringList{"-"});
}

TEST_F(ParamsWindow, AxisButtonsSwitchTheSourceAfterTheQuestion)
{
    auto w = Open();
    TypeInDialog(*w, "41.0");
    w->grdMode->selectRow(RowOf(*w, 0xF8004));
    w->btnEdit->click();
    messages.Script({TMsgAnswer::Cancel});
    w->sbtnAxis[3]->click();
    EXPECT_EQ(w->Source(), 1);
    EXPECT_TRUE(w->sbtnAxis[0]->isChecked());

    messages.Script({TMsgAnswer::No});
    w->sbtnAxis[3]->click();
    Settle();
    EXPECT_EQ(w->Source(), 4);
    EXPECT_EQ(w->edtAmpModel->text().trimmed(), "TVC-M05");
    EXPECT_FALSE(w->Module().HasChanges());
}

TEST_F(ParamsWindow, UnknownModelShowsTheSingleDashTab)
{
    auto w = Open(false);
    EXPECT_EQ(w->Source(), -1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("一般パラメータ設定 - [無題]"));
    const QString name = dir.filePath("unknown.ap0");
    TBuffer image;
    image.ampCode = CodeUnknown;
    image.words = {1, 2};
    ASSERT_TRUE(dmMain.WriteParameterFile(image, name));
    w->AskOpenName = [name](const QString &) { return name; };
    w->actFileOpen->trigger();
    EXPECT_EQ(w->Source(), 0);
    EXPECT_EQ(Tabs(w->tabGroup), QStringList{"-"});
    EXPECT_EQ(w->Table().rowCount(), 0);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("一般パラメータ設定 - [%1]").arg(name));
    EXPECT_TRUE(w->actFileSave->isEnabled());
    EXPECT_TRUE(messages.entries.isEmpty());

    w->actFileClose->trigger();
    EXPECT_EQ(w->Source(), -1);
    EXPECT_TRUE(w->FileName().isEmpty());
}

TEST_F(ParamsWindow, BrokenFileIsReportedAndForgotten)
{
    auto w = Open(false);
    const QString name = dir.filePath("broken.ap0");
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("AMP-CODE,0x00A101\r\nPARAM-CNT,3\r\nPARAMETER,0,0x0\r\nPARAMETER,2,0x0\r\nPARAMETER,1,0x0\r\n");
    f.close();
    w->AskOpenName = [name](const QString &) { return name; };
    w->actFileOpen->trigger();
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("アンプファイルが壊れています。")});
    EXPECT_EQ(w->Source(), -1);
    EXPECT_TRUE(w->FileName().isEmpty());
}

TEST_F(ParamsWindow, FileModeEditSaveAndSaveAs)
{
    auto w = Open(false);
    const QString name = dir.filePath("a.ap0"), other = dir.filePath("b.ap0");
    TBuffer image;
    image.ampCode = CodeA;
    image.words = QList<quint16>(0x4C8 / 2, 100);
    ASSERT_TRUE(dmMain.WriteParameterFile(image, name));
    w->AskOpenName = [name](const QString &) { return name; };
    w->actFileOpen->trigger();
    ASSERT_EQ(w->Source(), 0);
    EXPECT_TRUE(w->sbtnFile->isChecked());
    const int row = RowOf(*w, 0xF8004);
    EXPECT_EQ(Cell(*w, row, TDMUserParameter::colNow), "10.0");
    w->grdMode->selectRow(row);
    TypeInDialog(*w, "12.3");
    w->btnEdit->click();

    // The question in file mode saves on Yes.
    messages.Script({TMsgAnswer::Yes});
    w->tabGroup->setCurrentIndex(1);
    EXPECT_EQ(messages.entries.value(0).text, QStringLiteral("パラメータが変更されています。\r\n変更をファイルに保存しますか?"));
    TBuffer back;
    ASSERT_TRUE(dmMain.ReadParameterFile(back, name));
    EXPECT_EQ(back.words[2], 123);
    image.words[2] = 123;
    EXPECT_EQ(back.words, image.words);

    w->AskSaveName = [other](const QString &) { return other; };
    w->actFileSaveAs->trigger();
    EXPECT_EQ(w->FileName(), other);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("一般パラメータ設定 - [%1]").arg(other));
    ASSERT_TRUE(dmMain.ReadParameterFile(back, other));
    EXPECT_EQ(back.words, image.words);
}

TEST_F(ParamsWindow, DisplayLevelChangeRereadsUnderTheNewFilter)
{
    auto w = Open();
    w->Module().RunLevelDialog = [this] {
        env->DisplayLevel = dlService;
        return true;
    };
    w->btnLevel->click();
    Settle();
    EXPECT_EQ(w->edtLevel->text(), QStringLiteral("メーカエンジニアレベル"));
    EXPECT_EQ(Tabs(w->tabGroup), QStringList({"Group 0", "Group 1", "Group 2", "Group 3", "Group 4", "Group 5"}));
    EXPECT_EQ(w->TabGroup(5), 5);
}

TEST_F(ParamsWindow, ClosingWithChangesAsks)
{
    auto w = Open();
    w->grdMode->selectRow(RowOf(*w, 0xF8004));
    TypeInDialog(*w, "33.0");
    w->btnEdit->click();
    messages.Script({TMsgAnswer::Cancel});
    w->close();
    EXPECT_TRUE(w->isVisible());
    messages.Script({TMsgAnswer::No});
    w->close();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(ParamsWindow, AFailedOrCancelledSaveKeepsTheEditsAndTheTab)
{
    auto w = Open(false);
    const QString name = dir.filePath("kept.ap0");
    OpenFile(*w, name, QList<quint16>(0x4C8 / 2, 100));
    w->grdMode->selectRow(RowOf(*w, 0xF8004));
    TypeInDialog(*w, "12.3");
    w->btnEdit->click();
    ASSERT_TRUE(w->Module().HasChanges());

    // The file went away: Yes turns into Save As, which the user cancels.
    QFile::remove(name);
    w->AskSaveName = [](const QString &) { return QString(); };
    messages.Script({TMsgAnswer::Yes});
    w->tabGroup->setCurrentIndex(1);
    EXPECT_EQ(w->tabGroup->currentIndex(), 0);
    EXPECT_TRUE(w->Module().HasChanges());

    // Save As into a folder that does not exist: an I/O error.
    const QString nowhere = dir.filePath("missing/x.ap0");
    w->AskSaveName = [nowhere](const QString &) { return nowhere; };
    messages.Clear();
    messages.Script({TMsgAnswer::Yes});
    w->close();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->Module().HasChanges());
    EXPECT_EQ(messages.Count(TMsgKind::Error), 1);
    EXPECT_EQ(Cell(*w, RowOf(*w, 0xF8004), TDMUserParameter::colInput), "12.3");
    messages.Script({TMsgAnswer::No});
    w->close();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(ParamsWindow, AnEditOutsideAShortFileIsRefusedNotDropped)
{
    auto w = Open(false);
    const QString name = dir.filePath("short.ap0");
    const QList<quint16> words = {100, 100}; // 0xF8000..0xF8003 only
    OpenFile(*w, name, words);
    const int row = RowOf(*w, 0xF8004);
    w->grdMode->selectRow(row);
    TypeInDialog(*w, "12.3");
    w->btnEdit->click();
    w->actFileSave->trigger();
    ASSERT_EQ(messages.Count(TMsgKind::Warning), 1);
    EXPECT_TRUE(messages.entries[0].text.contains(w->Module().Definition(w->Module().RowIdAt(row)).symbol));
    EXPECT_TRUE(w->Module().HasChanges());
    EXPECT_EQ(Cell(*w, row, TDMUserParameter::colInput), "12.3");
    TBuffer back;
    ASSERT_TRUE(dmMain.ReadParameterFile(back, name));
    EXPECT_EQ(back.words, words);
}

TEST_F(ParamsWindow, InputsOfAnAxisLostByACablePullAreKept)
{
    auto w = Open();
    const int row = RowOf(*w, 0xF8004);
    w->grdMode->selectRow(row);
    TypeInDialog(*w, "44.0");
    w->btnEdit->click();
    for (int n = 2; n <= 5; ++n)
        env->SetAmpCode(n, -1);
    Control("fault 1 silent");
    w->actAmplifierWrite->trigger();
    Settle();
    EXPECT_EQ(w->Source(), 1) << "the window does not fall back while it holds inputs";
    EXPECT_TRUE(w->Module().HasChanges());
    EXPECT_EQ(Cell(*w, row, TDMUserParameter::colInput), "44.0");
    EXPECT_FALSE(w->actAmplifierWrite->isEnabled());
    EXPECT_FALSE(messages.Texts().contains(NoAxis));

    // Leaving asks; Yes cannot write to the lost axis and keeps the window.
    messages.Clear();
    messages.Script({TMsgAnswer::Yes});
    w->close();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->Module().HasChanges());
    messages.Script({TMsgAnswer::No});
    w->close();
    EXPECT_FALSE(w->isVisible());
}

// --- The transfer window ---------------------------------------------------

class TransferWindow : public ParamsWindow
{
protected:
    std::unique_ptr<TFMLoadSave> OpenTransfer(TFMLoadSave::TDirection direction, int axis)
    {
        auto t = std::make_unique<TFMLoadSave>(direction, axis, *ctx);
        t->show();
        Settle();
        return t;
    }
};

TEST_F(TransferWindow, AmplifierToFileThenFileToAnotherAxisOfTheGroup)
{
    Poke(1, 0xF8004, QByteArray::fromHex("2C01")); // 300 on axis 1
    auto save = OpenTransfer(TFMLoadSave::TDirection::AmpToFile, 1);
    EXPECT_EQ(save->windowTitle(), QStringLiteral("パラメータの転送 [アンプ->ファイル]"));
    EXPECT_EQ(save->grpAmplifier->title(), QStringLiteral("転送元"));
    EXPECT_TRUE(save->rbtnAxis[0]->isChecked());
    EXPECT_EQ(save->edtModel->text().trimmed(), "TVA-S10A");
    for (QCheckBox *c : {save->cboxGeneral, save->cboxSystem, save->cboxMotor}) {
        EXPECT_TRUE(c->isChecked());
        EXPECT_FALSE(c->isEnabled());
    }
    EXPECT_FALSE(save->btnExecute->isEnabled());
    save->SetFileName(dir.filePath("CAPS.AP0"));
    EXPECT_FALSE(save->btnExecute->isEnabled()) << "the extension is exactly .ap0";
    const QString name = dir.filePath("axis1.ap0");
    save->SetFileName(name);
    EXPECT_TRUE(save->btnExecute->isEnabled());
    Shot(save.get(), "transfer-amp-to-file");
    save->btnExecute->click();
    EXPECT_EQ(messages.Texts(), QStringList{Finished});
    EXPECT_TRUE(QFileInfo::exists(name));

    messages.Clear();
    auto load = OpenTransfer(TFMLoadSave::TDirection::FileToAmp, 3);
    EXPECT_EQ(load->grpAmplifier->title(), QStringLiteral("転送先"));
    EXPECT_TRUE(load->cboxGeneral->isChecked());
    EXPECT_FALSE(load->cboxSystem->isChecked());
    EXPECT_TRUE(load->cboxSystem->isEnabled());
    load->SetFileName(name);
    messages.Script({TMsgAnswer::Ok, TMsgAnswer::Yes});
    load->btnExecute->click();
    EXPECT_EQ(messages.Texts(),
              QStringList({QStringLiteral("パラメータをサーボアンプに書き込みます。\r\nよろしいですか?"),
                           QStringLiteral("サーボアンプのソフトウェアバージョンが異なるため、転送できないパラメータがあります。\r\n転送しますか?"),
                           Finished}));
    EXPECT_EQ(PeekValue(3, 0xF8004, 2), 300u);
    Shot(load.get(), "transfer-file-to-amp");

    // Unchecking every kind disables the execution.
    load->cboxGeneral->setChecked(false);
    EXPECT_FALSE(load->btnExecute->isEnabled());
}

TEST_F(TransferWindow, FileOfAnotherGroupIsRefusedWithoutAnEnd)
{
    const QString name = dir.filePath("c.ap0");
    TBuffer image;
    image.ampCode = CodeC;
    image.words = {0};
    ASSERT_TRUE(dmMain.WriteParameterFile(image, name));
    auto load = OpenTransfer(TFMLoadSave::TDirection::FileToAmp, 1);
    load->SetFileName(name);
    messages.Script({TMsgAnswer::Ok});
    load->btnExecute->click();
    EXPECT_EQ(messages.Texts().mid(1), QStringList({QStringLiteral("サーボアンプの種類が異なります。転送できません。")}))
        << "nothing was transferred: no end to report";
}

TEST_F(TransferWindow, NoToTheVersionQuestionWritesNothingAndReportsNoEnd)
{
    const QString name = dir.filePath("a.ap0");
    auto save = OpenTransfer(TFMLoadSave::TDirection::AmpToFile, 1);
    save->SetFileName(name);
    save->btnExecute->click();
    ASSERT_TRUE(QFileInfo::exists(name));
    messages.Clear();
    const QByteArray before = Peek(3, 0xF8000, 0x40);
    Poke(1, 0xF8004, QByteArray::fromHex("2C01"));
    auto load = OpenTransfer(TFMLoadSave::TDirection::FileToAmp, 3);
    load->SetFileName(name);
    messages.Script({TMsgAnswer::Ok, TMsgAnswer::No});
    load->btnExecute->click();
    ASSERT_EQ(messages.entries.size(), 2);
    EXPECT_EQ(messages.entries[1].buttons, TMsgButtons::YesNoDefaultNo) << "the risky question defaults to No";
    EXPECT_FALSE(messages.Texts().contains(Finished));
    EXPECT_EQ(Peek(3, 0xF8000, 0x40), before);
}

TEST_F(TransferWindow, ExecuteAfterACablePullKeepsTheGoodFile)
{
    const QString name = dir.filePath("good.ap0");
    auto save = OpenTransfer(TFMLoadSave::TDirection::AmpToFile, 1);
    save->SetFileName(name);
    save->btnExecute->click();
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray good = f.readAll();
    f.close();
    ASSERT_GT(good.size(), 1000);
    messages.Clear();

    // The window stays open across the pull; its button was enabled before.
    for (int n = 1; n <= 15; ++n)
        env->SetAmpCode(n, -1);
    wentOffline = true;
    save->SetFileName(name);
    save->ExecuteTransfer();
    Settle();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), good);
    f.close();
    EXPECT_FALSE(messages.Texts().contains(Finished));

    // Nor does the module write for an axis out of use or of unknown model.
    TDMLoadSave dm(ctx->intf, ctx->dmMain, ctx->env, ctx->tran);
    dm.OpenTables();
    EXPECT_FALSE(dm.TransferAmpToFile(1, name, QStringLiteral("X")));
    env->SetAmpCode(5, CodeUnknown);
    EXPECT_FALSE(dm.TransferAmpToFile(5, name, QStringLiteral("X")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), good);
}

TEST_F(TransferWindow, MissingFileIsNamedInTheWarning)
{
    auto load = OpenTransfer(TFMLoadSave::TDirection::FileToAmp, 1);
    const QString name = dir.filePath("gone.ap0");
    load->SetFileName(name);
    messages.Script({TMsgAnswer::Ok});
    load->btnExecute->click();
    ASSERT_EQ(messages.entries.size(), 2);
    EXPECT_EQ(messages.entries[1].text,
              name + QStringLiteral("\r\nファイルが見つかりません。\r\n指定したファイル名が正しいかどうか確認してください。"));
    messages.Clear();
    messages.Script({TMsgAnswer::Cancel});
    load->btnExecute->click();
    EXPECT_EQ(messages.entries.size(), 1) << "Cancel stops before the file is looked at";
}

TEST_F(TransferWindow, StartingAxisNotInUseTakesTheLowestAndNoneWarns)
{
    env->SetAmpCode(1, -1);
    auto t = OpenTransfer(TFMLoadSave::TDirection::AmpToFile, 1);
    EXPECT_EQ(t->Axis(), 2);
    EXPECT_TRUE(t->rbtnAxis[1]->isChecked());
    EXPECT_FALSE(t->rbtnAxis[0]->isEnabled());

    for (int n = 1; n <= 15; ++n)
        env->SetAmpCode(n, -1);
    auto none = OpenTransfer(TFMLoadSave::TDirection::AmpToFile, 1);
    EXPECT_EQ(messages.Texts(), QStringList{NoAxis});
    none->SetFileName(dir.filePath("x.ap0"));
    EXPECT_FALSE(none->btnExecute->isEnabled());
    for (QRadioButton *b : none->rbtnAxis)
        EXPECT_FALSE(b->isChecked());
}

TEST_F(TransferWindow, FailedTransferClearsTheNameAndMovesOn)
{
    auto save = OpenTransfer(TFMLoadSave::TDirection::AmpToFile, 1);
    save->SetFileName(dir.filePath("fail.ap0"));
    Control("fault 1 silentafter 5");
    save->btnExecute->click();
    Settle();
    EXPECT_TRUE(save->FileName().isEmpty());
    EXPECT_EQ(save->Axis(), 2);
    EXPECT_FALSE(messages.Texts().contains(Finished));
}

TEST_F(TransferWindow, UnknownModelAxisHasNoModelTextButCanBeChosen)
{
    auto t = OpenTransfer(TFMLoadSave::TDirection::AmpToFile, 5);
    EXPECT_EQ(t->Axis(), 5);
    EXPECT_TRUE(t->edtModel->text().isEmpty());
    EXPECT_EQ(env->AmpCode(5), CodeUnknown) << "not taken out of use";
}

} // namespace
