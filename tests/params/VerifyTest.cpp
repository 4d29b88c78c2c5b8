// Verification of the simulator's amplifiers against parameter files, its
// window, and the parameter report as PDF.
#include "PdfText.h"
#include "Shots.h"
#include "SimFixture.h"
#include "support/MessageRecorder.h"

#include "ZnLibs/ZnPrintSettings.h"
#include "ZnLibs/ZnPrinter.h"
#include "app/cli/Cli.h"
#include "app/cli/CliCommand.h"
#include "params/DMLoadSave.h"
#include "params/DMUserParameter.h"
#include "params/DMVerify.h"
#include "params/FMUserParameter.h"
#include "params/FMVerify.h"
#include "params/RPUserParameter.h"
#include "params/RPVerify.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QTranslator>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QString OtherKind = QStringLiteral("サーボアンプの種類が異なります。\r\n照合できません。");
const QString OtherVersion = QStringLiteral("サーボアンプのソフトウェアバージョンが異なります。\r\n照合を行いますか?");

QByteArray Le(quint32 value, int length)
{
    QByteArray b;
    for (int k = 0; k < length; ++k)
        b.append(char((value >> (8 * k)) & 0xFF));
    return b;
}


void Settle(int ms = 50)
{
    QElapsedTimer t;
    t.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    while (t.elapsed() < ms);
}

class Verify : public TSimFixture
{
protected:
    void SetUp() override
    {
        TSimFixture::SetUp();
        TZnPrintSettings::SetStoreFile(dir.filePath(QStringLiteral("printers.ini")));
    }
    void TearDown() override
    {
        TZnPrintSettings::SetStoreFile(QString());
        TSimFixture::TearDown();
    }

    // The axis's whole area as a new file.
    QString FileFrom(int axis, const QString &name)
    {
        TDMLoadSave save(intf, dmMain, *env, *tran);
        save.OpenTables();
        const QString path = dir.filePath(name);
        QString model;
        save.ReadAmpModelText(axis, model);
        EXPECT_TRUE(save.TransferAmpToFile(axis, path, model));
        return path;
    }

    struct TDifference {
        int address;
        int ampPattern, diskPattern;
        QString ampName, ampValue, diskValue;
        bool operator==(const TDifference &) const = default;
    };
    friend std::ostream &operator<<(std::ostream &o, const TDifference &d)
    {
        return o << std::hex << d.address << std::dec << " " << d.ampPattern << "/" << d.diskPattern << " "
                 << d.ampName.toStdString() << " " << d.ampValue.toStdString() << " | " << d.diskValue.toStdString();
    }
    static std::vector<TDifference> Differences(const TDMVerify &v)
    {
        std::vector<TDifference> out;
        for (int i = 0; i < v.DifferenceCount(); ++i) {
            const int r = v.cdsList.RowIdAt(i);
            out.push_back({v.AddressAt(i), v.cdsList.RowValue(r, "AMP_PATTERN").AsInteger(),
                           v.cdsList.RowValue(r, "DSK_PATTERN").AsInteger(),
                           v.CellText(i, TDMVerify::sdAmp, TDMVerify::colName),
                           v.CellText(i, TDMVerify::sdAmp, TDMVerify::colValue),
                           v.CellText(i, TDMVerify::sdDisk, TDMVerify::colValue)});
        }
        return out;
    }

    TMessageRecorder messages;
};

