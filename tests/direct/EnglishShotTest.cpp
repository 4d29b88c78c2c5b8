// The whole-area load window in English, as a fresh build shows it.
#include "DirectFixture.h"
#include "support/Shots.h"

#include "direct/DMMakerLoad.h"
#include "direct/FMMakerLoad.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTranslator>

namespace {

class MakerLoadEnglish : public TDirectFixture
{
};

// Every Japanese text of the load has its English: nothing Japanese is left
// on the window or in the help texts once the English file is loaded.
TEST_F(MakerLoadEnglish, HasNoJapaneseLeft)
{
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(TUVANTA_BIN_DIR "/Tuvanta.ENU")));
    QCoreApplication::installTranslator(&english);
    {
        TFMMakerLoad w(*ctx);
        w.show();
        w.btnConnect->click();
        ASSERT_TRUE(w.Connected());
        const QRegularExpression japanese(QStringLiteral("[\\x{3000}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
        QStringList texts{w.grpMode->title()};
        for (QRadioButton *r : w.rbtnMode)
            texts << r->text();
        for (int mode : {1, 2, 3})
            texts << TDMMakerLoad::HelpText(mode);
        for (const QString &t : texts)
            EXPECT_FALSE(t.contains(japanese)) << t.toStdString();
        w.rbtnMode[2]->setChecked(true);
        Shot(&w, QStringLiteral("maker_load_en"));
    }
    QCoreApplication::removeTranslator(&english);
}

} // namespace
