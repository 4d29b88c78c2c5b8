#include "SampleReport.h"

#include "support/MessageRecorder.h"
#include "Shots.h"
#include "ZnLibs/FMZnPreview.h"
#include "ZnLibs/FMZnPrintOffset.h"
#include "ZnLibs/FMZnPrintProgress.h"
#include "ZnLibs/ZnPrintSettings.h"
#include "ZnLibs/ZnPrinter.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <QTranslator>
#include <QApplication>
#include <QInputDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString Store(const TPrintStoreScope &scope, const QString &key, const QString &value)
{
    QSettings s(scope.Path(), QSettings::IniFormat);
    return s.value(QStringLiteral("Software/Kestrova/Halvex/0.1.0.0/Report/") + key + u'/' + value).toString();
}

// Output of a poppler tool, or a null string when the tool is missing.
QString Poppler(const QString &tool, const QStringList &args)
{
    if (QStandardPaths::findExecutable(tool).isEmpty())
        return QString();
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Answers the next modal dialog as soon as it is open.
void AnswerNextDialog(std::function<void(QDialog *)> answer)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [answer, poll] {
        if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            answer(d);
        else
            QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(10, *poll);
}

void Click(QWidget *w, Qt::MouseButton button, const QPoint &at)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), w->mapToGlobal(QPointF(at)), button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), w->mapToGlobal(QPointF(at)), button, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

} // namespace

TEST(ReportSettings, NewKeyUsesDefaultsAndIsCreatedOnlyWhenChanged)
{
    TPrintStoreScope scope;
    EXPECT_EQ(TRPCustom::RegistryBase(), QStringLiteral("\\Software\\Kestrova\\Halvex\\0.1.0.0\\Report"));
    EXPECT_EQ(TZnPrintSettings::KeyPath(QStringLiteral("AlarmHistory")),
              QStringLiteral("\\Software\\Kestrova\\Halvex\\0.1.0.0\\Report\\AlarmHistory"));
    {
        TRPSample report(1, QStringLiteral("Matching"));
        EXPECT_EQ(report.Printer().PrintOffsetX(), 0);
        EXPECT_EQ(report.Printer().PrintOffsetY(), 0);
        EXPECT_FALSE(report.Printer().SettingsChanged());
        report.Prepare();
    }
    // Unchanged settings write nothing.
    EXPECT_FALSE(TZnPrintSettings::Exists(QStringLiteral("Matching")));
    {
        TRPSample report(1, QStringLiteral("Matching"));
        report.Printer().SetPrintOffsets(55, -20);
        report.Printer().SetSettingsChanged(true);
    }
    ASSERT_TRUE(TZnPrintSettings::Exists(QStringLiteral("Matching")));
    EXPECT_EQ(Store(scope, "Matching", "PrinterName"), TZnPrintSettings::DefaultPrinterText());
    EXPECT_EQ(Store(scope, "Matching", "PrintOffsetX"), QStringLiteral("55"));
    EXPECT_EQ(Store(scope, "Matching", "PrintOffsetY"), QStringLiteral("-20"));
    EXPECT_EQ(Store(scope, "Matching", "PaperSizeNumber"), QStringLiteral("9"));   // A4
    EXPECT_EQ(Store(scope, "Matching", "Orientation"), QStringLiteral("1"));
    TRPSample again(1, QStringLiteral("Matching"));
    EXPECT_EQ(again.Printer().PrintOffsetX(), 55);
    EXPECT_EQ(again.Printer().PrintOffsetY(), -20);
    // Other reports keep their own keys.
    TRPSample other(1, QStringLiteral("Parameter"));
    EXPECT_EQ(other.Printer().PrintOffsetX(), 0);
}

