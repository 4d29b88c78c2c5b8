#include "defdb/DefSchema.h"

#include "defdb/DataSet.h"

namespace {

using TField = TDefSchema::TField;
using TTable = TDefSchema::TTable;

constexpr qint64 MaxAddress = 1048575;

TField Int(const char *name, bool required = false) { return {QString::fromLatin1(name), TFieldType::Integer, 0, required, {}, {}}; }
TField IntR(const char *name, qint64 min, qint64 max, bool required = false)
{
    return {QString::fromLatin1(name), TFieldType::Integer, 0, required, min, max};
}
TField Addr(const char *name, bool required = false) { return IntR(name, 0, MaxAddress, required); }
TField Small(const char *name, bool required = false) { return {QString::fromLatin1(name), TFieldType::SmallInt, 0, required, {}, {}}; }
TField SmallR(const char *name, qint64 min, qint64 max, bool required = false)
{
    return {QString::fromLatin1(name), TFieldType::SmallInt, 0, required, min, max};
}
TField Auto(const char *name) { return {QString::fromLatin1(name), TFieldType::AutoInc, 0, false, {}, {}}; }
TField Text(const char *name, int size = 20, bool required = false)
{
    return {QString::fromLatin1(name), TFieldType::Text, size, required, {}, {}};
}
TField Memo(const char *name, int size) { return {QString::fromLatin1(name), TFieldType::Memo, size, false, {}, {}}; }
TField Float(const char *name) { return {QString::fromLatin1(name), TFieldType::Float, 0, false, {}, {}}; }

TIndexDef Primary(const char *name, const char *fields) { return {QString::fromLatin1(name), QString::fromLatin1(fields), true, true}; }
TIndexDef Unique(const char *name, const char *fields) { return {QString::fromLatin1(name), QString::fromLatin1(fields), false, true}; }
TIndexDef Plain(const char *name, const char *fields) { return {QString::fromLatin1(name), QString::fromLatin1(fields), false, false}; }

TTable Parameter(int storage)
{
    TTable t;
    t.stream = QStringLiteral("%1_PARAMETER.cds").arg(storage);
    t.fields = {Auto("ID"), IntR("CODE", 0, 0x7FFFFFFF, true), SmallR("LENGTH", 1, 4, true),
                SmallR("DATAFORM", 1, 10, true),
                // 0 is allowed: a signed fixed-point form without decimals.
                SmallR("PER_POWEROF10", 0, 10)};
    if (storage == 1)
        t.fields.push_back(Int("FRACTION_ID"));
    for (TField f : {Int("BINARY_HIGH_ID"), Int("BINARY_LOW_ID"), Text("BINARY_HIGH_NAME_J", 80),
                     Text("BINARY_HIGH_NAME_E", 80), Text("BINARY_LOW_NAME_J", 80), Text("BINARY_LOW_NAME_E", 80),
                     Int("TABLE_ID"), Text("NAME_J", 80), Text("NAME_E", 80), Text("SYMBOL", 10), Text("UNIT", 10),
                     Text("UNIT2", 10), Text("UNIT3", 10)})
        t.fields.push_back(f);
    if (storage == 1)
        t.fields.push_back(Int("TYPE_ID"));
    t.fields.push_back(Int("HELP_ID"));
    t.indexes = {Primary("INDEX_ID", "ID"), Unique("INDEX_CODE", "CODE")};
    return t;
}

TTable AmpPara(int storage)
{
    TTable t;
    t.stream = QStringLiteral("%1_AMP_PARA.cds").arg(storage);
    t.fields = {Int("AMPLIFIER_ID", true), Addr("ADDRESS", true), Int("PARAMETER_ID", true)};
    if (storage == 1)
        t.fields.push_back(Int("STANDARD_VALUE", true));
    t.fields.push_back(Int("MIN_VALUE", true));
    t.fields.push_back(Int("MAX_VALUE", true));
    if (storage == 1)
        t.fields.push_back(Int("MODE_NO"));
    t.fields.push_back(Int("PAGE_NO"));
    t.fields.push_back(Int("NOW_VALUE"));
    if (storage == 1)
        t.fields.push_back(Int("INPUT_VALUE"));
    t.indexes = {Primary("INDEX_ID_ADDRESS", "AMPLIFIER_ID;ADDRESS")};
    if (storage == 1)
        t.indexes.push_back(Plain("INDEX_ID_MODE_PAGE_NO", "AMPLIFIER_ID;MODE_NO;PAGE_NO"));
    else
        t.indexes.push_back(Plain("INDEX_ID_PAGE_NO", "AMPLIFIER_ID;PAGE_NO"));
    return t;
}

TTable TableData(int storage)
{
    return {QStringLiteral("%1_TABLE_DATA.cds").arg(storage),
            {Int("TABLE_ID", true), SmallR("VALUE", 0, 255, true), Text("NAME", 20, true), Text("TEXT_J", 80),
             Text("TEXT_E", 80)},
            {Primary("INDEX_ID_VALUE", "TABLE_ID;VALUE")}};
}

TTable CodeNames(const char *stream)
{
    return {QString::fromLatin1(stream), {Int("CODE", true), Text("NAME_J", 60), Text("NAME_E", 60)},
            {Primary("INDEX_CODE", "CODE")}};
}

std::vector<TTable> BuildTables()
{
    std::vector<TTable> t;
    t.push_back({QStringLiteral("0_AMPLIFIER.cds"),
                 {Auto("ID"), IntR("CODE", 0, 0xFFFFFF, true), Int("GROUP_ID", true), Text("NAME", 15)},
                 {Primary("INDEX_ID", "ID"), Unique("INDEX_CODE", "CODE")}});
    t.push_back({QStringLiteral("0_VERSION.cds"), {Text("TEXT", 20, true)}, {}});

    t.push_back(Parameter(1));
    t.push_back(AmpPara(1));
    t.push_back({QStringLiteral("1_TYPE.cds"),
                 {Auto("ID"), Int("LEVEL", true), Text("NAME", 60)},
                 {Primary("INDEX_ID", "ID"), Unique("INDEX_LEVEL", "LEVEL")}});
    t.push_back(TableData(1));
    t.push_back({QStringLiteral("1_BINARY_DATA.cds"),
                 {Int("BINARY_ID", true), SmallR("VALUE", 0, 15), Text("TEXT_J", 80), Text("TEXT_E", 80)},
                 {Primary("INDEX_ID_VALUE", "BINARY_ID;VALUE")}});
    t.push_back({QStringLiteral("1_FRACTION.cds"),
                 {Int("ID"), IntR("CODE", 0, 0x7FFFFFFF, true), Memo("TEXT", 240)},
                 {Primary("INDEX_ID", "ID"), Unique("INDEX_CODE", "CODE")}});
    t.push_back({QStringLiteral("1_HELP.cds"),
                 {Auto("ID"), IntR("CODE", 0, 0x7FFFFFFF, true), Memo("TEXT_J", 1024), Memo("TEXT_E", 1024)},
                 {Primary("INDEX_ID", "ID"), Unique("INDEX_CODE", "CODE")}});

    t.push_back(Parameter(2));
    t.push_back(AmpPara(2));
    t.push_back(TableData(2));

    t.push_back({QStringLiteral("3_MODEL.cds"),
                 {Int("AMPLIFIER_ID", true), Addr("MOTOR_ADDRESS", true), Addr("AMPLIFIER_ADDRESS", true),
                  Addr("VERSION_ADDRESS")},
                 {Primary("INDEX_ID", "AMPLIFIER_ID")}});
    TTable system{QStringLiteral("3_SYSTEM.cds"),
                  {Int("AMPLIFIER_ID", true), Text("CNTPWRVL_TEXT_J", 40), Text("CNTPWRVL_TEXT_E", 40),
                   Text("CNTPWRIN_TEXT_J", 40), Text("CNTPWRIN_TEXT_E", 40)},
                  {Primary("INDEX_ID", "AMPLIFIER_ID")}};
    for (const char *a : {"MPWRVL_ADDRESS", "MPWRIN_ADDRESS", "ENCTYP_ADDRESS", "INCSET_ADDRESS", "ABSSET_ADDRESS",
                          "MOTENP_ADDRESS", "MOTABF_ADDRESS", "AMPTYP_ADDRESS", "MOTSTR_ADDRESS", "CNTHRD_ADDRESS",
                          "MOTDAT_ADDRESS", "CNTTYP_ADDRESS", "PLMODE_ADDRESS", "EXTENP_ADDRESS"})
        system.fields.push_back(Addr(a, true));
    for (const char *a : {"RESERVE1_ADDRESS", "RESERVE2_ADDRESS", "RESERVE3_ADDRESS"})
        system.fields.push_back(Addr(a));
    t.push_back(system);
    t.push_back({QStringLiteral("3_TESTRUN.cds"),
                 {Int("AMPLIFIER_ID", true), Addr("COMMON_ADDRESS"), Text("VCMD_UNIT", 10), IntR("VCMD_MIN", 0, 65535),
                  IntR("VCMD_MAX", 0, 65535), Int("TCMD_MIN"), Int("TCMD_MAX"), Text("ANFTUNING_NAME_J", 60),
                  Text("ANFTUNING_NAME_E", 60), Text("ANFTUNING_UNIT", 10)},
                 {Primary("INDEX_ID", "AMPLIFIER_ID")}});
    t.push_back({QStringLiteral("3_ALARM.cds"),
                 {Int("AMPLIFIER_ID", true), Addr("NOW_ALARM_ADDRESS"), Addr("HISTORY_ALARM_ADDRESS"), Int("ALARM_ID"),
                  Int("STATE_ID")},
                 {Primary("INDEX_ID", "AMPLIFIER_ID")}});
    t.push_back({QStringLiteral("3_ALARM_DATA.cds"),
                 {Int("ALARM_ID", true), SmallR("VALUE", 0, 255), Text("SYMBOL", 10), Text("NAME_J", 80),
                  Text("NAME_E", 80)},
                 {Primary("INDEX_ID_VALUE", "ALARM_ID;VALUE")}});
    t.push_back({QStringLiteral("3_STATE_DATA.cds"),
                 {Int("STATE_ID", true), SmallR("VALUE", 0, 15), Text("SYMBOL", 10), Text("NAME_J", 80),
                  Text("NAME_E", 80)},
                 {Primary("INDEX_ID_VALUE", "STATE_ID;VALUE")}});
    t.push_back({QStringLiteral("3_TRACE.cds"),
                 {Int("AMPLIFIER_ID", true), Addr("TRACE_ADDRESS"), Addr("SETTING_ADDRESS"), Addr("ANALOG_ADDRESS"),
                  Addr("DIGITAL_ADDRESS"), Float("SAMPLING_BASE"), Int("TRACEMODE_MIN"), Int("TRACEMODE_MAX"),
                  Int("TRGEG_MIN"), Int("TRGEG_MAX"), Int("TRGCH_MIN"), Int("TRGCH_MAX"), Int("ANALOG_ID"),
                  Int("ANALOG_MIN"), Int("ANALOG_MAX"), Int("DIGITAL_ID"), Int("DIGITAL_MIN"), Int("DIGITAL_MAX")},
                 {Primary("INDEX_ID", "AMPLIFIER_ID")}});
    t.push_back(CodeNames("3_TRACEMODE.cds"));
    t.push_back(CodeNames("3_TRIGGEREDGE.cds"));
    t.push_back(CodeNames("3_TRIGGERCH.cds"));
    t.push_back({QStringLiteral("3_ANALOG_DATA.cds"),
                 {Int("ANALOG_ID", true), Small("VALUE", true), Small("LENGTH", true), Small("DATAFORM", true),
                  Text("NAME_J", 80), Text("NAME_E", 80), Text("UNIT", 10)},
                 {Primary("INDEX_ID_VALUE", "ANALOG_ID;VALUE")}});
    t.push_back({QStringLiteral("3_DIGITAL_DATA.cds"),
                 {Int("DIGITAL_ID", true), Small("VALUE", true), Text("NAME_J", 80), Text("NAME_E", 80)},
                 {Primary("INDEX_ID_VALUE", "DIGITAL_ID;VALUE")}});
    return t;
}

} // namespace

