// English mode: the main window and every window its actions open show no
// Japanese in the texts the program owns. Each window is found through the
// table of openers, so a window added later is covered without a change
// here. Database data (parameter names, table texts) lives in the grid cells
// and the status bar, which are not looked at.
#include "ShellFixture.h"

#include "app/Busy.h"
#include "app/FMOpeners.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QTranslator>

#include <algorithm>

namespace {

bool IsJapanese(char16_t u)
{
    return (u >= 0x3000 && u <= 0x30FF)    // punctuation, kana
           || (u >= 0x4E00 && u <= 0x9FFF) // kanji
           || (u >= 0xFF01 && u <= 0xFF9F); // full-width forms, half-width kana
}

bool HasJapanese(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return IsJapanese(c.unicode()); });
}

// "where: text" for every program-owned text of the window that is Japanese.
QStringList JapaneseTexts(QWidget *top)
{
    QStringList found;
    const QString window = top->objectName();
    auto check = [&](const QObject *o, const char *what, const QString &text) {
        if (HasJapanese(text))
            found << QStringLiteral("%1/%2 %3: %4")
                         .arg(window, o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className())
                                                                : o->objectName(),
                              QString::fromLatin1(what), text);
    };
    check(top, "title", top->windowTitle());
    for (QWidget *w : top->findChildren<QWidget *>()) {
        check(w, "tool tip", w->toolTip());
        if (auto *l = qobject_cast<QLabel *>(w))
            check(w, "label", l->text());
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            check(w, "button", b->text());
        if (auto *g = qobject_cast<QGroupBox *>(w))
            check(w, "group", g->title());
        if (auto *e = qobject_cast<QLineEdit *>(w))
            check(w, "field", e->text());
        if (auto *m = qobject_cast<QMenu *>(w))
            check(w, "menu", m->title());
        if (auto *t = qobject_cast<QTabBar *>(w))
            for (int i = 0; i < t->count(); ++i)
                check(w, "tab", t->tabText(i));
        if (auto *v = qobject_cast<QTableView *>(w); v && v->model())
            for (int c = 0; c < v->model()->columnCount(); ++c)
                check(w, "header", v->model()->headerData(c, Qt::Horizontal).toString());
    }
    for (QAction *a : top->findChildren<QAction *>()) {
        check(a, "action", a->text());
        check(a, "action tip", a->toolTip());
        check(a, "status tip", a->statusTip());
    }
    return found;
}

TEST_F(ShellTest, EveryWindowInEnglishShowsNoJapaneseOfItsOwn)
{
    QTranslator english;
    if (!english.load(QStringLiteral(TUVANTA_BIN_DIR "/Tuvanta.ENU")))
        GTEST_SKIP() << "no Tuvanta.ENU in the build";
    QCoreApplication::installTranslator(&english);
    StartSim({KnownAxis(1)});
    MakeMain({1});
    env->Japanese = false;
    TFMOpeners::Register(*main, main->Context());
    main->SetOnline(true);
    ASSERT_TRUE(main->Online());
    env->SetAmpCode(1, known[0]);

    QStringList found = JapaneseTexts(main.get());
    for (const TFMOpeners::TEntry &row : TFMOpeners::Table(*main, main->Context())) {
        SCOPED_TRACE(row.action->objectName().toStdString());
        const bool seen = ProbeModalWindow(row.action, row.windowName, [&](QWidget *w) {
            // Whatever the first reading shows (tabs, level, headers).
            QApplication::processEvents();
            found << JapaneseTexts(w);
        }, main.get());
        EXPECT_TRUE(seen);
    }
    QCoreApplication::removeTranslator(&english);
    EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
}

} // namespace