TEST(ReportSettings, PaperAndOrientationRoundTripAndBadValuesAreIgnored)
{
    TPrintStoreScope scope;
    {
        TRPSample report(1, QStringLiteral("TraceOperation"));
        report.Printer().Printer().setPageSize(QPageSize(QPageSize::A3));
        report.Printer().Printer().setPageOrientation(QPageLayout::Landscape);
        report.Printer().SetSettingsChanged(true);
    }
    EXPECT_EQ(Store(scope, "TraceOperation", "PaperSizeNumber"), QStringLiteral("8"));
    EXPECT_EQ(Store(scope, "TraceOperation", "Orientation"), QStringLiteral("2"));
    {
        TRPSample report(1, QStringLiteral("TraceOperation"));
        report.Prepare();
        EXPECT_EQ(report.Printer().PaperSize(), QSize(4200, 2970));
        // A user-defined size is stored as 256 with its extents.
        report.Printer().Printer().setPageSize(QPageSize(QSizeF(100, 150), QPageSize::Millimeter));
        report.Printer().Printer().setPageOrientation(QPageLayout::Portrait);
        report.Printer().SetSettingsChanged(true);
    }
    EXPECT_EQ(Store(scope, "TraceOperation", "PaperSizeNumber"), QStringLiteral("256"));
    EXPECT_EQ(Store(scope, "TraceOperation", "PaperExtentX"), QStringLiteral("1000"));
    EXPECT_EQ(Store(scope, "TraceOperation", "PaperExtentY"), QStringLiteral("1500"));
    {
        TRPSample report(1, QStringLiteral("TraceOperation"));
        report.Prepare();
        EXPECT_EQ(report.Printer().PaperSize(), QSize(1000, 1500));
    }

    // Hand-edited garbage: unknown printer, paper number, orientation and
    // offsets fall back to the defaults.
    {
        QSettings s(scope.Path(), QSettings::IniFormat);
        s.beginGroup(QStringLiteral("Software/Kestrova/Halvex/0.1.0.0/Report/AlarmHistory"));
        s.setValue(QStringLiteral("PrinterName"), QStringLiteral("No such printer"));
        s.setValue(QStringLiteral("PaperSizeNumber"), QStringLiteral("99999"));
        s.setValue(QStringLiteral("Orientation"), QStringLiteral("sideways"));
        s.setValue(QStringLiteral("PrintOffsetX"), QStringLiteral("abc"));
        s.setValue(QStringLiteral("PrintOffsetY"), 12);
    }
    TRPSample report(1, QStringLiteral("AlarmHistory"));
    report.Prepare();
    EXPECT_EQ(report.Printer().PrintOffsetX(), 0);
    EXPECT_EQ(report.Printer().PrintOffsetY(), 12);
    EXPECT_EQ(report.Printer().Printer().pageLayout().orientation(), QPageLayout::Portrait);
}

TEST(ReportPrinting, CancelBetweenPagesLeavesNoFinishedJob)
{
    TPrintStoreScope scope;
    const QString path = scope.dir.filePath(QStringLiteral("out.pdf"));
    TRPSample report(4);
    report.Prepare();
    QList<int> printed;
    report.Printer().PagePrinted = [&](int page) {
        printed.append(page);
        ASSERT_NE(report.Printer().Progress(), nullptr);
        EXPECT_EQ(report.Printer().Progress()->Mode(), TFMZnPrintProgress::pmPrinting);
        EXPECT_TRUE(report.Printer().Progress()->btnCancel->isVisible());
        if (page == 2) {
            Shot(report.Printer().Progress(), QStringLiteral("print-progress"));
            report.Printer().Progress()->btnCancel->click();
        }
    };
    EXPECT_FALSE(report.Printer().SavePdf(path));
    EXPECT_EQ(printed, (QList<int>{1, 2}));
    EXPECT_FALSE(QFile::exists(path));

    // An earlier file of that name survives a cancelled job untouched.
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    printed.clear();
    EXPECT_FALSE(report.Printer().SavePdf(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
    EXPECT_EQ(report.Printer().Progress(), nullptr);

    // Nothing to print does nothing.
    report.Printer().PagePrinted = nullptr;
    TZnPrinter empty;
    EXPECT_FALSE(empty.PrintPages(1, 1));
}

TEST(ReportPrinting, TwoPageReportAsPdfHasPagesOfPaperSizeAndText)
{
    TPrintStoreScope scope;
    const QString path = scope.dir.filePath(QStringLiteral("two.pdf"));
    {
        TRPSample report(2);
        report.Printer().SetPrintOffsets(100, 50);
        QString error;
        ASSERT_TRUE(report.SavePdf(path, &error)) << error.toStdString();
    }
    ASSERT_TRUE(QFile::exists(path));
    if (!qEnvironmentVariableIsEmpty("TUVANTA_SHOTS"))
        QFile::copy(path, QDir(qEnvironmentVariable("TUVANTA_SHOTS")).filePath(QStringLiteral("report.pdf")));
    const QString info = Poppler(QStringLiteral("pdfinfo"), {path});
    if (info.isNull())
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("595 x 842 pts (A4)"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("サンプル帳票"))) << info.toStdString();

    const QString one = Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                         QStringLiteral("1"), path, QStringLiteral("-")});
    const QString two = Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("2"), QStringLiteral("-l"),
                                                         QStringLiteral("2"), path, QStringLiteral("-")});
    EXPECT_TRUE(one.contains(QStringLiteral("ページ : 1"))) << one.toStdString();
    EXPECT_TRUE(two.contains(QStringLiteral("ページ : 2"))) << two.toStdString();
    EXPECT_TRUE(one.contains(QStringLiteral("Sample report")));
    // (The CJK font maps some ideographs to radicals on extraction.)
    EXPECT_TRUE(one.contains(QStringLiteral("速度ループ")));
    EXPECT_TRUE(two.contains(QStringLiteral("209")));
}