const std::vector<TTable> &TDefSchema::Tables()
{
    static const std::vector<TTable> tables = BuildTables();
    return tables;
}

const TTable *TDefSchema::Find(const QString &stream)
{
    for (const TTable &t : Tables())
        if (t.stream.compare(stream, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QStringList TDefSchema::Streams(int storage)
{
    QStringList out;
    const QString prefix = QStringLiteral("%1_").arg(storage);
    for (const TTable &t : Tables())
        if (t.stream.startsWith(prefix))
            out.append(t.stream);
    return out;
}

bool TDefSchema::Create(TDataSet &table, const QString &stream)
{
    const TTable *t = Find(stream);
    if (!t)
        return false;
    table.Close();
    for (const TField &f : t->fields)
        table.AddField(f.name, f.type, f.size, f.required);
    for (const TIndexDef &d : t->indexes)
        table.AddIndex(d.name, d.fields, d.primary, d.unique);
    table.CreateDataSet();
    return true;
}

void TDefSchema::AddParameterLookups(TDataSet &parameter, const TDataSet *type)
{
    if (type)
        parameter.AddLookupField(QStringLiteral("LEVEL"), QStringLiteral("TYPE_ID"), type, QStringLiteral("ID"));
}

void TDefSchema::AddAmpParaLookups(TDataSet &ampPara, const TDataSet &parameter, const TDataSet *fraction,
                                   const TDataSet *help)
{
    static const QStringList fields = {
        QStringLiteral("CODE"), QStringLiteral("LENGTH"), QStringLiteral("DATAFORM"), QStringLiteral("PER_POWEROF10"),
        QStringLiteral("TABLE_ID"), QStringLiteral("SYMBOL"), QStringLiteral("NAME"), QStringLiteral("NAME_J"),
        QStringLiteral("NAME_E"), QStringLiteral("UNIT"), QStringLiteral("UNIT2"), QStringLiteral("UNIT3"),
        QStringLiteral("TYPE_ID"), QStringLiteral("HELP_ID"), QStringLiteral("FRACTION_ID"),
        QStringLiteral("BINARY_HIGH_ID"), QStringLiteral("BINARY_HIGH_NAME"), QStringLiteral("BINARY_HIGH_NAME_J"),
        QStringLiteral("BINARY_HIGH_NAME_E"), QStringLiteral("BINARY_LOW_ID"), QStringLiteral("BINARY_LOW_NAME"),
        QStringLiteral("BINARY_LOW_NAME_J"), QStringLiteral("BINARY_LOW_NAME_E"), QStringLiteral("LEVEL")};
    ampPara.AddLookupFields(fields, QStringLiteral("PARAMETER_ID"), &parameter, QStringLiteral("ID"));
    if (fraction)
        ampPara.AddLookupField(QStringLiteral("FRACTION_CODE"), QStringLiteral("FRACTION_ID"), fraction,
                               QStringLiteral("ID"), QStringLiteral("CODE"));
    if (help) {
        ampPara.AddLookupField(QStringLiteral("HELP_TEXT_J"), QStringLiteral("HELP_ID"), help, QStringLiteral("ID"),
                               QStringLiteral("TEXT_J"));
        ampPara.AddLookupField(QStringLiteral("HELP_TEXT_E"), QStringLiteral("HELP_ID"), help, QStringLiteral("ID"),
                               QStringLiteral("TEXT_E"));
    }
}
