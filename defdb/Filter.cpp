#include "defdb/Filter.h"

#include "defdb/DataSet.h"

#include <unordered_set>
#include <vector>

struct TFilter::TNode {
    enum class TKind { And, Or, Not, Compare, IsNull, IsNotNull, In, Constant };
    enum class TOp { Eq, Ne, Lt, Le, Gt, Ge };
    struct TOperand {
        int field = -1; // -1: the literal
        TValue literal;
    };

    TKind kind = TKind::Constant;
    TOp op = TOp::Eq;
    bool constant = false;
    std::unique_ptr<TNode> a, b;
    TOperand left, right;
    std::unordered_set<qint64> intList;
    std::vector<TValue> otherList;
};

namespace {

using TNode = TFilter::TNode;

struct TToken {
    enum class TKind { End, Ident, Number, Text, Op, LParen, RParen, Comma };
    TKind kind = TKind::End;
    QString text;
    TValue value;
    int pos = 0;
};

class TParser
{
public:
    TParser(const QString &src, const TDataSet &table) : src(src), table(table) {}

    std::unique_ptr<TNode> Run(QString *error)
    {
        if (!Tokenize()) {
            *error = message;
            return nullptr;
        }
        auto node = ParseOr();
        if (node && Peek().kind != TToken::TKind::End)
            Fail(QStringLiteral("unexpected \"%1\"").arg(Peek().text));
        if (!message.isEmpty()) {
            *error = message;
            return nullptr;
        }
        return node;
    }

private:
    bool Fail(const QString &text)
    {
        if (message.isEmpty())
            message = QStringLiteral("%1 at position %2").arg(text).arg(Peek().pos + 1);
        return false;
    }

    bool Tokenize()
    {
        int i = 0;
        const int n = src.size();
        while (i < n) {
            const QChar c = src[i];
            if (c.isSpace()) {
                ++i;
                continue;
            }
            TToken t;
            t.pos = i;
            if (c.isLetter() || c == QLatin1Char('_')) {
                int j = i;
                while (j < n && (src[j].isLetterOrNumber() || src[j] == QLatin1Char('_')))
                    ++j;
                t.kind = TToken::TKind::Ident;
                t.text = src.mid(i, j - i);
                i = j;
            } else if (c.isDigit() || ((c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('.'))
                                       && i + 1 < n && (src[i + 1].isDigit() || src[i + 1] == QLatin1Char('.')))) {
                int j = i + 1;
                bool isFloat = c == QLatin1Char('.');
                while (j < n && (src[j].isDigit() || src[j] == QLatin1Char('.') || src[j] == QLatin1Char('e')
                                 || src[j] == QLatin1Char('E')
                                 || ((src[j] == QLatin1Char('-') || src[j] == QLatin1Char('+'))
                                     && (src[j - 1] == QLatin1Char('e') || src[j - 1] == QLatin1Char('E'))))) {
                    if (!src[j].isDigit())
                        isFloat = true;
                    ++j;
                }
                t.kind = TToken::TKind::Number;
                t.text = src.mid(i, j - i);
                bool ok = false;
                if (isFloat) {
                    t.value = TValue(t.text.toDouble(&ok));
                } else {
                    t.value = TValue(t.text.toLongLong(&ok));
                }
                if (!ok) {
                    message = QStringLiteral("bad number \"%1\" at position %2").arg(t.text).arg(i + 1);
                    return false;
                }
                i = j;
            } else if (c == QLatin1Char('\'')) {
                QString text;
                int j = i + 1;
                bool closed = false;
                while (j < n) {
                    if (src[j] == QLatin1Char('\'')) {
                        if (j + 1 < n && src[j + 1] == QLatin1Char('\'')) {
                            text += QLatin1Char('\'');
                            j += 2;
                            continue;
                        }
                        closed = true;
                        ++j;
                        break;
                    }
                    text += src[j++];
                }
                if (!closed) {
                    message = QStringLiteral("unterminated text at position %1").arg(i + 1);
                    return false;
                }
                t.kind = TToken::TKind::Text;
                t.text = text;
                t.value = TValue(text);
                i = j;
            } else if (c == QLatin1Char('(')) {
                t.kind = TToken::TKind::LParen, t.text = c, ++i;
            } else if (c == QLatin1Char(')')) {
                t.kind = TToken::TKind::RParen, t.text = c, ++i;
            } else if (c == QLatin1Char(',')) {
                t.kind = TToken::TKind::Comma, t.text = c, ++i;
            } else if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>')) {
                QString op = c;
                if (i + 1 < n && (src[i + 1] == QLatin1Char('=') || (c == QLatin1Char('<') && src[i + 1] == QLatin1Char('>'))))
                    op += src[i + 1];
                t.kind = TToken::TKind::Op;
                t.text = op;
                i += op.size();
            } else {
                message = QStringLiteral("unexpected character \"%1\" at position %2").arg(c).arg(i + 1);
                return false;
            }
            tokens.push_back(t);
        }
        TToken end;
        end.pos = n;
        tokens.push_back(end);
        return true;
    }