TEST(ReportPrinting, WithoutPrinterPrintingOffersPdf)
{
    TPrintStoreScope scope;
    TMessageRecorder messages;
    TZnPrinter::OverrideHasPrinter(false);
    messages.Script({TMsgAnswer::Cancel});
    EXPECT_FALSE(TRPCustom::PrinterInstalled());
    ASSERT_EQ(messages.entries.size(), 1);
    EXPECT_TRUE(messages.entries[0].text.startsWith(QStringLiteral("印刷する前に、プリンタをインストールする必要があります。")));
    EXPECT_TRUE(TRPCustom::PrinterInstalled());   // OK: the PDF instead

    const QString path = scope.dir.filePath(QStringLiteral("chosen"));
    QString suggested;
    TZnPrinter::SetPdfPathChooser([&](QWidget *, const QString &suggestion) {
        suggested = suggestion;
        return path;
    });
    TRPSample report(3);
    EXPECT_TRUE(report.Print());
    EXPECT_TRUE(suggested.endsWith(QStringLiteral("サンプル帳票.pdf")));
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".pdf")));
    EXPECT_TRUE(report.PrintPage(3));
    EXPECT_FALSE(report.PrintPage(4));

    // The chooser cancelled: nothing written, no message.
    TZnPrinter::SetPdfPathChooser([](QWidget *, const QString &) { return QString(); });
    messages.Clear();
    EXPECT_FALSE(report.Print());
    EXPECT_TRUE(messages.entries.isEmpty());

    TZnPrinter::OverrideHasPrinter(true);
    messages.Clear();
    EXPECT_TRUE(TRPCustom::PrinterInstalled());
    EXPECT_TRUE(messages.entries.isEmpty());
}

class PreviewTest : public ::testing::Test
{
protected:
    TPrintStoreScope scope;
    TRPSample report{3};
    std::unique_ptr<TFMZnPreview> preview;

    void SetUp() override
    {
        report.Prepare();
        preview = std::make_unique<TFMZnPreview>(report.Printer());
        preview->setWindowState(Qt::WindowNoState);
        preview->resize(900, 700);
        preview->show();
        QCoreApplication::processEvents();
    }
};

TEST_F(PreviewTest, ShowsCaptionButtonsAndStatus)
{
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("サンプル帳票"));
    EXPECT_EQ(preview->btnFitWidth->text(), QStringLiteral("幅に合せて(&W)"));
    EXPECT_EQ(preview->btnWhole->text(), QStringLiteral("全体(&O)"));
    EXPECT_EQ(preview->btnPrint->text(), QStringLiteral("印刷(&P)"));
    EXPECT_EQ(preview->btnPrintPage->text(), QStringLiteral("ﾍﾟｰｼﾞ印刷(&A)"));
    EXPECT_EQ(preview->btnSetup->text(), QStringLiteral("ﾌﾟﾘﾝﾀ設定(&S)"));
    EXPECT_EQ(preview->btnClose->text(), QStringLiteral("閉じる(&C)"));
    EXPECT_EQ(preview->btnOffset->text(), QStringLiteral("位置調節(&I)"));
    EXPECT_EQ(preview->btnPdf->text(), QStringLiteral("PDFに保存(&F)..."));

    // Whole page: 15 pixels from the top, view height less 30.
    const QSize port = preview->scrPage->maximumViewportSize();
    EXPECT_EQ(preview->PageRect().top(), 15);
    EXPECT_EQ(preview->PageRect().height(), port.height() - 30);
    EXPECT_NEAR(preview->PageRect().center().x(), port.width() / 2, 1);
    EXPECT_TRUE(preview->StatusText().startsWith(QStringLiteral("Page 1 / 3 (")));
    EXPECT_FALSE(preview->sbtnFirst->isEnabled());
    EXPECT_FALSE(preview->sbtnPrior->isEnabled());
    EXPECT_TRUE(preview->sbtnNext->isEnabled());

    preview->sbtnLast->click();
    EXPECT_EQ(preview->Page(), 3);
    EXPECT_TRUE(preview->StatusText().startsWith(QStringLiteral("Page 3 / 3 (")));
    EXPECT_FALSE(preview->sbtnNext->isEnabled());
    EXPECT_FALSE(preview->sbtnLast->isEnabled());
    preview->sbtnPrior->click();
    EXPECT_EQ(preview->Page(), 2);

    preview->btnGrid->click();
    EXPECT_TRUE(preview->GridShown());
    Shot(preview.get(), QStringLiteral("preview-grid"));
    EXPECT_EQ(preview->btnGrid->text(), QStringLiteral("ｸﾞﾘｯﾄﾞ非表示(&G)"));
    preview->btnGrid->click();
    EXPECT_EQ(preview->btnGrid->text(), QStringLiteral("ｸﾞﾘｯﾄﾞ表示(&G)"));

    preview->btnFitWidth->click();
    EXPECT_EQ(preview->PageRect().topLeft(), QPoint(15, 15));
    EXPECT_EQ(preview->PageRect().width(), preview->scrPage->maximumViewportSize().width() - 45);

    // The status line's zoom: page width in screen inches against the paper.
    preview->SetZoom(100);
    const double inches = preview->PageRect().width() / double(preview->PageView()->logicalDpiX());
    EXPECT_NEAR(inches * 25.4, 210, 0.5);
    EXPECT_TRUE(preview->StatusText().endsWith(QStringLiteral("(100%)"))) << preview->StatusText().toStdString();

    Shot(preview.get(), QStringLiteral("preview-whole"));
    preview->SetZoom(100);
    Shot(preview.get(), QStringLiteral("preview-100"));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(preview.get(), &escape);
    EXPECT_FALSE(preview->isVisible());
}

