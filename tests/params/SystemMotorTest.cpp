// The system and motor parameter windows and the motor selection against
// the simulator, on the offscreen platform.
#include "Keys.h"
#include "Shots.h"
#include "SimFixture.h"
#include "support/MessageRecorder.h"

#include "app/cli/Cli.h"
#include "defdb/ValueCodec.h"
#include "params/FMMotorParameter.h"
#include "params/FMMotorSelect.h"
#include "params/FMParameterTable.h"
#include "params/FMSystemParameter.h"
#include "params/FMUserParameterEdit.h"
#include "params/MotorFile.h"
#include "params/ParamRows.h"
#include "params/ParameterFile.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextStream>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

const QString Library = QStringLiteral(TUVANTA_BIN_DIR "/MotorFiles");
const QString Corrupt = QStringLiteral("モータパラメータファイルが壊れています。");
const QString OtherKind = QStringLiteral("選択されたモータパラメータファイルは種類が異なります。");

void Settle(int ms = 50)
{
    QElapsedTimer t;
    t.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    while (t.elapsed() < ms);
}

QString Cell(TFMParameterTable &t, int row, int column)
{
    return t.index(row, column).data().toString();
}

bool Red(TFMParameterTable &t, int row, int column)
{
    return t.index(row, column).data(Qt::ForegroundRole).value<QBrush>().color() == QColor(Qt::red);
}

// The motor parameters of models A and B in address order.
QList<int> MotorAddresses()
{
    QList<int> out;
    for (int a = 0xF8210; a <= 0xF821C; a += 2)
        out << a;
    for (int a = 0xF8240; a <= 0xF8252; a += 2)
        out << a;
    return out;
}

class SystemMotor : public TSimFixture
{
protected:
    template<class W>
    std::unique_ptr<W> Open(bool online = true)
    {
        ctx->online = [online, this] { return online && !wentOffline; };
        auto w = std::make_unique<W>(*ctx);
        w->show();
        Settle();
        return w;
    }
    // The edit dialog as the user works it: type into its box, press OK.
    static void TypeInDialog(TDMParameterBase &m, const QString &text)
    {
        m.RunEditDialog = [text](TDMUserParameterEdit &e) {
            TFMUserParameterEdit d(e);
            d.show();
            d.edtValue->selectAll();
            TypeText(d.edtValue, text);
            d.btnOk->click();
            return d.result() == QDialog::Accepted;
        };
    }
    // A parameter file of model A with the axis's parameter area.
    QString AreaFile(int axis, const QString &name)
    {
        TBuffer image;
        image.ampCode = 0xA101;
        image.startAddress = 0xF8000;
        const QByteArray bytes = Peek(axis, 0xF8000, 0x4C8);
        for (int i = 0; i + 1 < bytes.size(); i += 2)
            image.words << quint16(quint8(bytes[i]) | quint8(bytes[i + 1]) << 8);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(TParameterFile::Save(image, path, QStringLiteral("Version test")));
        return path;
    }
    QString WriteText(const QString &name, const QByteArray &text)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    }

    TMessageRecorder messages;
};

struct TSystemRow
{
    int row;
    const char *page;
    const char *name;
    int address; // 0: not an address item
    bool editable;
};

const TSystemRow SystemRows[] = {
    {0, "--", "アンプ容量", 0xF8200, false},
    {1, "--", "モータ構造", 0xF8202, false},
    {2, "--", "制御電源入力電圧", 0, false},
    {3, "--", "制御電源入力種別", 0, false},
    {4, "--", "主回路電源入力電圧", 0xF8203, false},
    {5, "00", "主回路電源入力種別", 0xF8204, true},
    {6, "01", "モータエンコーダタイプ", 0xF8205, true},
    {7, "02", "インクリメンタルエンコーダ機能選択", 0xF8206, true},
    {8, "03", "インクリメンタルエンコーダ分解能", 0xF8208, true},
    {9, "04", "アブソリュートエンコーダ機能選択", 0xF820C, true},
    {10, "05", "アブソリュートエンコーダ分解能", 0xF820D, true},
    {11, "06", "組合せモータ型番", 0, false},
    {12, "08", "制御モード", 0xF8220, true},
    {13, "09", "位置ループ制御・位置ループエンコーダ選択", 0xF8221, true},
    {14, "0A", "外部エンコーダ分解能", 0xF8224, true},
    {15, "0B", "回生抵抗選択", 0xF8228, true},
};

} // namespace

