#include "ZnLibs/ZnEvals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

// Readable failure output for values.
void PrintTo(const TZnVariant &v, std::ostream *os)
{
    if (v.IsNull())
        *os << "null";
    else if (v.IsEmpty())
        *os << "empty";
    else
        *os << (v.TypeName() + ":" + v.ToString()).toStdString();
}

namespace {

TZnVariant Eval(const QString &source)
{
    TZnEvals e;
    e.Source = QStringList{source};
    return e.Evaluate();
}

// ---- values --------------------------------------------------------------

struct TValueCase {
    const char *source;
    TZnVariant expected;
};

void PrintTo(const TValueCase &c, std::ostream *os) { *os << c.source; }

class ZnEvalsValue : public ::testing::TestWithParam<TValueCase> {};

TEST_P(ZnEvalsValue, Evaluates)
{
    const TZnVariant got = Eval(QString::fromUtf8(GetParam().source));
    EXPECT_EQ(got, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ZnEvalsValue,
    ::testing::Values(
        TValueCase{"1 < 2 and 3 >= 3", true},
        TValueCase{"5 <= 3", false},
        TValueCase{"2 * -3", -6.0L},
        TValueCase{"$1F", 31.0L},
        TValueCase{"$ff + $A", 265.0L},
        TValueCase{"'it''s'", "it's"},
        TValueCase{"''", ""},
        TValueCase{"1 + 2 * 3", 7.0L},
        TValueCase{"(1 + 2) * 3", 9.0L},
        TValueCase{"-2 ^ 2", -4.0L},          // the prefix applies to the whole term
        TValueCase{"2 ^ 10", 1024.0L},
        TValueCase{"7 div 2", qint64(3)},
        TValueCase{"-7 div 2", qint64(-3)},
        TValueCase{"7 mod 3", qint64(1)},
        TValueCase{"-7 mod 3", qint64(-1)},
        TValueCase{"7.5 div 2", qint64(4)},   // 7.5 rounds to 8 first
        TValueCase{"1 / 4", 0.25L},
        TValueCase{"10 - 2 - 3", 5.0L},       // left grouping
        TValueCase{"1 <> 2", true},
        TValueCase{"2 <= 2", true},
        TValueCase{"not true", false},
        TValueCase{"not 0 = -1", true},
        TValueCase{"true xor true", false},
        TValueCase{"6 and 3", qint64(2)},
        TValueCase{"6 or 3", qint64(7)},
        TValueCase{"6 xor 3", qint64(5)},
        TValueCase{"true or false and false", false}, // same precedence, from the left
        TValueCase{"'ab' + 'cd'", "abcd"},
        TValueCase{"'2' + 3", 5.0L},
        TValueCase{"'10' > 9", true},
        TValueCase{"'10' > '9'", false},      // two strings compare as text
        TValueCase{"null + 1", TZnVariant::Null()},
        TValueCase{"null = null", true},
        TValueCase{"null < 0", true},
        TValueCase{"- 5", -5.0L},
        TValueCase{"2*- 5", -10.0L},          // white space after the sign of a number
        TValueCase{"1.5e2", 150.0L},
        TValueCase{"1E-2", 0.01L},
        TValueCase{".5", 0.5L},
        TValueCase{"\t1\r\n+\n1 ", 2.0L},
        TValueCase{"", TZnVariant()},
        TValueCase{"()", TZnVariant()},
        TValueCase{"pi", std::numbers::pi_v<long double>},
        TValueCase{"true", true},
        TValueCase{"null", TZnVariant::Null()}));

INSTANTIATE_TEST_SUITE_P(
    Functions, ZnEvalsValue,
    ::testing::Values(
        TValueCase{"if(0, 1, 2)", 2.0L},
        TValueCase{"if(3, 1, 2)", 1.0L},
        TValueCase{"if(false, 1, 2)", 2.0L},
        TValueCase{"if(true, 1)", 1.0L},      // the unused branch may be missing
        TValueCase{"choose(2, 10, 20, 30)", 20.0L},
        TValueCase{"choose(4, 10, 20, 30)", TZnVariant::Null()},
        TValueCase{"choose(0, 10)", TZnVariant::Null()},
        TValueCase{"choose(null, 10)", TZnVariant::Null()},
        TValueCase{"round(2.5)", qint64(2)},
        TValueCase{"round(3.5)", qint64(4)},
        TValueCase{"round(-2.5)", qint64(-2)},
        TValueCase{"round(2.6)", qint64(3)},
        TValueCase{"ceil(1.2)", qint64(2)},
        TValueCase{"floor(-1.2)", qint64(-2)},
        TValueCase{"int(-1.75)", -1.0L},
        TValueCase{"frac(-1.75)", -0.75L},
        TValueCase{"abs(-3)", 3.0L},
        TValueCase{"sqr(3)", 9.0L},
        TValueCase{"sqrt(16)", 4.0L},
        TValueCase{"max(3, 7, 5)", 7.0L},
        TValueCase{"min(3, 7, 1, 5)", 1.0L},
        TValueCase{"max()", TZnVariant::Null()},
        TValueCase{"min()", TZnVariant::Null()},
        TValueCase{"max(1, 2,)", 2.0L},       // a trailing comma is allowed
        TValueCase{"max(1 2)", 2.0L},         // so is a missing one
        TValueCase{"copy('abcdef', 2, 3)", "bcd"},
        TValueCase{"copy('abc', 0, 2)", "ab"},
        TValueCase{"copy('abc', 3, 100)", "c"},
        TValueCase{"copy('abc', 9, 1)", ""},
        TValueCase{"copy('abc', 1, -1)", ""},
        TValueCase{"trim('  a b  ')", "a b"},
        TValueCase{"pos('cd', 'abcde')", qint64(3)},
        TValueCase{"pos('x', 'abc')", qint64(0)},
        TValueCase{"pos('', 'abc')", qint64(0)},
        TValueCase{"len('abc')", qint64(3)},
        TValueCase{"len('日本ｱ')", qint64(5)},  // Shift-JIS bytes
        TValueCase{"len(123)", qint64(3)},
        TValueCase{"abs(DegToRad(180) - pi) < 1e-15", true},
        TValueCase{"round(RadToDeg(pi))", qint64(180)},
        TValueCase{"round(log10(1000) * 1e9)", qint64(3000000000)},
        TValueCase{"ln(1)", 0.0L},
        TValueCase{"pi()", std::numbers::pi_v<long double>},
        TValueCase{"max ( 1 , 2 )", 2.0L}));

// "nothing" is "not" followed by the name "hing".
TEST(ZnEvals, KeywordsMatchOnTheirLettersAlone)
{
    TZnEvals e;
    QStringList asked;
    e.OnGetVariable = [&](TZnEvals *, const QString &name, bool &exist, TZnVariant &value) {
        asked << name;
        exist = true;
        value = TZnVariant(qint64(5));
    };
    e.Source = QStringList{"nothing"};
    EXPECT_EQ(e.Evaluate(), TZnVariant(qint64(~5)));
    EXPECT_EQ(asked, QStringList{"hing"});
    e.Source = QStringList{"3 andx"};
    asked.clear();
    EXPECT_EQ(e.Evaluate(), TZnVariant(qint64(1)));
    EXPECT_EQ(asked, QStringList{"x"});
}

TEST(ZnEvals, SourceLinesAreJoined)
{
    TZnEvals e;
    e.Source = QStringList{"1 +", "2"};
    EXPECT_EQ(e.Evaluate(), TZnVariant(3.0L));
}

TEST(ZnEvals, HandlersComeFirstAndGetEvaluatedArguments)
{
    TZnEvals e;
    TZnVariantList seen;
    int calls = 0;
    e.OnFunctionCall = [&](TZnEvals *sender, const QString &name, const TZnVariantList &args,
                           bool &exist, TZnVariant &value) {
        EXPECT_EQ(sender, &e);
        ++calls;
        if (name == u"max") { // overrides the built-in
            seen = args;
            exist = true;
            value = TZnVariant("mine");
        } else if (name == u"none") {
            exist = true;
            value = TZnVariant(qint64(args.size()));
        }
    };
    e.OnGetVariable = [](TZnEvals *, const QString &name, bool &exist, TZnVariant &value) {
        if (name == u"pi") {
            exist = true;
            value = TZnVariant(qint64(3));
        }
    };
    e.Source = QStringList{"max(1 + 1, 'a')"};
    EXPECT_EQ(e.Evaluate(), TZnVariant("mine"));
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0], TZnVariant(2.0L));
    EXPECT_EQ(seen[1], TZnVariant("a"));
    e.Source = QStringList{"none()"};
    EXPECT_EQ(e.Evaluate(), TZnVariant(qint64(0)));
    e.Source = QStringList{"pi + min(1, 2)"}; // handler declines min: built-in
    EXPECT_EQ(e.Evaluate(), TZnVariant(4.0L));
    EXPECT_EQ(calls, 3);
}