TEST_F(Verify, ChangedAddressesAreExactlyTheDifferences)
{
    const QString file = FileFrom(1, QStringLiteral("a.ap0"));
    env->Japanese = true;
    Poke(1, 0xF800A, Le(250, 2));        // ordinary 2-byte parameter (was 100)
    Poke(1, 0xF80A0, Le(0xFF, 2));       // maker parameter
    Poke(1, 0xF8050, Le(quint32(-5), 4)); // 4-byte signed value
    Poke(1, 0xF8380, Le(0x1234, 2));     // peculiar data: never listed
    Poke(1, 0xF84C0, Le(0x55, 4));       // reserve area: never listed

    TDMVerify v(intf, dmMain, *env, *tran);
    int shown = -1;
    v.RunWindow = [&](TDMVerify &d) { shown = d.DifferenceCount(); };
    ASSERT_TRUE(v.Compare(1, file));
    ASSERT_TRUE(v.Compared());
    const std::vector<TDifference> expected = {
        {0xF800A, 1, 1, QStringLiteral("負荷慣性比"), QStringLiteral("250"), QStringLiteral("100")},
        {0xF8050, 1, 1, QStringLiteral("ソフトリミット(負)"), QStringLiteral("-5"),
         v.CellText(1, TDMVerify::sdDisk, TDMVerify::colValue)},
        {0xF80A0, 2, 2, QStringLiteral("Maker Parameter[1500]"), QStringLiteral("00FF H"),
         v.CellText(2, TDMVerify::sdDisk, TDMVerify::colValue)},
    };
    EXPECT_EQ(Differences(v), expected);
    EXPECT_TRUE(v.CellText(2, TDMVerify::sdDisk, TDMVerify::colValue).endsWith(QStringLiteral(" H")));
    // Same parameters: only the values are drawn red.
    for (int i = 0; i < v.DifferenceCount(); ++i) {
        EXPECT_FALSE(v.RowRed(i));
        EXPECT_TRUE(v.ValueRed(i));
    }
    EXPECT_EQ(v.CellText(0, TDMVerify::sdAmp, TDMVerify::colGroup), QStringLiteral("0"));
    EXPECT_EQ(v.CellText(0, TDMVerify::sdAmp, TDMVerify::colPage), QStringLiteral("06"));
    EXPECT_EQ(v.CellText(0, TDMVerify::sdAmp, TDMVerify::colLevel), QStringLiteral("ベーシックレベル"));
    EXPECT_EQ(v.CellText(2, TDMVerify::sdAmp, TDMVerify::colGroup), QString());
    EXPECT_TRUE(messages.entries.isEmpty());

    // The full run shows the window with the list, then drops it.
    TDMVerify full(intf, dmMain, *env, *tran);
    full.RunWindow = [&](TDMVerify &d) { shown = d.DifferenceCount(); };
    EXPECT_TRUE(full.CompareWithFile(1, file));
    EXPECT_EQ(shown, 3);
    EXPECT_EQ(full.DifferenceCount(), 0);
}

TEST_F(Verify, AfterWritingTheFileBackNothingDiffers)
{
    const QString file = FileFrom(2, QStringLiteral("b.ap0"));
    Poke(2, 0xF800A, Le(7, 2));
    Poke(2, 0xF8050, Le(99, 4));
    TDMLoadSave load(intf, dmMain, *env, *tran);
    load.OpenTables();
    ASSERT_TRUE(load.TransferFileToAmp(2, file, TDMLoadSave::kdAll));
    messages.Clear();
    TDMVerify v(intf, dmMain, *env, *tran);
    ASSERT_TRUE(v.Compare(2, file));
    EXPECT_TRUE(v.Compared());
    EXPECT_EQ(Differences(v), std::vector<TDifference>{});
}

TEST_F(Verify, ShortFileListsOnlyWhatItHolds)
{
    const QString full = FileFrom(1, QStringLiteral("a.ap0"));
    TBuffer image;
    ASSERT_TRUE(dmMain.ReadParameterFile(image, full));
    image.words.resize((0xF8040 - image.startAddress) / 2); // ends before group 2
    const QString cut = dir.filePath(QStringLiteral("cut.ap0"));
    ASSERT_TRUE(dmMain.WriteParameterFile(image, cut));
    Poke(1, 0xF800A, Le(250, 2));
    TDMVerify v(intf, dmMain, *env, *tran);
    ASSERT_TRUE(v.Compare(1, cut));
    ASSERT_TRUE(v.Compared());
    ASSERT_EQ(v.DifferenceCount(), 1);
    EXPECT_EQ(v.AddressAt(0), 0xF800A);
}