TEST_F(PreviewTest, ClickZoomKeepsThePointUnderTheMouse)
{
    preview->SetZoom(100);
    QScrollBar *h = preview->scrPage->horizontalScrollBar();
    QScrollBar *v = preview->scrPage->verticalScrollBar();
    const QRect before = preview->PageRect();
    const QPoint at = before.topLeft() + QPoint(before.width() / 2, before.height() / 3);
    const QPoint inView = at - QPoint(h->value(), v->value());
    const QPointF paper((at.x() - before.x()) / double(before.width()), (at.y() - before.y()) / double(before.height()));

    Click(preview->PageView(), Qt::LeftButton, at);
    EXPECT_NEAR(preview->Zoom(), 120, 1);
    const QRect after = preview->PageRect();
    const QPoint under = inView + QPoint(h->value(), v->value());
    EXPECT_NEAR((under.x() - after.x()) / double(after.width()), paper.x(), 0.01);
    EXPECT_NEAR((under.y() - after.y()) / double(after.height()), paper.y(), 0.01);

    Click(preview->PageView(), Qt::RightButton, under);
    Click(preview->PageView(), Qt::RightButton, preview->PageRect().center());
    EXPECT_NEAR(preview->Zoom(), 90, 1);

    // Small pages are centred.
    preview->SetZoom(20);
    const QSize port = preview->scrPage->maximumViewportSize();
    EXPECT_NEAR(preview->PageRect().center().x(), port.width() / 2, 1);
    EXPECT_NEAR(preview->PageRect().center().y(), port.height() / 2, 1);
    Click(preview->PageView(), Qt::RightButton, preview->PageRect().center());
    EXPECT_NEAR(preview->Zoom(), 20, 1);
}

TEST(PrintOffsetDialog, LeavingAFieldRewritesItAndOkStoresTenths)
{
    TFMZnPrintOffset dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("印刷位置調節"));
    EXPECT_EQ(dialog.btnOk->text(), QStringLiteral("&Ok"));
    EXPECT_EQ(dialog.btnCancel->text(), QStringLiteral("ｷｬﾝｾﾙ(&C)"));
    dialog.edtVertical->setText(QStringLiteral("12.34mm"));
    emit dialog.edtVertical->editingFinished();
    EXPECT_EQ(dialog.edtVertical->text(), QStringLiteral("12.3mm"));
    dialog.edtHorizontal->setText(QStringLiteral("x"));
    emit dialog.edtHorizontal->editingFinished();
    EXPECT_EQ(dialog.edtHorizontal->text(), QStringLiteral("0.0mm"));
    dialog.show();
    Shot(&dialog, QStringLiteral("print-offset"));
}

