#include "defdb/FieldDef.h"

QString TFieldDef::TypeName(TFieldType t)
{
    switch (t) {
    case TFieldType::AutoInc: return QStringLiteral("autoinc");
    case TFieldType::Integer: return QStringLiteral("integer");
    case TFieldType::SmallInt: return QStringLiteral("smallint");
    case TFieldType::Float: return QStringLiteral("float");
    case TFieldType::Text: return QStringLiteral("text");
    case TFieldType::Memo: return QStringLiteral("memo");
    }
    return QStringLiteral("?");
}
