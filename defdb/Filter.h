#pragma once

#include <QString>
#include <memory>

class TDataSet;

// A parsed filter expression, bound to the fields of one table (see
// TDataSet::SetFilter for the syntax).
class TFilter
{
public:
    ~TFilter();

    // Parses the expression against the table's fields; nullptr and the
    // reason in *error when it does not parse or names an unknown field.
    static std::unique_ptr<TFilter> Parse(const QString &expression, const TDataSet &table, QString *error);

    bool Matches(const TDataSet &table, int rowId) const;

    struct TNode;

private:
    TFilter();
    std::unique_ptr<TNode> root;
};