    const TToken &Peek() const { return tokens[size_t(pos)]; }
    TToken Take() { return tokens[size_t(pos < int(tokens.size()) - 1 ? pos++ : pos)]; }
    bool IsKeyword(const char *kw) const
    {
        return Peek().kind == TToken::TKind::Ident && Peek().text.compare(QLatin1String(kw), Qt::CaseInsensitive) == 0;
    }

    std::unique_ptr<TNode> Binary(TNode::TKind kind, std::unique_ptr<TNode> a, std::unique_ptr<TNode> b)
    {
        auto n = std::make_unique<TNode>();
        n->kind = kind;
        n->a = std::move(a);
        n->b = std::move(b);
        return n;
    }

    std::unique_ptr<TNode> ParseOr()
    {
        auto left = ParseAnd();
        while (left && IsKeyword("or")) {
            Take();
            auto right = ParseAnd();
            if (!right)
                return nullptr;
            left = Binary(TNode::TKind::Or, std::move(left), std::move(right));
        }
        return left;
    }

    std::unique_ptr<TNode> ParseAnd()
    {
        auto left = ParseNot();
        while (left && IsKeyword("and")) {
            Take();
            auto right = ParseNot();
            if (!right)
                return nullptr;
            left = Binary(TNode::TKind::And, std::move(left), std::move(right));
        }
        return left;
    }

    std::unique_ptr<TNode> ParseNot()
    {
        if (IsKeyword("not")) {
            Take();
            if (++depth > 200) {
                Fail(QStringLiteral("expression nested too deeply"));
                return nullptr;
            }
            auto inner = ParseNot();
            --depth;
            if (!inner)
                return nullptr;
            return Binary(TNode::TKind::Not, std::move(inner), nullptr);
        }
        return ParsePrimary();
    }

    std::unique_ptr<TNode> ParsePrimary()
    {
        if (++depth > 200) {
            Fail(QStringLiteral("expression nested too deeply"));
            return nullptr;
        }
        struct TDepth {
            int &d;
            ~TDepth() { --d; }
        } guard{depth};
        if (Peek().kind == TToken::TKind::LParen) {
            Take();
            auto inner = ParseOr();
            if (!inner)
                return nullptr;
            if (Peek().kind != TToken::TKind::RParen) {
                Fail(QStringLiteral("\")\" expected"));
                return nullptr;
            }
            Take();
            return inner;
        }
        TNode::TOperand left;
        if (!ParseOperand(left))
            return nullptr;
        auto n = std::make_unique<TNode>();
        if (IsKeyword("is")) {
            Take();
            bool negate = false;
            if (IsKeyword("not")) {
                Take();
                negate = true;
            }
            if (!IsKeyword("null")) {
                Fail(QStringLiteral("NULL expected"));
                return nullptr;
            }
            Take();
            if (left.field < 0) {
                Fail(QStringLiteral("IS NULL needs a field"));
                return nullptr;
            }
            n->kind = negate ? TNode::TKind::IsNotNull : TNode::TKind::IsNull;
            n->left = left;
            return n;
        }
        if (IsKeyword("in")) {
            Take();
            if (left.field < 0) {
                Fail(QStringLiteral("In needs a field"));
                return nullptr;
            }
            if (Peek().kind != TToken::TKind::LParen) {
                Fail(QStringLiteral("\"(\" expected"));
                return nullptr;
            }
            Take();
            n->kind = TNode::TKind::In;
            n->left = left;
            const bool integerField = table.FieldDef(left.field).IsIntegerType()
                                      || table.FieldDef(left.field).kind != TFieldKind::Data;
            if (Peek().kind == TToken::TKind::RParen) {
                Take();
                return n; // an empty list matches nothing
            }
            for (;;) {
                if (Peek().kind != TToken::TKind::Number && Peek().kind != TToken::TKind::Text) {
                    Fail(QStringLiteral("value expected in list"));
                    return nullptr;
                }
                TValue v = Coerce(left.field, Take().value);
                if (!message.isEmpty())
                    return nullptr;
                if (integerField && v.IsInteger())
                    n->intList.insert(v.AsInt64());
                else
                    n->otherList.push_back(v);
                if (Peek().kind == TToken::TKind::Comma) {
                    Take();
                    continue;
                }
                if (Peek().kind == TToken::TKind::RParen) {
                    Take();
                    break;
                }
                Fail(QStringLiteral("\",\" or \")\" expected"));
                return nullptr;
            }
            return n;
        }
        if (Peek().kind != TToken::TKind::Op) {
            Fail(QStringLiteral("operator expected"));
            return nullptr;
        }
        const QString op = Take().text;
        TNode::TOperand right;
        if (!ParseOperand(right))
            return nullptr;
        n->kind = TNode::TKind::Compare;
        n->op = op == QLatin1String("=")    ? TNode::TOp::Eq
                : op == QLatin1String("<>") ? TNode::TOp::Ne
                : op == QLatin1String("<")  ? TNode::TOp::Lt
                : op == QLatin1String("<=") ? TNode::TOp::Le
                : op == QLatin1String(">")  ? TNode::TOp::Gt
                                            : TNode::TOp::Ge;
        if (op == QLatin1String("=<") || op == QLatin1String("=>") || op == QLatin1String("==")) {
            Fail(QStringLiteral("unknown operator \"%1\"").arg(op));
            return nullptr;
        }
        // A literal against a field takes the field's form ('5' against an
        // integer field is 5).
        if (left.field >= 0 && right.field < 0)
            right.literal = Coerce(left.field, right.literal);
        else if (right.field >= 0 && left.field < 0)
            left.literal = Coerce(right.field, left.literal);
        if (!message.isEmpty())
            return nullptr;
        n->left = left;
        n->right = right;
        return n;
    }