TEST_F(SystemMotor, SystemRowsShowTheAmplifiersMemory)
{
    // Odd and even single bytes, and a 4-byte value across two words.
    Poke(1, 0xF8202, QByteArray::fromHex("0102"));
    Poke(1, 0xF8204, QByteArray::fromHex("0201"));
    Poke(1, 0xF8208, QByteArray::fromHex("40420F00"));
    auto w = Open<TFMSystemParameter>();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("システムパラメータ設定"));
    ASSERT_EQ(w->Table().rowCount(), 16);
    EXPECT_EQ(w->Table().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("ﾍﾟｰｼﾞ"));
    const TTableDataRows tables = ParamRows::TableData(w->Module().cdsTable_Data);
    for (const TSystemRow &r : SystemRows) {
        EXPECT_EQ(Cell(w->Table(), r.row, 0), QString::fromUtf8(r.page)) << r.row;
        EXPECT_EQ(Cell(w->Table(), r.row, 1), QString::fromUtf8(r.name)) << r.row;
        if (!r.editable) {
            EXPECT_EQ(Cell(w->Table(), r.row, 3), "-----") << r.row;
        }
        if (r.address == 0)
            continue;
        const int id = w->Module().RowIdAtAddress(TValue(r.address));
        ASSERT_GE(id, 0) << r.row;
        const TParamDef &def = w->Module().Definition(id);
        const qint32 memory = qint32(PeekValue(1, r.address, def.length));
        EXPECT_EQ(Cell(w->Table(), r.row, 2),
                  ValueCodec::ValueText(TValueField::Now, memory, def, w->Module().DecimalSettings(), tables))
            << r.row;
        if (r.editable) {
            EXPECT_EQ(Cell(w->Table(), r.row, 3), "") << r.row;
        }
    }
    EXPECT_EQ(Cell(w->Table(), 8, 2), "1000000");
    EXPECT_EQ(Cell(w->Table(), 2, 2), "DC24V");
    EXPECT_EQ(Cell(w->Table(), 3, 2), QStringLiteral("単相"));
    EXPECT_EQ(Cell(w->Table(), 11, 2), "TVM-0400A (0004-0021)");
    // An axis shown: it can be verified and printed.
    for (QAction *a : {w->actDiskVerify, w->actPrint, w->actPrintPreview})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();

    // Fixed rows cannot be edited; the others can.
    w->sgrdSystem->selectRow(0);
    EXPECT_FALSE(w->btnEdit->isEnabled());
    w->sgrdSystem->selectRow(11);
    EXPECT_FALSE(w->btnEdit->isEnabled());
    w->sgrdSystem->selectRow(14);
    EXPECT_TRUE(w->btnEdit->isEnabled());
    EXPECT_TRUE(messages.entries.isEmpty()) << messages.Texts().join(u'|').toStdString();
    Shot(w.get(), "system-parameters");
}

TEST_F(SystemMotor, CombinedMotorTextFromItsWords)
{
    Poke(1, 0xF8210, QByteArray::fromHex("0100020041424344454647484940"));
    Poke(1, 0xF821C, QByteArray::fromHex("494A"));
    auto w = Open<TFMSystemParameter>();
    EXPECT_EQ(Cell(w->Table(), 11, 2), "ABCDEFGHIJ(0001-0002)");
}

