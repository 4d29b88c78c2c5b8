// The edit dialog over the sample database: what each DATAFORM shows, what
// the keys let through, what confirming accepts, and the dialog itself.
#include "Keys.h"
#include "Shots.h"
#include "SampleDatabase.h"
#include "support/MessageRecorder.h"

#include "params/DMUserParameterEdit.h"
#include "params/FMChoiceBox.h"
#include "params/FMUserParameterEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

constexpr int ModelA = 1;
const QString OutOfRange = QStringLiteral("設定範囲外です。");

class ParameterEdit : public TSampleDatabase
{
protected:
    TDMUserParameterEdit &Open(int address, qint32 raw, TDecimalSettings settings = {})
    {
        EXPECT_TRUE(edit.Open(ModelA, address, raw, settings)) << std::hex << address;
        return edit;
    }
    TMessageRecorder messages;
    TDMUserParameterEdit edit{intf, true};
};

struct TShown {
    const char *name;
    int address;
    qint32 raw;
    TDecimalSettings settings;
    TDMUserParameterEdit::TPanel panel;
    const char *range;
    const char *unit;
    const char *position;
    const char *text;
    const char *numerator;
    const char *denominator;
};

class ParameterEditShows : public ParameterEdit, public ::testing::WithParamInterface<TShown> {};

TEST_P(ParameterEditShows, PanelRangeUnitAndStartingTexts)
{
    const TShown &c = GetParam();
    const TDMUserParameterEdit &m = Open(c.address, c.raw, c.settings);
    EXPECT_EQ(m.Panel(), c.panel);
    EXPECT_EQ(m.Range(), QString::fromUtf8(c.range));
    EXPECT_EQ(m.Unit(), QString::fromUtf8(c.unit));
    EXPECT_EQ(m.Position(), QString::fromUtf8(c.position));
    const TEditTexts t = m.StartTexts();
    EXPECT_EQ(t.text, QString::fromUtf8(c.text));
    EXPECT_EQ(t.numerator, QString::fromUtf8(c.numerator));
    EXPECT_EQ(t.denominator, QString::fromUtf8(c.denominator));
}

