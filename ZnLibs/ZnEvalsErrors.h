#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// The errors of the expression evaluator. Failures of the values themselves
// (text that is not a number, values that cannot be combined, a missing
// argument) are the value type's errors (EZnVariantError) instead.
class EZnEvalsErr : public std::exception
{
public:
    explicit EZnEvalsErr(QString message)
        : message(std::move(message)), utf8(this->message.toUtf8())
    {
    }
    const QString &Message() const { return message; }
    const char *what() const noexcept override { return utf8.constData(); }

private:
    QString message;
    QByteArray utf8;
};

// Text is left after the expression.
class EZnEvalsErrSyntaxError : public EZnEvalsErr
{
public:
    EZnEvalsErrSyntaxError() : EZnEvalsErr(QStringLiteral("文法エラーです")) {}
};

// A parenthesised expression or an argument list is not closed.
class EZnEvalsErrRBracketNotExist : public EZnEvalsErr
{
public:
    EZnEvalsErrRBracketNotExist() : EZnEvalsErr(QStringLiteral("')' が有りません")) {}
};

class EZnEvalsErrFunctionNotDefined : public EZnEvalsErr
{
public:
    explicit EZnEvalsErrFunctionNotDefined(const QString &name)
        : EZnEvalsErr(QStringLiteral("'%1' は定義されていない関数です").arg(name))
    {
    }
};

class EZnEvalsErrVariableNotDefined : public EZnEvalsErr
{
public:
    explicit EZnEvalsErrVariableNotDefined(const QString &name)
        : EZnEvalsErr(QStringLiteral("'%1' は定義されていない変数です").arg(name))
    {
    }
};

// "$" without a hexadecimal digit after it.
class EZnEvalsErrNotHexValue : public EZnEvalsErr
{
public:
    EZnEvalsErrNotHexValue() : EZnEvalsErr(QStringLiteral("16 進数を指定してください")) {}
};

// The text ends inside a string literal. (The class names of this and the
// next error are spelled as the component has always spelled them.)
class EZnEvlasErrStringNotProperlyFinished : public EZnEvalsErr
{
public:
    EZnEvlasErrStringNotProperlyFinished()
        : EZnEvalsErr(QStringLiteral("文字列が正しく終わっていません"))
    {
    }
};

// A string literal holds a character outside its character set.
class EZnEvlasErrInvalidChar : public EZnEvalsErr
{
public:
    explicit EZnEvlasErrInvalidChar(const QString &ch)
        : EZnEvalsErr(QStringLiteral("'%1'は不正な文字です").arg(ch))
    {
    }
};

class EZnEvalsErrCantUnGetChar : public EZnEvalsErr
{
public:
    EZnEvalsErrCantUnGetChar() : EZnEvalsErr(QStringLiteral("UnGetChar は出来ません")) {}
};

// Parentheses or calls nested deeper than the evaluator follows; keeps a
// hostile or broken condition from exhausting the stack.
class EZnEvalsErrNestingTooDeep : public EZnEvalsErr
{
public:
    EZnEvalsErrNestingTooDeep() : EZnEvalsErr(QStringLiteral("式の入れ子が深すぎます")) {}
};

using EZnEvalsErrStringNotProperlyFinished = EZnEvlasErrStringNotProperlyFinished;
using EZnEvalsErrInvalidChar = EZnEvlasErrInvalidChar;