TEST_F(SystemMotor, AnEditedItemIsWrittenInItsByteOrderAndNothingElseChanges)
{
    auto w = Open<TFMSystemParameter>();
    const QByteArray before = Peek(1, 0xF8000, 0x4C8);
    TypeInDialog(w->Module(), "1193046"); // 0x123456
    w->sgrdSystem->selectRow(14);
    w->btnEdit->click();
    EXPECT_EQ(Cell(w->Table(), 14, 3), "1193046");
    EXPECT_TRUE(Red(w->Table(), 14, 3));
    Shot(w.get(), "system-parameters-edited");

    // Cancelling the confirmation writes nothing and keeps the input.
    messages.Script({TMsgAnswer::Cancel});
    w->actAmplifierWrite->trigger();
    EXPECT_EQ(Peek(1, 0xF8000, 0x4C8), before);
    EXPECT_EQ(Cell(w->Table(), 14, 3), "1193046");

    messages.Clear();
    messages.Script({TMsgAnswer::Ok});
    w->actAmplifierWrite->trigger();
    ASSERT_EQ(messages.Texts(), QStringList{QStringLiteral("パラメータをサーボアンプに書き込みます。\r\nよろしいですか?")});
    QByteArray expected = before;
    expected.replace(0x224, 4, QByteArray::fromHex("56341200"));
    EXPECT_EQ(Peek(1, 0xF8000, 0x4C8), expected);
    EXPECT_EQ(Cell(w->Table(), 14, 2), "1193046");
    EXPECT_EQ(Cell(w->Table(), 14, 3), "");
    EXPECT_FALSE(w->Module().HasChanges());
}

TEST_F(SystemMotor, AModelWithoutSystemRowShowsDashesAndAsksNothing)
{
    Control("axis 1 remove");
    Control("axis 2 remove");
    Control("axis 3 remove");
    ctx->env.SetAmpCode(1, -1);
    ctx->env.SetAmpCode(2, -1);
    ctx->env.SetAmpCode(3, -1);
    auto w = Open<TFMSystemParameter>();
    ASSERT_EQ(w->Source(), 4); // model C
    ASSERT_EQ(w->Table().rowCount(), 16);
    for (const TSystemRow &r : SystemRows)
        EXPECT_EQ(Cell(w->Table(), r.row, 2), "-----") << r.row;
    auto m = Open<TFMMotorParameter>();
    EXPECT_EQ(Cell(m->SystemTable(), 0, 1), "");
    EXPECT_EQ(Cell(m->MotorTable(), 0, 1), "-----");
    // No motor parameters: any motor file is of another kind.
    m->AskMotorFile = [](const QString &) { return Library + "/A-Series/TVM-0400A.mp0"; };
    m->SelectMotor();
    EXPECT_TRUE(messages.Texts().contains(OtherKind));
    EXPECT_FALSE(m->Module().HasChanges());
}

TEST_F(SystemMotor, ChosenMotorIsWrittenWholeAlsoItsUnchangedValues)
{
    auto w = Open<TFMMotorParameter>();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("モータパラメータ設定"));
    ASSERT_EQ(w->SystemTable().rowCount(), 8);
    EXPECT_EQ(Cell(w->SystemTable(), 0, 0), QStringLiteral("アンプ容量"));
    EXPECT_EQ(Cell(w->MotorTable(), 0, 1), "TVM-0400A (0004-0021)");
    QString preselected;
    w->AskMotorFile = [&](const QString &name) {
        preselected = name;
        return Library + "/A-Series/TVM-0750A.mp0";
    };
    w->btnSelect->click();
    EXPECT_EQ(preselected, "TVM-0400A.mp0");
    EXPECT_EQ(Cell(w->MotorTable(), 0, 2), "TVM-0750A");
    EXPECT_TRUE(Red(w->MotorTable(), 0, 2));
    Shot(w.get(), "motor-parameters-chosen");

    Control("log 1 clear");
    messages.Script({TMsgAnswer::Ok});
    w->actAmplifierWrite->trigger();
    TMotorFile file;
    ASSERT_TRUE(TMotorFile::Load(Library + "/A-Series/TVM-0750A.mp0", file));
    const QList<int> addresses = MotorAddresses();
    ASSERT_EQ(file.values.size(), addresses.size());
    for (int i = 0; i < addresses.size(); ++i)
        EXPECT_EQ(qint16(PeekValue(1, addresses[i], 2)), qint16(file.values[i])) << std::hex << addresses[i];
    // The first code word equals the amplifier's (4) and is sent all the same.
    const QString log = QString::fromStdString(Control("log 1"));
    EXPECT_TRUE(log.contains(QStringLiteral("PF8210"))) << log.toStdString();
    EXPECT_EQ(Cell(w->MotorTable(), 0, 1), "TVM-0750A (0004-0031)");
    EXPECT_EQ(Cell(w->MotorTable(), 0, 2), "");
    EXPECT_FALSE(Red(w->MotorTable(), 0, 2));
    EXPECT_FALSE(w->Module().HasChanges());
}