TEST(ZnEvals, JapaneseNames)
{
    TZnEvals e;
    e.OnGetVariable = [](TZnEvals *, const QString &name, bool &exist, TZnVariant &value) {
        exist = name == QString::fromUtf8("分子ｱ1");
        value = TZnVariant(qint64(7));
    };
    e.Source = QStringList{QString::fromUtf8("分子ｱ1 * 2")};
    EXPECT_EQ(e.Evaluate(), TZnVariant(14.0L));
}

TEST(ZnEvals, NextEvaluationStartsClean)
{
    TZnEvals e;
    e.Source = QStringList{"((1"};
    EXPECT_THROW(e.Evaluate(), EZnEvalsErrRBracketNotExist);
    e.Source = QStringList{"(1)"};
    EXPECT_EQ(e.Evaluate(), TZnVariant(1.0L));
}

TEST(ZnEvals, ResultUntouchedOnError)
{
    TZnEvals e;
    TZnVariant r("keep");
    e.Source = QStringList{"1 +"};
    e.Evaluate(r); // "1 +" adds empty: 1
    EXPECT_EQ(r, TZnVariant(1.0L));
    r = TZnVariant("keep");
    e.Source = QStringList{"1 1"};
    EXPECT_THROW(e.Evaluate(r), EZnEvalsErrSyntaxError);
    EXPECT_EQ(r, TZnVariant("keep"));
}