TEST(PreviewLanguage, EnglishTextsComeFromTheLanguageFile)
{
    QTranslator english;
    if (!english.load(QStringLiteral(TUVANTA_BIN_DIR "/Tuvanta.ENU")))
        GTEST_SKIP() << "no Tuvanta.ENU in the build";
    QCoreApplication::installTranslator(&english);
    TPrintStoreScope scope;
    TRPSample report(2);
    report.Prepare();
    TFMZnPreview preview(report.Printer());
    preview.setWindowState(Qt::WindowNoState);
    preview.resize(900, 700);
    preview.show();
    preview.SetGridShown(true);
    EXPECT_EQ(preview.btnPrint->text(), QStringLiteral("&Print"));
    EXPECT_EQ(preview.btnGrid->text(), QStringLiteral("Hide &grid"));
    EXPECT_EQ(preview.btnPdf->text(), QStringLiteral("Save as PD&F..."));
    Shot(&preview, QStringLiteral("preview-en"));
    QCoreApplication::removeTranslator(&english);
}

TEST_F(PreviewTest, OffsetsAndPrinterSetupMarkTheSettingsForSaving)
{
    preview->SetPage(2);
    preview->SetZoom(200);
    AnswerNextDialog([](QDialog *d) { d->accept(); });
    ASSERT_TRUE(preview->PrinterSetup());
    EXPECT_TRUE(report.Printer().SettingsChanged());
    EXPECT_EQ(preview->Page(), 1);
    EXPECT_EQ(preview->PageRect().top(), 15);   // whole page again
    EXPECT_EQ(report.Printer().PageCount(), 3);

    AnswerNextDialog([](QDialog *d) {
        auto *dialog = qobject_cast<TFMZnPrintOffset *>(d);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->edtVertical->text(), QStringLiteral("0.0mm"));
        dialog->edtVertical->setText(QStringLiteral("2.5mm"));
        dialog->edtHorizontal->setText(QStringLiteral("12.34mm"));
        dialog->btnOk->click();
    });
    ASSERT_TRUE(preview->AdjustOffsets());
    EXPECT_EQ(report.Printer().PrintOffsetY(), 25);
    EXPECT_EQ(report.Printer().PrintOffsetX(), 123);
}

TEST_F(PreviewTest, PagePrintShowsProgressInTheStatusLineAndPrintsOnePage)
{
    TZnPrinter::OverrideHasPrinter(false);
    const QString path = scope.dir.filePath(QStringLiteral("page.pdf"));
    TZnPrinter::SetPdfPathChooser([&](QWidget *, const QString &) { return path; });
    const QString before = preview->StatusText();
    QStringList during;
    report.Printer().PagePrinted = [&](int) { during.append(preview->StatusText()); };
    AnswerNextDialog([](QDialog *d) {
        auto *input = qobject_cast<QInputDialog *>(d);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->windowTitle(), QStringLiteral("印刷ページ指定"));
        EXPECT_EQ(input->labelText(), QStringLiteral("印刷するページを入力してください。"));
        EXPECT_EQ(input->textValue(), QStringLiteral("1"));
        input->setTextValue(QStringLiteral("2"));
        input->accept();
    });
    preview->PrintOnePage();
    EXPECT_EQ(during, QStringList{QStringLiteral("Printing page 2 / 3")});
    EXPECT_EQ(preview->StatusText(), before);
    const QString info = Poppler(QStringLiteral("pdfinfo"), {path});
    if (!info.isNull()) {
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    }

    // A page that does not exist: a warning, nothing printed.
    TMessageRecorder messages;
    during.clear();
    AnswerNextDialog([](QDialog *d) {
        qobject_cast<QInputDialog *>(d)->setTextValue(QStringLiteral("9"));
        d->accept();
    });
    preview->PrintOnePage();
    EXPECT_TRUE(during.isEmpty());
    EXPECT_EQ(messages.Count(TMsgKind::Warning), 1);
    report.Printer().PagePrinted = nullptr;
}

TEST(ReportPrinting, ASecondJobIsRefusedWhileOneRuns)
{
    TPrintStoreScope scope;
    const QString outer = scope.dir.filePath(QStringLiteral("outer.pdf"));
    const QString inner = scope.dir.filePath(QStringLiteral("inner.pdf"));
    TRPSample report(2);
    report.Prepare();
    bool nested = true;
    report.Printer().PagePrinted = [&](int page) {
        if (page == 1)
            nested = report.Printer().SavePdf(inner);
    };
    EXPECT_TRUE(report.Printer().SavePdf(outer));
    EXPECT_FALSE(nested);
    EXPECT_TRUE(QFile::exists(outer));
    EXPECT_FALSE(QFile::exists(inner));
}