TEST_F(SystemMotor, BrokenOrForeignMotorFilesChangeNothing)
{
    auto w = Open<TFMMotorParameter>();
    const QString files[] = {
        Library + "/Other/Legacy/TVL-0100.MP0",
        WriteText("before.mp0", "0,1\nMOT-CNT,17\n"),
        WriteText("outside.mp0", "MOT-CNT,17\n17,1\n"),
        WriteText("huge.mp0", "MOT-CNT,20000\n"),
        WriteText("garbage.mp0", QByteArray("\x7F\x45\x4C\x46\x02\x01\x01\x00\x00", 9)),
        dir.filePath("missing.mp0"),
    };
    const QString expected[] = {OtherKind, Corrupt, Corrupt, Corrupt, Corrupt, Corrupt};
    for (int i = 0; i < 6; ++i) {
        messages.Clear();
        w->AskMotorFile = [&](const QString &) { return files[i]; };
        w->SelectMotor();
        EXPECT_EQ(messages.Texts(), QStringList{expected[i]}) << i;
        EXPECT_FALSE(w->Module().HasChanges()) << i;
        EXPECT_EQ(Cell(w->MotorTable(), 0, 2), "") << i;
    }
    // A file of the right size after a foreign one is taken.
    messages.Clear();
    w->AskMotorFile = [](const QString &) { return Library + "/A-Series/TVM-0200A.mp0"; };
    w->SelectMotor();
    EXPECT_TRUE(messages.entries.isEmpty());
    EXPECT_TRUE(w->Module().HasChanges());
}

TEST_F(SystemMotor, FileRoundTripsOfBothWindows)
{
    const QString path = AreaFile(1, "area.ap0");
    {
        auto w = Open<TFMSystemParameter>(false);
        w->AskOpenName = [&](const QString &) { return path; };
        w->actFileOpen->trigger();
        ASSERT_EQ(w->Source(), 0);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("システムパラメータ設定 - [%1]").arg(path));
        EXPECT_EQ(Cell(w->Table(), 11, 2), "TVM-0400A (0004-0021)");
        TypeInDialog(w->Module(), "77777");
        w->sgrdSystem->selectRow(14);
        w->btnEdit->click();
        messages.Script({TMsgAnswer::Ok});
        w->actFileSave->trigger();
        EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("パラメータをファイルに保存します。\r\nよろしいですか?")});
        EXPECT_EQ(Cell(w->Table(), 14, 2), "77777");
    }
    {
        auto w = Open<TFMMotorParameter>(false);
        w->AskOpenName = [&](const QString &) { return path; };
        w->actFileOpen->trigger();
        w->AskMotorFile = [](const QString &) { return Library + "/A-Series/TVM-1000A.mp0"; };
        w->SelectMotor();
        // Save As does not ask.
        messages.Clear();
        w->AskSaveName = [&](const QString &) { return dir.filePath("motor.ap0"); };
        w->actFileSaveAs->trigger();
        EXPECT_TRUE(messages.entries.isEmpty());
        EXPECT_EQ(Cell(w->MotorTable(), 0, 1), "TVM-1000A (0004-0041)");
        EXPECT_EQ(Cell(w->MotorTable(), 0, 2), "");
    }
    TBuffer image;
    ASSERT_TRUE(dmMain.ReadParameterFile(image, dir.filePath("motor.ap0")));
    EXPECT_EQ(ImageValue(image, 0xF8224, 4), 77777);
    TMotorFile file;
    ASSERT_TRUE(TMotorFile::Load(Library + "/A-Series/TVM-1000A.mp0", file));
    const QList<int> addresses = MotorAddresses();
    for (int i = 0; i < addresses.size(); ++i)
        EXPECT_EQ(qint16(ImageValue(image, addresses[i], 2)), qint16(file.values[i])) << std::hex << addresses[i];
    // Everything else is the file's as it was.
    TBuffer original;
    ASSERT_TRUE(dmMain.ReadParameterFile(original, path));
    EXPECT_EQ(ImageValue(image, 0xF8004, 2), ImageValue(original, 0xF8004, 2));
}

