#pragma once

#include "ZnLibs/ZnEvalsErrors.h"
#include "ZnLibs/ZnVariant.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <string>

class TZnEvals;

// Asked first for every function call. args holds the evaluated arguments
// (empty for a call without any). A handler that sets exist supplies value.
using TFunctionCallEvent = std::function<void(TZnEvals *sender, const QString &name,
                                              const TZnVariantList &args, bool &exist,
                                              TZnVariant &value)>;
// Asked first for every name that is not followed by "(".
using TGetVariableEvent =
    std::function<void(TZnEvals *sender, const QString &name, bool &exist, TZnVariant &value)>;

// Evaluates a small expression language over variant values by recursive
// descent, computing while it parses. Levels from the lowest precedence:
//   logical         comparison { ("and" | "or" | "xor") comparison }
//   comparison      additive [ ("=" | "<>" | "<=" | "<" | ">=" | ">") additive ]
//   additive        [ "+" | "-" | "not" ] multiplicative { ("+" | "-") multiplicative }
//   multiplicative  power { ("*" | "/" | "div" | "mod") power }
//   power           primary [ "^" primary ]
//   primary         "(" logical ")" | name | name "(" args ")" | number | string | nothing
// Operators and keywords are case-sensitive and match on their letters alone
// ("nothing" is "not" and "hing"). Every error is an exception (EZnEvalsErr
// or the value type's EZnVariantError); nothing outlives one Evaluate.
class TZnEvals : public QObject
{
    Q_OBJECT

public:
    explicit TZnEvals(QObject *owner = nullptr);

    // The expression; the lines are joined with line breaks.
    QStringList Source;
    TFunctionCallEvent OnFunctionCall;
    TGetVariableEvent OnGetVariable;

    void Evaluate(TZnVariant &result);
    TZnVariant Evaluate();

    // How deep parentheses and calls may nest.
    static constexpr int kMaxNesting = 100;

protected:
    // The six levels, in slot order; a descendant may replace any of them.
    virtual void LogicalLevel(TZnVariant &result);
    virtual void PowerLevel(TZnVariant &result);
    virtual void Primary(TZnVariant &result);
    virtual void ComparisonLevel(TZnVariant &result);
    virtual void AdditiveLevel(TZnVariant &result);
    virtual void MultiplicativeLevel(TZnVariant &result);

    // The reader, one character at a time (a double-byte character is one).
    static constexpr char32_t kEndOfText = 0xFFFFFFFF;
    char32_t GetChar();
    void UnGetChar();
    void SkipWhite();
    // Skips white space, then consumes op when the text continues with it.
    bool TestOperator(std::u32string_view op);
    bool AtEnd() const { return pos >= text.size(); }

    // One nesting level deeper for the duration of a sub-expression.
    class TNestGuard
    {
    public:
        explicit TNestGuard(TZnEvals &e);
        ~TNestGuard() { --owner.depth; }
        TNestGuard(const TNestGuard &) = delete;
        TNestGuard &operator=(const TNestGuard &) = delete;

    private:
        TZnEvals &owner;
    };

    virtual TZnVariant GetVariable(const QString &name);
    virtual TZnVariant CallFunction(const QString &name, const TZnVariantList &args);

private:
    void ReadName(QString &name);
    void ReadNumber(TZnVariant &result);
    void ReadString(TZnVariant &result);
    void ReadArguments(TZnVariantList &args);

    std::u32string text;
    size_t pos = 0;
    int depth = 0;
};