using P = TDMUserParameterEdit::TPanel;
INSTANTIATE_TEST_SUITE_P(
    Sample, ParameterEditShows,
    ::testing::Values(
        TShown{"fixedPoint", 0xF8002, 300, {}, P::Number, "( 1.0 - 2000.0 )", "[1/s]", "Group 0 - 02", "30.0", "", ""},
        TShown{"unsignedNoUnit", 0xF802E, 8, {}, P::Number, "( 1 - 30 )", "", "Group 1 - 08", "8", "", ""},
        TShown{"hexByte", 0xF8015, 15, {}, P::Number, "( 00 - FF ) H", "", "Group 0 - 0A", "0F", "", ""},
        TShown{"signedLong", 0xF8050, -5, {}, P::Number, "( -2147483647 - 2147483647 )", "[pulse]", "Group 2 - 04", "-5", "", ""},
        TShown{"signedFixed", 0xF805A, 65526, {}, P::Number, "( -100.0 - 100.0 )", "[min-1]", "Group 2 - 08", "-1.0", "", ""},
        TShown{"amplifierScaledUnit2", 0xF8040, 123456, {2, 0, 1}, P::Number, "( 0.00 - 1000.00 )", "[mm/s]", "Group 2 - 00", "1234.56", "", ""},
        TShown{"amplifierScaledUnit3", 0xF8044, 7, {0, 3, 2}, P::Number, "( 0.000 - 1000.000 )", "[deg]", "Group 2 - 01", "0.007", "", ""},
        TShown{"noPlaces", 0xF805C, 500, {}, P::Number, "?????", "[min-1/V]", "Group 2 - 09", "?????", "", ""},
        TShown{"fraction", 0xF800C, 0x00030001, {}, P::Fraction, "", "", "Group 0 - 07", "", "1", "3"},
        TShown{"digits", 0xF8014, 0x12, {}, P::Digits, "", "", "Group 0 - 09", "", "", ""},
        TShown{"code", 0xF8000, 1, {}, P::Code, "", "", "Group 0 - 00", "", "", ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ParameterEdit, DigitListsFollowEachDigitOfTheRange)
{
    // Range 0x00..0x12: high digit 0 to 1, low digit 0 to 2.
    const TDMUserParameterEdit &m = Open(0xF8014, 0x12);
    const TNibbleChoiceLists &n = m.NibbleChoices();
    ASSERT_EQ(n.high.items.size(), 2);
    EXPECT_EQ(n.high.items[1].label, QStringLiteral("1 H\t負論理"));
    EXPECT_EQ(n.high.current, 1);
    ASSERT_EQ(n.low.items.size(), 3);
    EXPECT_EQ(n.low.items[2].label, QStringLiteral("2 H\tCW/CCWパルス"));
    EXPECT_EQ(n.low.current, 2);
    EXPECT_EQ(m.HighName(), QStringLiteral("パルス論理"));
}

TEST_F(ParameterEdit, EnglishDigitNamesButJapaneseNameAndHelp)
{
    TDMUserParameterEdit english(intf, false);
    ASSERT_TRUE(english.Open(ModelA, 0xF8014, 0, {}));
    EXPECT_EQ(english.HighName(), "Pulse logic");
    EXPECT_EQ(english.LowName(), "Pulse form");
    EXPECT_EQ(english.Name(), QStringLiteral("指令パルス入力形態"));
    EXPECT_EQ(english.NibbleChoices().high.items[0].label, "0 H\tPositive logic");
    ASSERT_TRUE(english.Open(ModelA, 0xF8000, 0, {}));
    EXPECT_TRUE(english.HelpText().startsWith(QStringLiteral("制御モードを選択します。")));
}

TEST_F(ParameterEdit, ValueOutsideItsTableOffersOnlyTheReserveAndKeepsIt)
{
    Open(0xF8000, 3);
    ASSERT_EQ(edit.TableChoices().items.size(), 1);
    EXPECT_EQ(edit.TableChoices().items[0].label, QStringLiteral("\t予備"));
    TParseInput in;
    in.tableIndex = 0;
    EXPECT_TRUE(edit.Confirm(in));
    EXPECT_EQ(edit.Value(), 3);
}

TEST_F(ParameterEdit, RowsWithoutGroupHideTheSymbol)
{
    EXPECT_TRUE(Open(0xF8002, 0).SymbolShown());
    EXPECT_FALSE(Open(0xF8200, 0).SymbolShown());
    EXPECT_FALSE(edit.Open(ModelA, 0xF8003, 0, {})) << "no row at that address";
}

struct TConfirm {
    const char *name;
    int address;
    qint32 raw;
    TParseInput input;
    std::optional<qint32> result; // nothing: rejected
};

class ParameterEditConfirms : public ParameterEdit, public ::testing::WithParamInterface<TConfirm> {};

TEST_P(ParameterEditConfirms, AcceptsOrWarns)
{
    const TConfirm &c = GetParam();
    Open(c.address, c.raw);
    EXPECT_EQ(edit.Confirm(c.input), c.result.has_value());
    EXPECT_EQ(edit.Value(), c.result.value_or(c.raw));
    EXPECT_EQ(messages.Texts(), c.result ? QStringList() : QStringList{OutOfRange});
}

TParseInput Text(const char *t)
{
    TParseInput in;
    in.text = QString::fromUtf8(t);
    return in;
}
TParseInput Fraction(const char *n, const char *d)
{
    TParseInput in;
    in.numerator = QString::fromUtf8(n);
    in.denominator = QString::fromUtf8(d);
    return in;
}
TParseInput Choice(int table, int high = -1, int low = -1)
{
    TParseInput in;
    in.tableIndex = table;
    in.highIndex = high;
    in.lowIndex = low;
    return in;
}

INSTANTIATE_TEST_SUITE_P(
    Sample, ParameterEditConfirms,
    ::testing::Values(TConfirm{"fixedDropsExtraDigits", 0xF8002, 300, Text("12.39"), 123},
                      TConfirm{"fixedTop", 0xF8002, 300, Text("2000.0"), 20000},
                      TConfirm{"fixedAboveTop", 0xF8002, 300, Text("2000.1"), std::nullopt},
                      TConfirm{"fixedBelowBottom", 0xF8002, 300, Text("0.5"), std::nullopt},
                      TConfirm{"fixedTwoPoints", 0xF8002, 300, Text("1.2.3"), std::nullopt},
                      TConfirm{"signedFixed", 0xF805A, 0, Text("-0.5"), -5},
                      TConfirm{"signedFixedBelow", 0xF805A, 0, Text("-100.1"), std::nullopt},
                      TConfirm{"hex", 0xF8015, 0, Text("FF"), 255},
                      TConfirm{"hexTooWide", 0xF8015, 0, Text("1FF"), std::nullopt},
                      TConfirm{"signedLong", 0xF8050, 0, Text("-5"), -5},
                      TConfirm{"empty", 0xF802E, 8, Text(""), std::nullopt},
                      TConfirm{"fraction", 0xF800C, 65537, Fraction("2", "3"), 3 * 65536 + 2},
                      TConfirm{"fractionCondition", 0xF800C, 65537, Fraction("0", "3"), std::nullopt},
                      TConfirm{"fractionTooBig", 0xF800C, 65537, Fraction("65536", "1"), std::nullopt},
                      TConfirm{"digits", 0xF8014, 0, Choice(-1, 1, 2), 0x12},
                      TConfirm{"code", 0xF8001, 0, Choice(1), 1}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ParameterEdit, BrokenFractionConditionIsReportedThenRejected)
{
    Open(0xF8088, 65537);
    EXPECT_FALSE(edit.Confirm(Fraction("2", "1")));
    ASSERT_EQ(messages.entries.size(), 2);
    EXPECT_EQ(messages.entries[0].kind, TMsgKind::Error);
    EXPECT_EQ(messages.entries[0].text, QStringLiteral("アンプ定義ファイルが壊れています。"));
    EXPECT_EQ(messages.entries[1].text, OutOfRange);
}

TEST(ParameterEditKeys, FilterByForm)
{
    using B = TDMUserParameterEdit::TBox;
    struct TCase {
        int form;
        B box;
        const char16_t *accepted;
        const char16_t *refused;
    };
    const TCase cases[] = {
        {1, B::Value, u"0123456789", u"-+.Aa "},
        {2, B::Value, u"09+-", u".A"},
        {3, B::Value, u"09AFaf", u"Gg-."},
        {4, B::Value, u"09.", u"-+A"},
        {8, B::Value, u"09-.", u"+A"},
        {9, B::Value, u"-.", u"+"},
        {10, B::Value, u"-.", u"E"},
        {5, B::FractionPart, u"09", u"-./"},
        {3, B::FractionPart, u"5", u"A"},
    };
    for (const TCase &c : cases) {
        for (const char16_t *p = c.accepted; *p; ++p)
            EXPECT_TRUE(TDMUserParameterEdit::KeyAccepted(c.form, c.box, QChar(*p))) << c.form << char(*p);
        for (const char16_t *p = c.refused; *p; ++p)
            EXPECT_FALSE(TDMUserParameterEdit::KeyAccepted(c.form, c.box, QChar(*p))) << c.form << char(*p);
        EXPECT_TRUE(TDMUserParameterEdit::KeyAccepted(c.form, c.box, QChar(0x08))) << "backspace";
        EXPECT_FALSE(TDMUserParameterEdit::KeyAccepted(c.form, c.box, QChar(u'\r'))) << "Enter is the dialog's";
    }
}

// The dialog window on the same module.
class ParameterEditDialog : public ParameterEdit
{
protected:
    std::unique_ptr<TFMUserParameterEdit> Show(int address, qint32 raw, TDecimalSettings settings = {})
    {
        Open(address, raw, settings);
        auto d = std::make_unique<TFMUserParameterEdit>(edit);
        d->show();
        return d;
    }
};

TEST_F(ParameterEditDialog, ShowsOnePanelWithItsTexts)
{
    auto d = Show(0xF8002, 300);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("パラメータ編集"));
    EXPECT_TRUE(d->pnlNumber->isVisible());
    EXPECT_FALSE(d->pnlFraction->isVisible());
    EXPECT_FALSE(d->pnlDigits->isVisible());
    EXPECT_FALSE(d->pnlCode->isVisible());
    EXPECT_EQ(d->lblSymbol->text(), "KP");
    EXPECT_EQ(d->lblName->text(), QStringLiteral("位置ループゲイン"));
    EXPECT_EQ(d->lblRange->text(), "( 1.0 - 2000.0 )");
    EXPECT_EQ(d->lblUnit->text(), "[1/s]");
    EXPECT_EQ(d->edtValue->text(), "30.0");
    EXPECT_FALSE(d->memHelp->toPlainText().isEmpty());
    EXPECT_EQ(d->edtValue->maxLength(), 12);
    Shot(d.get(), "edit-number");

    auto f = Show(0xF800C, 65537);
    EXPECT_TRUE(f->pnlFraction->isVisible());
    EXPECT_EQ(f->edtNumerator->maxLength(), 10);
    Shot(f.get(), "edit-fraction");
    auto c = Show(0xF8066, 0x13);
    EXPECT_TRUE(c->pnlDigits->isVisible());
    EXPECT_EQ(c->cboLow->count(), 4);
    EXPECT_EQ(c->cboLow->currentIndex(), 3);
    Shot(c.get(), "edit-digits");
    auto t = Show(0xF8060, 1);
    EXPECT_TRUE(t->pnlCode->isVisible());
    EXPECT_EQ(t->cboTable->currentText(), QStringLiteral("SON\tサーボオン"));
    Shot(t.get(), "edit-code");
}

TEST_F(ParameterEditDialog, KeysAreFilteredAndLettersRaised)
{
    auto d = Show(0xF8002, 300);
    d->edtValue->clear();
    TypeText(d->edtValue, "-1x2.5");
    EXPECT_EQ(d->edtValue->text(), "12.5") << "DATAFORM 4 has no minus";

    auto s = Show(0xF805A, 0);
    s->edtValue->clear();
    TypeText(s->edtValue, "-1.5");
    EXPECT_EQ(s->edtValue->text(), "-1.5");

    auto h = Show(0xF8084, 0);
    h->edtValue->clear();
    TypeText(h->edtValue, "a1fg");
    EXPECT_EQ(h->edtValue->text(), "A1F");
}

TEST_F(ParameterEditDialog, SpinButtonsStepWithinTheRange)
{
    auto d = Show(0xF802E, 30);
    d->btnValueUp->click();
    EXPECT_EQ(d->edtValue->text(), "30") << "at the top";
    d->btnValueDown->click();
    EXPECT_EQ(d->edtValue->text(), "29");

    auto f = Show(0xF800C, 65535 + 65536);
    f->btnNumeratorUp->click();
    EXPECT_EQ(f->edtNumerator->text(), "65535");
    f->btnDenominatorDown->click();
    EXPECT_EQ(f->edtDenominator->text(), "0");
}

TEST_F(ParameterEditDialog, EnterInTheNumeratorConfirmsTheFraction)
{
    auto d = Show(0xF800C, 65537);
    d->edtNumerator->setText("4");
    d->edtDenominator->setText("5");
    d->edtNumerator->setFocus();
    PressEnter(d->edtNumerator);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(edit.Value(), 5 * 65536 + 4);
}

TEST_F(ParameterEditDialog, RejectedInputStaysOpenWithTheText)
{
    auto d = Show(0xF8002, 300);
    d->edtValue->setText("9999");
    d->btnOk->click();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->edtValue->text(), "9999");
    EXPECT_EQ(messages.Texts(), QStringList{OutOfRange});
    EXPECT_EQ(edit.Value(), 300);

    d->edtValue->setText("12.3");
    d->btnOk->click();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(edit.Value(), 123);
}

TEST_F(ParameterEditDialog, DigitAndCodeChoicesGiveTheirValues)
{
    auto d = Show(0xF8066, 0x00);
    d->cboHigh->setCurrentIndex(1);
    d->cboLow->setCurrentIndex(2);
    d->btnOk->click();
    EXPECT_EQ(edit.Value(), 0x12);

    auto c = Show(0xF8001, 0);
    c->cboTable->setCurrentIndex(1);
    c->btnCancel->click();
    EXPECT_EQ(c->result(), QDialog::Rejected);
    EXPECT_EQ(edit.Value(), 0) << "Cancel changes nothing";
}

TEST_F(ParameterEditDialog, EditParameterRunsTheDialogOnItsOwnTables)
{
    TDMUserParameterEdit module(intf, true);
    bool ran = false;
    EXPECT_TRUE(module.EditParameter(ModelA, 0xF8002, 300, {}, [&](TDMUserParameterEdit &m) {
        ran = true;
        TParseInput in;
        in.text = "20.0";
        return m.Confirm(in);
    }));
    EXPECT_TRUE(ran);
    EXPECT_EQ(module.Value(), 200);
    EXPECT_FALSE(module.cdsAmp_Para.Active()) << "tables close afterwards";
    EXPECT_FALSE(module.EditParameter(ModelA, 0xF8003, 0, {}, [&](TDMUserParameterEdit &) { return true; }));
}

} // namespace