TEST_F(SystemMotor, MotorSelectionShowsTheLibraryTree)
{
    QDir root(dir.filePath("lib"));
    ASSERT_TRUE(root.mkpath("deep/deeper/deepest"));
    ASSERT_TRUE(root.mkpath("empty"));
    WriteText("lib/deep/deeper/deepest/Motor-X.MP0", "MOT-CNT,0\n");
    WriteText("lib/notes.txt", "x");
    TFMMotorSelect d(root.path(), "motor-x.mp0");
    d.show();
    QPushButton *ok = d.buttons->button(QDialogButtonBox::Ok);
    EXPECT_EQ(d.ChosenFile(), root.path() + "/deep/deeper/deepest/Motor-X.MP0");
    EXPECT_TRUE(ok->isEnabled());
    ASSERT_TRUE(d.SelectName("notes.txt"));
    EXPECT_FALSE(ok->isEnabled());
    ASSERT_TRUE(d.SelectName("empty"));
    EXPECT_FALSE(ok->isEnabled());
    ASSERT_TRUE(d.SelectName("deeper"));
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(d.tvMotor->topLevelItemCount(), 3);

    TFMMotorSelect library(Library, "TVM-0400A.mp0");
    library.show();
    EXPECT_EQ(library.ChosenFile(), Library + "/A-Series/TVM-0400A.mp0");
    Shot(&library, "motor-select");
}

TEST_F(SystemMotor, CliWritesAMotorFile)
{
    engine.ClosePort();
    auto run = [&](const QString &line) {
        QStringList args = {QStringLiteral("--device"), dir.filePath("tty"), QStringLiteral("--baud"),
                            QStringLiteral("57600"), QStringLiteral("--db"), SampleDatabasePath()};
        args << line.split(u' ');
        QString out, err;
        QTextStream o(&out), e(&err);
        const int status = TCli(o, e).Run(args);
        o.flush();
        e.flush();
        return std::tuple{status, out, err};
    };
    const QString file = Library + "/A-Series/TVM-0200A.mp0";
    auto [declined, o1, e1] = run("motor 2 " + file);
    EXPECT_EQ(declined, TCli::ExitRefused) << e1.toStdString();
    EXPECT_EQ(PeekValue(2, 0xF8212, 2), 0x21u);
    auto [foreign, o2, e2] = run("motor 2 " + Library + "/Other/Legacy/TVL-0100.MP0 --yes");
    EXPECT_EQ(foreign, TCli::ExitRefused);
    auto [broken, o3, e3] = run("motor 2 " + WriteText("bad.mp0", "MOT-CNT,1\n1,1\n") + " --yes");
    EXPECT_EQ(broken, TCli::ExitBadFile);
    auto [status, out, err] = run("motor 2 " + file + " --yes");
    ASSERT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(out, "wrote 17 motor parameters of TVM-0200A to axis 2\n");
    EXPECT_EQ(PeekValue(2, 0xF8212, 2), 0x11u);
    EXPECT_EQ(PeekValue(2, 0xF8240, 2), 140u);
}