// ---- errors --------------------------------------------------------------

struct TErrorCase {
    const char *source;
    std::function<void(TZnEvals &)> run;
    const char *message; // nullptr: only the class is checked
};

void PrintTo(const TErrorCase &c, std::ostream *os) { *os << c.source; }

template <typename E>
std::function<void(TZnEvals &)> Throws()
{
    return [](TZnEvals &e) { EXPECT_THROW(e.Evaluate(), E); };
}

class ZnEvalsError : public ::testing::TestWithParam<TErrorCase> {};

TEST_P(ZnEvalsError, Raises)
{
    TZnEvals e;
    e.Source = QStringList{QString::fromUtf8(GetParam().source)};
    GetParam().run(e);
    if (GetParam().message) {
        try {
            e.Evaluate();
        } catch (const EZnEvalsErr &err) {
            EXPECT_EQ(err.Message(), QString::fromUtf8(GetParam().message));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZnEvalsError,
    ::testing::Values(
        TErrorCase{"1 = 1 = 1", Throws<EZnEvalsErrSyntaxError>(), "文法エラーです"},
        TErrorCase{"2^3^2", Throws<EZnEvalsErrSyntaxError>(), nullptr},
        TErrorCase{"1 ; 2", Throws<EZnEvalsErrSyntaxError>(), nullptr},
        TErrorCase{"1.5.3", Throws<EZnEvalsErrSyntaxError>(), nullptr},
        TErrorCase{"AND", Throws<EZnEvalsErrVariableNotDefined>(), "'AND' は定義されていない変数です"},
        TErrorCase{"TRUE", Throws<EZnEvalsErrVariableNotDefined>(), nullptr},
        TErrorCase{"1 AND 1", Throws<EZnEvalsErrSyntaxError>(), nullptr},
        TErrorCase{"Abs(1)", Throws<EZnEvalsErrFunctionNotDefined>(), "'Abs' は定義されていない関数です"},
        TErrorCase{"NUMER <= 3", Throws<EZnEvalsErrVariableNotDefined>(), nullptr},
        TErrorCase{"$", Throws<EZnEvalsErrNotHexValue>(), "16 進数を指定してください"},
        TErrorCase{"$G", Throws<EZnEvalsErrNotHexValue>(), nullptr},
        TErrorCase{"'abc", Throws<EZnEvlasErrStringNotProperlyFinished>(), "文字列が正しく終わっていません"},
        TErrorCase{"'it''", Throws<EZnEvlasErrStringNotProperlyFinished>(), nullptr},
        TErrorCase{"'a\tb'", Throws<EZnEvlasErrInvalidChar>(), "'\t'は不正な文字です"},
        TErrorCase{"'a\u00E9'", Throws<EZnEvlasErrInvalidChar>(), nullptr},
        TErrorCase{"(1 + 2", Throws<EZnEvalsErrRBracketNotExist>(), "')' が有りません"},
        TErrorCase{"max(1, 2", Throws<EZnEvalsErrRBracketNotExist>(), nullptr},
        TErrorCase{"max(1,", Throws<EZnEvalsErrRBracketNotExist>(), nullptr},
        TErrorCase{"max(", Throws<EZnEvalsErrRBracketNotExist>(), nullptr},
        TErrorCase{"max(1;2)", Throws<EZnEvalsErrRBracketNotExist>(), nullptr}, // no endless loop
        TErrorCase{"2 * -x", Throws<EZnConvertError>(), nullptr},
        TErrorCase{"3 > 2 = true", Throws<EZnEvalsErrSyntaxError>(), nullptr},
        TErrorCase{"2 * -", Throws<EZnConvertError>(), nullptr},   // a lone sign
        TErrorCase{"1e", Throws<EZnConvertError>(), nullptr},      // a bare exponent marker
        TErrorCase{"1e+", Throws<EZnConvertError>(), nullptr},
        TErrorCase{"1e99999", Throws<EZnConvertError>(), nullptr}, // out of range
        TErrorCase{"'abc' + 1", Throws<EZnConvertError>(), nullptr},
        TErrorCase{"'abc' < 1", Throws<EZnConvertError>(), nullptr},
        TErrorCase{"sin()", Throws<EZnVariantError>(), nullptr},   // a missing argument
        TErrorCase{"copy('a', 1)", Throws<EZnVariantError>(), nullptr},
        TErrorCase{"sin(null)", Throws<EZnVariantError>(), nullptr},
        TErrorCase{"1 / 0", Throws<EZnVariantError>(), nullptr},
        TErrorCase{"1 div 0", Throws<EZnVariantError>(), nullptr},
        TErrorCase{"1 mod 0", Throws<EZnVariantError>(), nullptr},
        TErrorCase{"sqrt(-1)", Throws<EZnVariantError>(), nullptr},
        TErrorCase{"ln(0)", Throws<EZnVariantError>(), nullptr},
        TErrorCase{"10 ^ 99999", Throws<EZnVariantError>(), nullptr},
        TErrorCase{"round(1e30)", Throws<EZnVariantError>(), nullptr},
        TErrorCase{"$FFFFFFFFFFFFFFFFFF div 1", Throws<EZnVariantError>(), nullptr}));

TEST(ZnEvals, NestingIsBounded)
{
    const int limit = TZnEvals::kMaxNesting;
    TZnEvals e;
    e.Source = QStringList{QString(limit, u'(') + "1" + QString(limit, u')')};
    EXPECT_EQ(e.Evaluate(), TZnVariant(1.0L));
    e.Source = QStringList{QString(limit + 1, u'(') + "1" + QString(limit + 1, u')')};
    EXPECT_THROW(e.Evaluate(), EZnEvalsErrNestingTooDeep);
    // Calls count as nesting too.
    e.Source = QStringList{QString("abs(").repeated(limit + 1) + "1" + QString(limit + 1, u')')};
    EXPECT_THROW(e.Evaluate(), EZnEvalsErrNestingTooDeep);
    // A very deep text fails cleanly instead of exhausting the stack.
    e.Source = QStringList{QString(100000, u'(')};
    EXPECT_THROW(e.Evaluate(), EZnEvalsErrNestingTooDeep);
    e.Source = QStringList{"(((1)))"};
    EXPECT_EQ(e.Evaluate(), TZnVariant(1.0L));
}

// A descendant that replaces one level and reaches the reader.
class TPercentEvals : public TZnEvals
{
protected:
    void PowerLevel(TZnVariant &result) override
    {
        TZnEvals::PowerLevel(result);
        if (TestOperator(U"%"))
            result = TZnVariant::Divide(result, TZnVariant(qint64(100)));
    }

public:
    void PushBackAtStart()
    {
        Source = QStringList{""};
        Evaluate();
        // Position is 0 after an empty text: nothing can be pushed back.
        UnGetChar();
    }
};

TEST(ZnEvals, LevelsAreReplaceable)
{
    TPercentEvals e;
    e.Source = QStringList{"50% * 4"};
    EXPECT_EQ(e.Evaluate(), TZnVariant(2.0L));
    try {
        e.PushBackAtStart();
        ADD_FAILURE() << "no error";
    } catch (const EZnEvalsErrCantUnGetChar &err) {
        EXPECT_EQ(err.Message(), QString::fromUtf8("UnGetChar は出来ません"));
    }
}

// ---- the value type on its own -------------------------------------------

TEST(ZnVariant, Conversions)
{
    EXPECT_TRUE(TZnVariant("True").ToBool());
    EXPECT_FALSE(TZnVariant(" false ").ToBool());
    EXPECT_TRUE(TZnVariant("2").ToBool());
    EXPECT_FALSE(TZnVariant().ToBool());
    EXPECT_THROW(TZnVariant::Null().ToBool(), EZnVariantError);
    EXPECT_THROW(TZnVariant("yes").ToBool(), EZnConvertError);
    EXPECT_EQ(TZnVariant(true).ToInt64(), -1);
    EXPECT_EQ(TZnVariant(2.5L).ToInt64(), 2);
    EXPECT_EQ(TZnVariant(-3.5L).ToInt64(), -4);
    EXPECT_EQ(TZnVariant(" 1.5 ").ToReal(), 1.5L);
    EXPECT_THROW(TZnVariant("inf").ToReal(), EZnConvertError);
    EXPECT_THROW(TZnVariant("0x10").ToReal(), EZnConvertError);
    EXPECT_THROW(TZnVariant("1,5").ToReal(), EZnConvertError);
    EXPECT_EQ(TZnVariant(31.0L).ToString(), "31");
    EXPECT_EQ(TZnVariant(0.1L).ToString(), "0.1");
    EXPECT_EQ(TZnVariant(1e20L).ToString(), "1E20");
    EXPECT_EQ(TZnVariant(1.5e-7L).ToString(), "1.5E-7");
    EXPECT_EQ(TZnVariant(false).ToString(), "False");
}

TEST(ZnVariant, IntegerArithmeticWidensOnOverflow)
{
    const TZnVariant big(std::numeric_limits<qint64>::max());
    const TZnVariant sum = TZnVariant::Add(big, TZnVariant(qint64(1)));
    EXPECT_EQ(sum.Type(), TZnVariant::TType::Real);
    EXPECT_EQ(TZnVariant::Add(TZnVariant(qint64(2)), TZnVariant(qint64(3))), TZnVariant(qint64(5)));
    EXPECT_EQ(TZnVariant::Negate(TZnVariant(std::numeric_limits<qint64>::min())).Type(),
              TZnVariant::TType::Real);
    EXPECT_THROW(TZnVariant::IntDiv(TZnVariant(std::numeric_limits<qint64>::min()), TZnVariant(qint64(-1))),
                 EZnVariantError);
    EXPECT_EQ(TZnVariant::Mod(TZnVariant(std::numeric_limits<qint64>::min()), TZnVariant(qint64(-1))),
              TZnVariant(qint64(0)));
}

} // namespace