TEST_F(Verify, FilesOfOtherModels)
{
    const QString fileA = FileFrom(1, QStringLiteral("a.ap0"));
    const QString fileC = FileFrom(4, QStringLiteral("c.ap0"));
    TBuffer unknown;
    ASSERT_TRUE(dmMain.ReadParameterFile(unknown, fileA));
    unknown.ampCode = CodeUnknown;
    const QString fileU = dir.filePath(QStringLiteral("u.ap0"));
    ASSERT_TRUE(dmMain.WriteParameterFile(unknown, fileU));
    const QString missing = dir.filePath(QStringLiteral("none.ap0"));

    struct TCase {
        const char *what;
        QString file;
        int axis;
        TMsgAnswer answer;
        TDMVerify::TOutcome outcome;
        QString message;
    } cases[] = {
        {"another group", fileC, 1, TMsgAnswer::Ok, TDMVerify::TOutcome::Refused, OtherKind},
        {"unknown model", fileU, 1, TMsgAnswer::Ok, TDMVerify::TOutcome::Refused, OtherKind},
        {"unknown model on both sides", fileU, 5, TMsgAnswer::Ok, TDMVerify::TOutcome::Refused, OtherKind},
        {"same group, declined", fileA, 3, TMsgAnswer::Cancel, TDMVerify::TOutcome::Declined, OtherVersion},
        {"same group, accepted", fileA, 3, TMsgAnswer::Ok, TDMVerify::TOutcome::Done, OtherVersion},
        {"missing file", missing, 1, TMsgAnswer::Ok, TDMVerify::TOutcome::Unreadable, QString()},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.what);
        messages.Clear();
        messages.defaultAnswer = c.answer;
        TDMVerify v(intf, dmMain, *env, *tran);
        EXPECT_TRUE(v.Compare(c.axis, c.file));
        EXPECT_EQ(v.LastOutcome(), c.outcome);
        EXPECT_EQ(v.Compared(), c.outcome == TDMVerify::TOutcome::Done);
        ASSERT_FALSE(messages.entries.isEmpty());
        if (!c.message.isEmpty()) {
            EXPECT_EQ(messages.entries.first().text, c.message);
        }
    }
}

