#include "ShellFixture.h"

#include "app/AviReader.h"
#include "app/FMAbout.h"
#include "app/FMAnimate.h"
#include "app/FMLineView.h"
#include "app/Hourglass.h"
#include "app/Product.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusTipEvent>
#include <QTimer>
#include <QTableWidget>
#include <QToolBar>

#include "AviBuilder.h"

namespace {

QStringList Captions(const QList<QAction *> &actions)
{
    QStringList out;
    for (QAction *a : actions)
        out << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return out;
}

QMenu *MenuTitled(QMenuBar *bar, const QString &title)
{
    for (QAction *a : bar->actions())
        if (a->menu() && a->text() == title)
            return a->menu();
    return nullptr;
}

using MainWindow = ShellTest;

TEST_F(MainWindow, EveryActionHasItsCaption)
{
    MakeMain({});
    const std::pair<const char *, const char *> table[] = {
        {"actExit", "終了(&X)"},
        {"actCommSet", "通信設定(&S)..."},
        {"actCommOnline", "オフライン->オンライン(&N)..."},
        {"actCommAxesCheck", "通信状態の確認(&C)..."},
        {"actCommOffline", "オンライン->オフライン(&F)"},
        {"actCommReset", "通信リセット(&R)"},
        {"actParamGeneralSet", "一般パラメータ設定(&G)..."},
        {"actParamSystemSet", "システムパラメータ設定(&S)..."},
        {"actParamMotorSet", "モータパラメータ設定(&M)..."},
        {"actParamSave", "パラメータの転送 [アンプ->ファイル](&F)..."},
        {"actParamLoad", "パラメータの転送 [ファイル->アンプ](&A)..."},
        {"actMonitorDisp", "モニタ表示(&D)..."},
        {"actMonitorMulti", "マルチモニタ表示(&M)..."},
        {"actMonitorAlarm", "アラーム履歴表示(&A)..."},
        {"actTestVelocityJog", "速度JOG運転(&J)..."},
        {"actTestPulseJog", "パルス送りJOG運転(&P)..."},
        {"actTestANFTuning", "オートノッチフィルタチューニング(&N)..."},
        {"actTextAutoFrequencyTuning", "オート周波数チューニング(&F)"},
        {"actTestAutoTunigResultSave", "オートチューニング結果保存(&G)"},
        {"actTestSystemAnalysis", "システムアナリシス(&S)..."},
        {"actTestExcitation", "固定励磁操作(&E)..."},
        {"actTestOffsetVRef", "アナログオフセット調整(V-REF)(&V)..."},
        {"actTestOffsetTComp", "アナログオフセット調整(T-COMP)(&T)..."},
        {"actTestAlarmReset", "アラームリセット(&R)..."},
        {"actTestAbsEncClear", "アブソリュートエンコーダクリア(&A)..."},
        {"actTrace", "運転トレース(&O)..."},
        {"actMakerPara", "ダイレクトパラメータ設定(&P)..."},
        {"actMakerMonitor", "ダイレクトモニタ(&M)..."},
        {"actMakerLoad", "全領域ロード(&L)..."},
        {"actHelpAbout", "バージョン情報(&A)..."},
    };
    for (const auto &[name, caption] : table) {
        auto *a = main->findChild<QAction *>(QString::fromLatin1(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->text(), QString::fromUtf8(caption)) << name;
        EXPECT_FALSE(a->statusTip().isEmpty()) << name;
    }
    EXPECT_EQ(main->windowTitle(), QStringLiteral("TUVANTA"));
}

TEST_F(MainWindow, MenusAndToolBarKeepTheirOrder)
{
    MakeMain({});
    QMenuBar *bar = main->menuBar();
    QStringList titles;
    for (QAction *a : bar->actions())
        titles << a->text();
    EXPECT_EQ(titles, QStringList({"ファイル(&F)", "通信(&C)", "パラメータ(&P)", "モニタ(&M)", "試運転と調整(&T)",
                                   "運転トレース(&O)", "ダイレクトモード(&D)", "ヘルプ(&H)"}));
    const std::pair<const char *, QStringList> menus[] = {
        {"ファイル(&F)", {"actExit"}},
        {"通信(&C)",
         {"actCommSet", "actCommOnline", "-", "actCommAxesCheck", "actCommOffline", "-", "actCommReset", "-",
          "actCommStats"}},
        {"パラメータ(&P)",
         {"actParamGeneralSet", "actParamSystemSet", "actParamMotorSet", "-", "actParamSave", "actParamLoad"}},
        {"モニタ(&M)", {"actMonitorDisp", "actMonitorMulti", "-", "actMonitorAlarm"}},
        {"試運転と調整(&T)",
         {"actTestVelocityJog", "actTestPulseJog", "actTestANFTuning", "mnuTextAutoFrequencyTuning",
          "actTestSystemAnalysis", "actTestExcitation", "-", "actTestOffsetVRef", "actTestOffsetTComp",
          "actTestAutoTunigResultSave", "-", "actTestAlarmReset", "actTestAbsEncClear"}},
        {"運転トレース(&O)", {"actTrace"}},
        {"ダイレクトモード(&D)", {"actMakerPara", "actMakerMonitor", "actMakerLoad"}},
        {"ヘルプ(&H)", {"actHelpAbout"}},
    };
    for (const auto &[title, items] : menus) {
        QMenu *menu = MenuTitled(bar, QString::fromUtf8(title));
        ASSERT_NE(menu, nullptr) << title;
        EXPECT_EQ(Captions(menu->actions()), items) << title;
    }
    // The menu item of the frequency tuning reads more fully and follows its action.
    QMenu *test = MenuTitled(bar, QStringLiteral("試運転と調整(&T)"));
    QAction *item = test->actions().at(3);
    EXPECT_EQ(item->text(), QStringLiteral("オート制振周波数チューニング(&F)"));
    EXPECT_EQ(item->isEnabled(), main->actTextAutoFrequencyTuning->isEnabled());

    QStringList tools;
    for (QAction *a : main->tbMain->actions())
        if (a->isSeparator() || !a->objectName().isEmpty())
            tools << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(tools, QStringList({"actCommSet", "actCommOnline", "actCommAxesCheck", "actCommOffline", "-",
                                  "actParamGeneralSet", "actParamSystemSet", "actParamMotorSet", "actParamSave",
                                  "actParamLoad", "-", "actMonitorDisp", "actMonitorMulti", "actMonitorAlarm", "-",
                                  "actTestVelocityJog", "actTestPulseJog", "actTestANFTuning",
                                  "actTestSystemAnalysis", "actTestAlarmReset", "-", "actTrace"}));
    for (QAction *a : main->tbMain->actions()) {
        if (!a->isSeparator() && !a->objectName().isEmpty()) {
            EXPECT_FALSE(a->icon().isNull() || a->toolTip().isEmpty()) << a->objectName().toStdString();
        }
    }
}

TEST_F(MainWindow, EnablingFollowsTheOnlineState)
{
    StartSim({KnownAxis(1)});
    MakeMain({1});
    const QStringList onlineOnly = {
        "actCommAxesCheck", "actCommOffline", "actParamSave", "actParamLoad", "actMonitorDisp",
        "actMonitorMulti", "actTestVelocityJog", "actTestPulseJog", "actTestANFTuning",
        "actTextAutoFrequencyTuning", "actTestAutoTunigResultSave", "actTestExcitation", "actTestOffsetVRef",
        "actTestOffsetTComp", "actTestAlarmReset", "actTestAbsEncClear"};
    const QStringList offlineOnly = {"actCommSet", "actCommOnline"};
    auto check = [&](bool online) {
        for (QAction *a : main->findChildren<QAction *>()) {
            const QString name = a->objectName();
            if (!name.startsWith("act"))
                continue;
            const bool want = onlineOnly.contains(name) ? online : offlineOnly.contains(name) ? !online : true;
            EXPECT_EQ(a->isEnabled(), want) << name.toStdString() << " online " << online;
        }
        EXPECT_EQ(main->pnlState->text(), online ? QStringLiteral("ONLINE") : QStringLiteral("OFFLINE"));
        EXPECT_EQ(main->tmrDisconnect.isActive(), online);
        EXPECT_EQ(main->Online(), online);
    };
    check(false);
    main->SetOnline(true);
    check(true);
    EXPECT_TRUE(engine->PortOpen());
    main->SetOnline(false);
    check(false);
    EXPECT_FALSE(engine->PortOpen());
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(MainWindow, DirectModeMenuOnlyAtTheServiceLevel)
{
    for (int level : {dlBasic, dlStandard, dlAdvanced, dlService}) {
        MakeModules({});
        env->DisplayLevel = level;
        TFMMain w(*env, *loader, *tables, *tran, folder.path());
        w.show();
        EXPECT_EQ(w.mnuDirect->menuAction()->isVisible(), level == dlService) << level;
        w.close();
    }
}

TEST_F(MainWindow, BrokenDatabaseEndsTheProgramWithAnError)
{
    MakeModules({}, folder.filePath("missing.ad0"));
    ASSERT_TRUE(loader->DatabaseBroken());
    TFMMain w(*env, *loader, *tables, *tran, folder.path());
    w.show();
    ASSERT_EQ(messages.entries.size(), 1);
    EXPECT_EQ(messages.entries[0].kind, TMsgKind::Error);
    EXPECT_EQ(messages.entries[0].text, QStringLiteral("アンプ定義ファイルが壊れています。"));
    EXPECT_TRUE(WaitUntil([&] { return !w.isVisible(); }));
}

TEST_F(MainWindow, PlacementUsesTheCrossedKeys)
{
    {
        QSettings ini(folder.filePath("Tuvanta.ini"), QSettings::IniFormat);
        ini.setValue("Window/Maximized", 0);
        ini.setValue("Window/Top", 123); // the left edge
        ini.setValue("Window/Left", 77); // the top edge
    }
    {
        TDMEnvironment settings(folder.filePath("Tuvanta.ini"));
        TDMInterface db(TDMInterface::BasePath(TSimProcess::BinDir(), "Sample.ad0"), TStgManager::TAccess::Shared);
        TDMMain mainTables(db);
        TDMTran transactions(settings);
        TFMMain w(settings, db, mainTables, transactions, folder.path());
        EXPECT_EQ(w.pos(), QPoint(123, 77));
        w.show();
        w.move(210, 160);
        ASSERT_TRUE(WaitUntil([&] { return w.pos() == QPoint(210, 160); }));
        w.close();
        EXPECT_FALSE(settings.WindowMaximized);
        EXPECT_EQ(settings.WindowLeft, 210);
        EXPECT_EQ(settings.WindowTop, 160);
    }
    QSettings ini(folder.filePath("Tuvanta.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Window/Top").toInt(), 210);
    EXPECT_EQ(ini.value("Window/Left").toInt(), 160);
}

TEST_F(MainWindow, LongHintGoesToTheSecondPanel)
{
    MakeMain({});
    QStatusTipEvent tip(main->actCommSet->statusTip());
    QApplication::sendEvent(main.get(), &tip);
    EXPECT_EQ(main->pnlHint->text(), main->actCommSet->statusTip());
    EXPECT_EQ(main->pnlState->text(), QStringLiteral("OFFLINE"));
    EXPECT_TRUE(main->pnlState->isVisible());
}

TEST_F(MainWindow, AnimationPlaysOnlyWhileOnlineAndOnlyAPlayableFile)
{
    StartSim({KnownAxis(1)});
    struct TCase {
        const char *name;
        QByteArray file; // empty: no file
        bool playable;
    };
    TAviBuilder clip;
    clip.palette = {0x000000, 0xFF0000};
    clip.frames = {QByteArray(8, '\0'), QByteArray(8, '\1')};
    TAviBuilder mjpeg = clip;
    mjpeg.compression = 0x47504A4D;
    const TCase cases[] = {{"none", {}, false}, {"clip", clip.Build(), true}, {"other codec", mjpeg.Build(), false}};
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(folder.filePath("Online.avi"));
        if (!c.file.isEmpty()) {
            QFile f(folder.filePath("Online.avi"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.file);
        }
        MakeMain({1});
        EXPECT_EQ(main->anmOnline->IsOpen(), c.playable);
        EXPECT_EQ(main->anmOnline->sizeHint().isEmpty(), !c.playable);
        main->SetOnline(true);
        ASSERT_TRUE(main->Online());
        EXPECT_EQ(main->anmOnline->IsPlaying(), c.playable);
        main->SetOnline(false);
        EXPECT_FALSE(main->anmOnline->IsPlaying());
        main->close();
        main.reset();
        engine.reset();
    }
}

TEST_F(MainWindow, FirstAxisInUseIsTheLowestOrTakesTheLineOffline)
{
    StartSim({KnownAxis(1)});
    MakeMain({1});
    main->SetOnline(true);
    ASSERT_TRUE(main->Online());
    env->SetAmpCode(5, known[0]);
    env->SetAmpCode(12, known[0]);
    EXPECT_EQ(main->FirstAxisInUse(), 5);
    EXPECT_TRUE(main->Online());
    env->SetAmpCode(5, -1);
    EXPECT_EQ(main->FirstAxisInUse(), 12);
    env->SetAmpCode(12, -1);
    EXPECT_EQ(main->FirstAxisInUse(), 0);
    EXPECT_FALSE(main->Online());
    EXPECT_FALSE(engine->PortOpen());
}

TEST_F(MainWindow, ActionsRunUnderTheHourglassAndDialogsGetTheNormalCursor)
{
    MakeMain({});
    const int depth = THourglass::Depth();
    bool waitingInAction = false, waitingInDialog = true, opened = false;
    main->SetOpener(main->actTrace, [&](TFMMain &owner) {
        opened = true;
        waitingInAction = THourglass::Waiting();
        QDialog dialog(&owner);
        dialog.setModal(true);
        QTimer::singleShot(0, &dialog, [&] {
            waitingInDialog = THourglass::Waiting();
            dialog.accept();
        });
        dialog.exec();
        // Back in the action: the hourglass again.
        EXPECT_TRUE(THourglass::Waiting());
    });
    main->actTrace->trigger();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(waitingInAction);
    EXPECT_FALSE(waitingInDialog);
    EXPECT_EQ(THourglass::Depth(), depth);
}

TEST_F(MainWindow, AboutBoxShowsBothVersions)
{
    EXPECT_EQ(TFMAbout::VersionLine("1.0.0", ""), QStringLiteral("Version 1.0.0"));
    EXPECT_EQ(TFMAbout::VersionLine(" 1.0.0 ", " DB 2.1 "), QStringLiteral("Version 1.0.0 - DB 2.1"));
    MakeModules({});
    ASSERT_TRUE(tables->LoadMainTables());
    TFMAbout about(nullptr, *tables);
    // The table was only loaded for the box.
    EXPECT_FALSE(tables->cdsVersion.Active());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_TRUE(about.lblVersion->text().startsWith(QStringLiteral("Version ") + QStringLiteral(TUVANTA_VERSION)));
    EXPECT_EQ(about.lblAddress->text(), Product::WebAddress());
    const QString databaseText = tables->VersionText();
    EXPECT_FALSE(databaseText.isEmpty()) << "the sample database has a VERSION row";
    EXPECT_EQ(about.lblVersion->text(), TFMAbout::VersionLine(Product::Version(), databaseText));
}

} // namespace

namespace {

// The client area lists the axes selected for use as the last axes check
// left them; it sends nothing of its own.
TEST_F(MainWindow, ClientAreaShowsTheAxesInUseWithoutPolling)
{
    StartSim({KnownAxis(1), KnownAxis(3)});
    MakeMain({1, 3, 7});
    auto cell = [this](int row, int column) { return main->lineView->grdLine->item(row, column)->text(); };
    ASSERT_EQ(main->lineView->grdLine->rowCount(), 3);
    EXPECT_EQ(cell(0, 0), QStringLiteral("#1"));
    EXPECT_EQ(cell(2, 0), QStringLiteral("#7"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("オフライン"));

    main->SetOnline(true);
    sim.Ok("log 1 clear");
    env->SetAmpCode(1, known[0]);
    main->RefreshLineView();
    EXPECT_EQ(cell(0, 1), QStringLiteral("接続"));
    EXPECT_FALSE(cell(0, 2).isEmpty()); // the model name from AMPLIFIER
    EXPECT_EQ(cell(0, 3), TSimProcess::Hex(known[0]));
    EXPECT_EQ(cell(1, 1), QStringLiteral("未接続"));
    // Nothing went over the line for it.
    EXPECT_FALSE(sim.Ok("log 1").contains("H0"));
}

} // namespace