    TValue Coerce(int field, const TValue &v)
    {
        const TFieldDef &f = table.FieldDef(field);
        if (f.IsTextType())
            return v.IsText() ? v : TValue(v.AsString());
        if (v.IsText()) {
            bool ok = false;
            const QString s = v.AsString().trimmed();
            const qint64 i = s.toLongLong(&ok);
            if (ok)
                return TValue(i);
            const double d = s.toDouble(&ok);
            if (ok)
                return TValue(d);
            Fail(QStringLiteral("\"%1\" is no number for %2").arg(v.AsString(), f.name));
        }
        return v;
    }

    bool ParseOperand(TNode::TOperand &out)
    {
        const TToken &t = Peek();
        if (t.kind == TToken::TKind::Ident) {
            if (IsKeyword("null") || IsKeyword("and") || IsKeyword("or") || IsKeyword("not")) {
                return Fail(QStringLiteral("field or value expected"));
            }
            const int f = table.FieldIndex(t.text);
            if (f < 0)
                return Fail(QStringLiteral("unknown field \"%1\"").arg(t.text));
            out.field = f;
            Take();
            return true;
        }
        if (t.kind == TToken::TKind::Number || t.kind == TToken::TKind::Text) {
            out.field = -1;
            out.literal = Take().value;
            return true;
        }
        return Fail(t.kind == TToken::TKind::End ? QStringLiteral("unexpected end") : QStringLiteral("field or value expected"));
    }

    QString src;
    const TDataSet &table;
    std::vector<TToken> tokens;
    int pos = 0;
    int depth = 0;
    QString message;
};

const TValue &OperandValue(const TNode::TOperand &o, const TDataSet &table, int rowId)
{
    return o.field >= 0 ? table.RowValue(rowId, o.field) : o.literal;
}

bool Eval(const TNode &n, const TDataSet &table, int rowId)
{
    switch (n.kind) {
    case TNode::TKind::And: return Eval(*n.a, table, rowId) && Eval(*n.b, table, rowId);
    case TNode::TKind::Or: return Eval(*n.a, table, rowId) || Eval(*n.b, table, rowId);
    case TNode::TKind::Not: return !Eval(*n.a, table, rowId);
    case TNode::TKind::Constant: return n.constant;
    case TNode::TKind::IsNull: return table.RowValue(rowId, n.left.field).IsNull();
    case TNode::TKind::IsNotNull: return !table.RowValue(rowId, n.left.field).IsNull();
    case TNode::TKind::In: {
        const TValue &v = table.RowValue(rowId, n.left.field);
        if (v.IsNull())
            return false;
        if (v.IsInteger() && n.intList.count(v.AsInt64()))
            return true;
        for (const TValue &o : n.otherList)
            if (o == v)
                return true;
        if (!v.IsInteger() && !n.intList.empty() && v.IsFloat() && v.AsFloat() == double(v.AsInt64()))
            return n.intList.count(v.AsInt64()) > 0;
        return false;
    }
    case TNode::TKind::Compare: {
        const TValue &a = OperandValue(n.left, table, rowId);
        const TValue &b = OperandValue(n.right, table, rowId);
        if (a.IsNull() || b.IsNull())
            return false;
        const int c = TValue::Compare(a, b);
        switch (n.op) {
        case TNode::TOp::Eq: return c == 0;
        case TNode::TOp::Ne: return c != 0;
        case TNode::TOp::Lt: return c < 0;
        case TNode::TOp::Le: return c <= 0;
        case TNode::TOp::Gt: return c > 0;
        case TNode::TOp::Ge: return c >= 0;
        }
        return false;
    }
    }
    return false;
}

} // namespace

TFilter::TFilter() = default;
TFilter::~TFilter() = default;

std::unique_ptr<TFilter> TFilter::Parse(const QString &expression, const TDataSet &table, QString *error)
{
    QString dummy;
    TParser parser(expression, table);
    auto root = parser.Run(error ? error : &dummy);
    if (!root)
        return nullptr;
    std::unique_ptr<TFilter> f(new TFilter);
    f->root = std::move(root);
    return f;
}

bool TFilter::Matches(const TDataSet &table, int rowId) const
{
    return root && Eval(*root, table, rowId);
}