TEST_F(Verify, SameGroupListsOnlyWhatDiffersAtSharedAddresses)
{
    const QString fileA = FileFrom(1, QStringLiteral("a.ap0"));
    // Axis 3 (model B) gets the same values where the models agree, but one.
    TDMLoadSave load(intf, dmMain, *env, *tran);
    load.OpenTables();
    messages.defaultAnswer = TMsgAnswer::Ok;
    ASSERT_TRUE(load.TransferFileToAmp(3, fileA, TDMLoadSave::kdAll));
    Poke(3, 0xF800A, Le(321, 2));
    messages.Clear();
    TDMVerify v(intf, dmMain, *env, *tran);
    ASSERT_TRUE(v.Compare(3, fileA));
    ASSERT_TRUE(v.Compared());
    bool found = false;
    for (int i = 0; i < v.DifferenceCount(); ++i) {
        const int r = v.cdsList.RowIdAt(i);
        const bool sameParameter =
            v.cdsList.RowValue(r, "AMP_PARA_ID") == v.cdsList.RowValue(r, "DSK_PARA_ID");
        // A shared parameter is listed only for a value that differs.
        EXPECT_TRUE(!sameParameter || v.ValueRed(i)) << v.AddressAt(i);
        EXPECT_EQ(v.RowRed(i), !sameParameter);
        if (v.AddressAt(i) == 0xF800A) {
            found = true;
            EXPECT_EQ(v.CellText(i, TDMVerify::sdAmp, TDMVerify::colValue), QStringLiteral("321"));
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(Verify, FailedReadEndsWithFalse)
{
    const QString file = FileFrom(1, QStringLiteral("a.ap0"));
    Control("fault 1 silentafter 10"); // the read stops part-way
    TDMVerify v(intf, dmMain, *env, *tran);
    int shown = 0;
    v.RunWindow = [&](TDMVerify &) { ++shown; };
    EXPECT_FALSE(v.CompareWithFile(1, file));
    EXPECT_EQ(v.LastOutcome(), TDMVerify::TOutcome::ReadFailed);
    EXPECT_EQ(shown, 0);
}

TEST_F(Verify, WindowShowsBothSidesAndPrints)
{
    const QString file = FileFrom(1, QStringLiteral("a.ap0"));
    Poke(1, 0xF800A, Le(250, 2));
    Poke(1, 0xF80A0, Le(0xFF, 2));
    TDMVerify v(intf, dmMain, *env, *tran);
    ASSERT_TRUE(v.Compare(1, file));
    TFMVerify w(v, true, nullptr);
    w.show();
    Settle();
    ASSERT_EQ(w.grdAmp->model()->rowCount(), 2);
    const QAbstractItemModel *m = w.grdAmp->model();
    EXPECT_EQ(m->index(0, TDMVerify::colValue).data().toString(), QStringLiteral("250"));
    EXPECT_EQ(m->index(0, TDMVerify::ColumnCount + TDMVerify::colValue).data().toString(), QStringLiteral("100"));
    EXPECT_EQ(m->index(0, TDMVerify::colValue).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_FALSE(m->index(0, TDMVerify::colName).data(Qt::ForegroundRole).isValid());
    EXPECT_TRUE(w.grdAmp->isColumnHidden(TDMVerify::ColumnCount));
    EXPECT_TRUE(w.grdDisk->isColumnHidden(0));
    // One selection for both grids.
    w.grdAmp->selectRow(1);
    EXPECT_EQ(w.grdDisk->selectionModel()->selectedRows().value(0).row(), 1);
    Shot(&w, QStringLiteral("verify"));

    // The printed list as PDF.
    TRPVerify report;
    report.SetContent(v, true);
    const QString pdf = dir.filePath(QStringLiteral("verify.pdf"));
    ASSERT_TRUE(report.SavePdf(pdf));
    const QString text = PdfText(pdf);
    for (const char *s : {"パラメータ照合結果一覧", "負荷慣性比", "Maker Parameter[", "ファイル名 : a.ap0", "ページ : 1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s;
}

TEST_F(Verify, EnglishWindowAndReports)
{
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(TUVANTA_BIN_DIR "/Tuvanta.ENU")));
    QCoreApplication::installTranslator(&english);
    env->Japanese = false;
    const QString file = FileFrom(1, QStringLiteral("a.ap0"));
    Poke(1, 0xF800A, Le(250, 2));
    Poke(1, 0xF80A0, Le(0xFF, 2));
    {
        TDMVerify v(intf, dmMain, *env, *tran);
        ASSERT_TRUE(v.Compare(1, file));
        TFMVerify w(v, false, nullptr);
        w.show();
        Settle();
        const QRegularExpression japanese(QStringLiteral("[\\x{3000}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
        QStringList texts{w.windowTitle(), w.btnPrint->text(), w.btnClose->text()};
        for (int c = 0; c < 2 * TDMVerify::ColumnCount; ++c)
            for (int r = -1; r < w.grdAmp->model()->rowCount(); ++r)
                texts << (r < 0 ? w.grdAmp->model()->headerData(c, Qt::Horizontal).toString()
                                : w.grdAmp->model()->index(r, c).data().toString());
        for (const QString &t : texts)
            EXPECT_FALSE(t.contains(japanese)) << t.toStdString();
        Shot(&w, QStringLiteral("verify_en"));

        TRPVerify report;
        report.SetContent(v, false);
        report.SetPrintDate(QDateTime(QDate(2026, 3, 4), QTime(5, 6)));
        const QString pdf = dir.filePath(QStringLiteral("verify_en.pdf"));
        ASSERT_TRUE(report.SavePdf(pdf));
        const QString text = PdfText(pdf);
        EXPECT_TRUE(text.contains(QStringLiteral("Print Date : Mar./"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Parameter Verification Result List")));
    }
    QCoreApplication::removeTranslator(&english);
}

TEST_F(Verify, ParameterReportOfModelA)
{
    env->Japanese = true;
    env->DisplayLevel = dlAdvanced;
    TDMUserParameter dm(intf, dmMain, *env, *tran);
    dm.OpenTables();
    ASSERT_TRUE(dm.ReadModelTexts(1));
    ASSERT_TRUE(dm.ReadFromAmplifier(1));
    dm.SelectGroup(1, 2);
    dm.cdsAmp_Para.SetRecNo(2);
    const int current = dm.cdsAmp_Para.CurrentRowId();
    const QString filter = dm.cdsAmp_Para.Filter();
    Poke(1, 0xF800A, Le(777, 2)); // changed behind the window's back
    TParameterReport content;
    ASSERT_TRUE(dm.PrepareReport(1, QString(), content));
    ASSERT_FALSE(content.empty);
    // The list and its row stay; the values were refreshed.
    EXPECT_EQ(dm.cdsAmp_Para.Filter(), filter);
    EXPECT_EQ(dm.cdsAmp_Para.CurrentRowId(), current);
    EXPECT_FALSE(content.fileLine);
    EXPECT_FALSE(content.systemRows.isEmpty());
    QList<int> groups;
    for (const auto &g : content.groups)
        groups << g.modeNo;
    EXPECT_EQ(groups, (QList<int>{0, 1, 2, 3, 4}));
    bool refreshed = false;
    for (const QStringList &row : content.groups.first().rows)
        if (row[2] == QStringLiteral("負荷慣性比"))
            refreshed = row[3] == QStringLiteral("777");
    EXPECT_TRUE(refreshed);

    TRPUserParameter report;
    report.SetContent(content);
    const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
    ASSERT_TRUE(report.SavePdf(pdf));
    const QString text = PdfText(pdf);
    QStringList expected{QStringLiteral("パラメータ一覧"), QStringLiteral("システムパラメータ"), QStringLiteral("アンプ容量"),
                         QStringLiteral("表示レベル"), QStringLiteral("アドバンスドレベル")};
    for (const QString &s : expected)
        EXPECT_TRUE(text.contains(s)) << s.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("一般パラメータ [Group")), groups.size());
    EXPECT_FALSE(text.contains(QStringLiteral("ファイル名")));

    // Basic level hides the higher groups' parameters.
    env->DisplayLevel = dlBasic;
    TParameterReport basic;
    ASSERT_TRUE(dm.PrepareReport(1, QString(), basic));
    EXPECT_LT(basic.ParameterCount(), content.ParameterCount());
}

TEST_F(Verify, ReportFromFileNamesTheFile)
{
    const QString file = FileFrom(1, QStringLiteral("list.ap0"));
    TDMUserParameter dm(intf, dmMain, *env, *tran);
    dm.OpenTables();
    ASSERT_TRUE(dm.LoadFromFile(file));
    TParameterReport content;
    ASSERT_TRUE(dm.PrepareReport(0, file, content));
    EXPECT_TRUE(content.fileLine);
    TRPUserParameter report;
    report.SetContent(content);
    const QString pdf = dir.filePath(QStringLiteral("file.pdf"));
    ASSERT_TRUE(report.SavePdf(pdf));
    EXPECT_TRUE(PdfText(pdf).contains(QStringLiteral("ファイル名 : list.ap0")));

    // An unknown source prints nothing.
    TParameterReport none;
    EXPECT_TRUE(dm.PrepareReport(-1, QString(), none));
    EXPECT_TRUE(none.empty);
}

TEST_F(Verify, ParameterWindowsWireVerificationAndPrinting)
{
    const QString file = FileFrom(1, QStringLiteral("a.ap0"));
    Poke(1, 0xF800A, Le(250, 2));
    TZnPrinter::OverrideHasPrinter(true);
    ctx->online = [] { return true; };
    TFMUserParameter w(*ctx);
    w.show();
    Settle(300);
    ASSERT_EQ(w.Source(), 1);
    for (QAction *a : {w.actDiskVerify, w.actPrint, w.actPrintPreview})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();

    w.AskOpenName = [&](const QString &) { return file; };
    int differences = -1;
    w.RunVerifyWindow = [&](TDMVerify &v) { differences = v.DifferenceCount(); };
    w.actDiskVerify->trigger();
    EXPECT_EQ(differences, 1);

    QList<int> kinds;
    int parameters = 0;
    w.RunReport = [&](TRPUserParameter &r, TFMParameterWindow::TReportKind kind) {
        kinds << int(kind);
        r.Prepare();
        parameters = r.Printer().PageCount();
    };
    w.actPrint->trigger();
    w.actPrintPreview->trigger();
    w.actPrinterSetup->trigger();
    EXPECT_EQ(kinds, (QList<int>{0, 1, 2}));
    EXPECT_GE(parameters, 1);
    TZnPrinter::OverrideHasPrinter(std::nullopt);
}

TEST_F(Verify, CommandLine)
{
    const QString file = FileFrom(1, QStringLiteral("a.ap0"));
    // The command line opens the line itself.
    engine.ClosePort();
    SetCliReportWriter([](const TParameterReport &content, const QString &path, QString *error) {
        TRPUserParameter report;
        report.SetContent(content);
        return report.SavePdf(path, error);
    });
    auto run = [&](QStringList args, QString *outText = nullptr) {
        QString o, e;
        QTextStream out(&o), err(&e);
        args = QStringList{QStringLiteral("--device"), dir.filePath("tty"), QStringLiteral("--baud"),
                           QStringLiteral("57600"), QStringLiteral("--db"), SampleDatabasePath()}
            + args;
        const int status = TCli(out, err).Run(args);
        out.flush();
        if (outText)
            *outText = o;
        return status;
    };
    QString out;
    EXPECT_EQ(run({QStringLiteral("verify"), file, QStringLiteral("1")}, &out), 0);
    EXPECT_TRUE(out.isEmpty());
    Poke(1, 0xF800A, Le(250, 2));
    EXPECT_EQ(run({QStringLiteral("verify"), file, QStringLiteral("1"), QStringLiteral("--json")}, &out), 1);
    const QJsonArray list = QJsonDocument::fromJson(out.toUtf8()).array();
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].toObject().value("address").toString(), QStringLiteral("F800A"));
    EXPECT_EQ(list[0].toObject().value("amplifier").toString(), QStringLiteral("250"));
    EXPECT_EQ(list[0].toObject().value("file").toString(), QStringLiteral("100"));
    EXPECT_EQ(run({QStringLiteral("verify"), file, QStringLiteral("4")}), TCli::ExitRefused);
    EXPECT_EQ(run({QStringLiteral("verify"), dir.filePath("none.ap0"), QStringLiteral("1")}), TCli::ExitBadFile);

    const QString pdf = dir.filePath(QStringLiteral("cli.pdf"));
    EXPECT_EQ(run({QStringLiteral("report"), QStringLiteral("1"), QStringLiteral("-o"), pdf}), 0);
    EXPECT_TRUE(PdfText(pdf).contains(QStringLiteral("Parameter")) || PdfText(pdf).contains(QStringLiteral("パラメータ")));
    const QString pdf2 = dir.filePath(QStringLiteral("cli2.pdf"));
    EXPECT_EQ(run({QStringLiteral("report"), file, QStringLiteral("-o"), pdf2}), 0);
    EXPECT_TRUE(PdfText(pdf2).contains(QStringLiteral("a.ap")));
    EXPECT_EQ(run({QStringLiteral("report"), QStringLiteral("1")}), TCli::ExitUsage);
}

} // namespace
