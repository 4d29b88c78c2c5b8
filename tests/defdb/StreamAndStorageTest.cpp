// Table streams and storage files: round trips, malformed streams, and the
// failure rules of opening the four storages.
#include "DefdbTestSupport.h"
#include "defdb/DataSet.h"
#include "defdb/DataSetStream.h"
#include "defdb/DefSchema.h"
#include "defdb/StgManager.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

void MakeTable(TDataSet &t)
{
    t.AddField(QStringLiteral("ID"), TFieldType::AutoInc);
    t.AddField(QStringLiteral("CODE"), TFieldType::Integer, 0, true);
    t.AddField(QStringLiteral("LENGTH"), TFieldType::SmallInt);
    t.AddField(QStringLiteral("BASE"), TFieldType::Float);
    t.AddField(QStringLiteral("NAME_J"), TFieldType::Text, 8);
    t.AddField(QStringLiteral("NAME_E"), TFieldType::Text, 8);
    t.AddField(QStringLiteral("TEXT"), TFieldType::Memo, 0);
    t.AddIndex(QStringLiteral("INDEX_ID"), QStringLiteral("ID"), true, true);
    t.AddIndex(QStringLiteral("INDEX_CODE"), QStringLiteral("CODE"), false, true);
    t.CreateDataSet();
    const int a = t.AppendRow();
    t.SetRowValue(a, QStringLiteral("CODE"), -2147483647 - 1);
    t.SetRowValue(a, QStringLiteral("LENGTH"), -32768);
    t.SetRowValue(a, QStringLiteral("BASE"), 0.0625);
    t.SetRowValue(a, QStringLiteral("NAME_J"), QStringLiteral("速度ループ"));
    t.SetRowValue(a, QStringLiteral("NAME_E"), QString());
    t.SetRowValue(a, QStringLiteral("TEXT"), QStringLiteral("行1\r\n行2"));
    const int b = t.AppendRow();
    t.SetRowValue(b, QStringLiteral("CODE"), 7);
}

TEST(TableStream, RoundTripKeepsTypesNullsTextsAndIndexes)
{
    TDataSet t, back;
    MakeTable(t);
    const QByteArray bytes = t.SaveToBytes();
    back.SetIndexName(QStringLiteral("INDEX_CODE")); // chosen before loading
    QString error;
    ASSERT_TRUE(back.LoadFromBytes(bytes, &error)) << error.toStdString();
    ASSERT_EQ(back.AllRowCount(), 2);
    EXPECT_EQ(back.FieldDef(back.FieldIndex(QStringLiteral("CODE"))).required, true);
    EXPECT_EQ(back.FieldDef(back.FieldIndex(QStringLiteral("NAME_J"))).size, 8);
    EXPECT_EQ(back.RowValue(0, QStringLiteral("ID")).AsInteger(), 1);
    EXPECT_EQ(back.RowValue(0, QStringLiteral("CODE")).AsInt64(), -2147483648LL);
    EXPECT_EQ(back.RowValue(0, QStringLiteral("LENGTH")).AsInteger(), -32768);
    EXPECT_DOUBLE_EQ(back.RowValue(0, QStringLiteral("BASE")).AsFloat(), 0.0625);
    EXPECT_EQ(back.RowValue(0, QStringLiteral("TEXT")).AsString(), QStringLiteral("行1\r\n行2"));
    // An empty text stays an empty text, a null stays null.
    EXPECT_TRUE(back.RowValue(0, QStringLiteral("NAME_E")).IsText());
    EXPECT_TRUE(back.RowValue(1, QStringLiteral("NAME_E")).IsNull());
    EXPECT_TRUE(back.RowValue(1, QStringLiteral("BASE")).IsNull());
    EXPECT_EQ(back.IndexDefs().size(), 2u);
    EXPECT_EQ(back.IndexName(), QStringLiteral("INDEX_CODE"));
    back.First();
    EXPECT_EQ(back.Field(QStringLiteral("CODE")).AsInt64(), -2147483648LL);
    // The calculated NAME is no stored field.
    EXPECT_EQ(back.SaveToBytes(), bytes);
}

TEST(TableStream, EveryTruncationIsRefused)
{
    TDataSet t;
    MakeTable(t);
    const QByteArray bytes = t.SaveToBytes();
    for (int n = 0; n < bytes.size(); ++n) {
        TDataSet back;
        QString error;
        EXPECT_FALSE(back.LoadFromBytes(bytes.left(n), &error)) << n;
        EXPECT_FALSE(error.isEmpty());
    }
}

struct TCorruption {
    const char *what;
    int offset; // byte to overwrite (negative: from the end)
    QByteArray bytes;
};

TEST(TableStream, MalformedStreamsAreRefusedAndLeaveTheTable)
{
    TDataSet t;
    MakeTable(t);
    const QByteArray good = t.SaveToBytes();
    // Layout: magic(4) version(2) count(2) then field "ID": len(1) "ID"(2) type(1) size(4) flags(1)
    const int firstType = 4 + 2 + 2 + 1 + 2;
    const int rowCountAt = good.indexOf(QByteArrayLiteral("INDEX_CODE")) + 10 + 2 + 4 + 1;
    const TCorruption cases[] = {
        {"magic", 0, "X"},
        {"version", 4, QByteArray("\x02", 1)},
        {"no fields", 6, QByteArray("\x00\x00", 2)},
        {"unknown type", firstType, QByteArray("\x09", 1)},
        {"size on an integer", firstType + 1, QByteArray("\x05", 1)},
        {"unknown flags", firstType + 5, QByteArray("\x80", 1)},
        {"bad name character", 4 + 2 + 2 + 1, "-"},
        {"row count beyond the bytes", rowCountAt, QByteArray("\xFF\xFF\xFF\x7F", 4)},
        {"required field null", rowCountAt + 4, QByteArray("\x02", 1)},
        {"null mark past the fields", rowCountAt + 4, QByteArray("\x80", 1)},
    };
    for (const TCorruption &c : cases) {
        QByteArray bad = good;
        bad.replace(c.offset < 0 ? bad.size() + c.offset : c.offset, c.bytes.size(), c.bytes);
        TDataSet target;
        MakeTable(target);
        QString error;
        EXPECT_FALSE(target.LoadFromBytes(bad, &error)) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
        EXPECT_EQ(target.AllRowCount(), 2) << c.what;
    }
    QString error;
    TDataSet target;
    EXPECT_FALSE(target.LoadFromBytes(good + "x", &error));
    EXPECT_TRUE(error.contains(QLatin1String("after the last row")));
}

TEST(TableStream, TextLongerThanItsFieldIsRefused)
{
    TDataSet t;
    t.AddField(QStringLiteral("NAME"), TFieldType::Text, 3);
    t.CreateDataSet();
    t.SetRowValue(t.AppendRow(), 0, QStringLiteral("abcd")); // the engine does not cut
    TDataSet back;
    QString error;
    EXPECT_FALSE(back.LoadFromBytes(t.SaveToBytes(), &error));
    EXPECT_TRUE(error.contains(QLatin1String("more than 3"))) << error.toStdString();
}

// --- Storage files ---------------------------------------------------------

class Storages : public ::testing::Test
{
protected:
    QString Path(const QString &name) const { return dir.filePath(name); }
    // Writes defs.ad0 .. defs.ad3 with the given streams in "cds".
    void WriteAll(const QString &base = QStringLiteral("defs.ad0"))
    {
        TDataSet amp;
        TDefSchema::Create(amp, QStringLiteral("0_AMPLIFIER.cds"));
        const int r = amp.AppendRow();
        amp.SetRowValue(r, QStringLiteral("CODE"), CodeA);
        amp.SetRowValue(r, QStringLiteral("GROUP_ID"), 1);
        for (int n = 0; n < 4; ++n) {
            QList<TStgWriter::TStream> streams;
            if (n == 0)
                streams = {{QStringLiteral("0_AMPLIFIER.cds"), amp.SaveToBytes()},
                           {QStringLiteral("0_VERSION.cds"), QByteArrayLiteral("not a table")}};
            QString error;
            ASSERT_TRUE(TStgWriter::Write(TDMInterface::StoragePath(Path(base), n), streams, &error)) << error.toStdString();
        }
    }
    QTemporaryDir dir;
};

TEST_F(Storages, NamesFollowTheFirstStorage)
{
    EXPECT_EQ(TDMInterface::StoragePath(QStringLiteral("/p/defs.ad0"), 0), QStringLiteral("/p/defs.ad0"));
    EXPECT_EQ(TDMInterface::StoragePath(QStringLiteral("/p/defs.ad0"), 3), QStringLiteral("/p/defs.ad3"));
    EXPECT_EQ(TDMInterface::StoragePath(QStringLiteral("/p.x/defs"), 1), QStringLiteral("/p.x/defs.ad1"));
    EXPECT_EQ(TDMInterface::BasePath(QStringLiteral("/p"), QStringLiteral("defs.ad0")), QStringLiteral("/p/defs.ad0"));
    EXPECT_EQ(TDMInterface::BasePath(QStringLiteral("/p"), QString()), QStringLiteral("/p"));
}

TEST_F(Storages, OpenAndLoadWithTheFailureRules)
{
    WriteAll();
    TDMInterface intf(Path(QStringLiteral("defs.ad0")));
    ASSERT_FALSE(intf.DatabaseBroken()) << intf.BrokenReason().toStdString();
    EXPECT_EQ(TDMInterface::Instance(), &intf);

    TDataSet table;
    ASSERT_TRUE(intf.LoadTable(table, QStringLiteral("0_AMPLIFIER.cds")));
    EXPECT_EQ(table.AllRowCount(), 1);
    // Refused without touching a storage: the table stays as it was.
    for (const char *name : {"4_X.cds", "x_AMPLIFIER.cds", "0", "", "0_NOTHERE.cds", "1_AMP_PARA.cds"}) {
        EXPECT_FALSE(intf.LoadTable(table, QString::fromLatin1(name))) << name;
        EXPECT_EQ(table.AllRowCount(), 1) << name;
    }
    // A foreign stream content: refused with a diagnostic, table unchanged.
    EXPECT_FALSE(intf.LoadTable(table, QStringLiteral("0_VERSION.cds")));
    EXPECT_TRUE(table.Active());
    EXPECT_EQ(table.AllRowCount(), 1);
    // Stream names ignore letter case, as compound files do.
    EXPECT_TRUE(intf.LoadTable(table, QStringLiteral("0_amplifier.CDS")));
}

TEST_F(Storages, BrokenDatabases)
{
    WriteAll();
    struct TCase {
        const char *what;
        std::function<void()> spoil;
        const char *base;
    };
    const QString ad2 = Path(QStringLiteral("defs.ad2"));
    const std::vector<TCase> cases = {
        {"missing storage 2", [&] { QFile::remove(ad2); }, "defs.ad0"},
        {"storage 2 is no compound file", [&] { WriteFile(ad2, "plain text, not a compound file"); }, "defs.ad0"},
        {"storage 2 is empty", [&] { WriteFile(ad2, QByteArray()); }, "defs.ad0"},
        {"storage 2 without cds", [&] { TStgWriter::Write(ad2, {{QStringLiteral("x"), "y"}}, nullptr, QString()); }, "defs.ad0"},
        {"cds is a stream", [&] { TStgWriter::Write(ad2, {{QStringLiteral("cds"), "y"}}, nullptr, QString()); }, "defs.ad0"},
        {"empty name: the folder itself", [] {}, ""},
        {"other name", [] {}, "other.ad0"},
    };
    for (const TCase &c : cases) {
        WriteAll();
        QFile::setPermissions(ad2, QFile::ReadOwner | QFile::WriteOwner);
        c.spoil();
        TDMInterface intf(TDMInterface::BasePath(dir.path(), QString::fromLatin1(c.base)));
        EXPECT_TRUE(intf.DatabaseBroken()) << c.what;
        EXPECT_FALSE(intf.BrokenReason().isEmpty()) << c.what;
        TDataSet table;
        EXPECT_FALSE(intf.LoadTable(table, QStringLiteral("3_MODEL.cds"))) << c.what;
    }
}

// An installed copy: storages the user may not write are read and held with
// a shared lock, so every user of the installation can run, while a program
// that holds them exclusively still keeps the others out.
TEST_F(Storages, ReadOnlyStoragesOpenSharedUnlessHeldExclusively)
{
    if (::geteuid() == 0) {
        // The superuser opens read-only files for writing anyway, and the
        // suite usually runs as root: run this case again as an unprivileged
        // user, so that it is really exercised.
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), QStringLiteral("/tmp"));
        environment.insert(QStringLiteral("HOME"), QStringLiteral("/tmp"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QStringLiteral("setpriv"),
                    {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                     QStringLiteral("--"), QFile::symLinkTarget(QStringLiteral("/proc/self/exe")),
                     QStringLiteral("--gtest_filter=Storages.ReadOnlyStoragesOpenSharedUnlessHeldExclusively")});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(child.readAll());
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains(QLatin1String("[  PASSED  ] 1 test"))) << output.toStdString();
        return;
    }
    WriteAll();
    const QString ad2 = Path(QStringLiteral("defs.ad2"));
    QFile::setPermissions(ad2, QFile::ReadOwner);
    {
        TDMInterface first(Path(QStringLiteral("defs.ad0")));
        ASSERT_FALSE(first.DatabaseBroken()) << first.BrokenReason().toStdString();
        // Storage 0 is writable and held exclusively by the first.
        TDMInterface second(Path(QStringLiteral("defs.ad0")));
        EXPECT_TRUE(second.DatabaseBroken());
    }
    // With every storage read-only, two holders share them.
    for (const char *ext : {"ad0", "ad1", "ad3"})
        QFile::setPermissions(Path(QStringLiteral("defs.") + QLatin1String(ext)), QFile::ReadOwner);
    TDMInterface first(Path(QStringLiteral("defs.ad0")));
    TDMInterface second(Path(QStringLiteral("defs.ad0")));
    EXPECT_FALSE(first.DatabaseBroken()) << first.BrokenReason().toStdString();
    EXPECT_FALSE(second.DatabaseBroken()) << second.BrokenReason().toStdString();
    for (const char *ext : {"ad0", "ad1", "ad2", "ad3"})
        QFile::setPermissions(Path(QStringLiteral("defs.") + QLatin1String(ext)), QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(Storages, ExclusiveOpenLocksOutASecondHolderButNotAReader)
{
    WriteAll();
    auto first = std::make_unique<TDMInterface>(Path(QStringLiteral("defs.ad0")));
    ASSERT_FALSE(first->DatabaseBroken());
    {
        TDMInterface second(Path(QStringLiteral("defs.ad0")));
        EXPECT_TRUE(second.DatabaseBroken());
        EXPECT_TRUE(second.BrokenReason().contains(QLatin1String("in use"))) << second.BrokenReason().toStdString();
        TDMInterface reader(Path(QStringLiteral("defs.ad0")), TStgManager::TAccess::Shared);
        EXPECT_FALSE(reader.DatabaseBroken());
        TDataSet t;
        EXPECT_TRUE(reader.LoadTable(t, QStringLiteral("0_AMPLIFIER.cds")));
    }
    first.reset(); // closing releases the lock
    TDMInterface third(Path(QStringLiteral("defs.ad0")));
    EXPECT_FALSE(third.DatabaseBroken());
}

TEST_F(Storages, StreamsAreFoundBelowButLoadedOnlyFromCds)
{
    TDataSet amp;
    TDefSchema::Create(amp, QStringLiteral("0_AMPLIFIER.cds"));
    const QString file = Path(QStringLiteral("nested.ad0"));
    // Storage 0 keeps its AMPLIFIER only in a storage below "cds".
    ASSERT_TRUE(TStgWriter::Write(file, {{QStringLiteral("0_AMPLIFIER.cds"), amp.SaveToBytes()}}, nullptr,
                                  QStringLiteral("cds\\old")));
    for (int n = 1; n < 4; ++n)
        ASSERT_TRUE(TStgWriter::Write(TDMInterface::StoragePath(file, n), {}));

    TStgManager stg;
    ASSERT_TRUE(stg.OpenRoot(file, TStgManager::TAccess::Shared));
    EXPECT_EQ(stg.StorageNames(), QStringList{QStringLiteral("cds")});
    EXPECT_FALSE(stg.OpenStorage(QStringLiteral("\\nothere")));
    EXPECT_EQ(stg.FindStreams(QStringLiteral("0_amplifier.cds")), QStringList{QStringLiteral("cds\\old\\0_AMPLIFIER.cds")});
    ASSERT_TRUE(stg.OpenStorage(QStringLiteral("\\cds")));
    EXPECT_FALSE(stg.OpenStream(QStringLiteral("0_AMPLIFIER.cds")));
    EXPECT_FALSE(stg.OpenStream(QStringLiteral("old"))); // a storage is no stream
    ASSERT_TRUE(stg.OpenStorage(QStringLiteral("old")));
    ASSERT_TRUE(stg.OpenStream(QStringLiteral("0_AMPLIFIER.cds")));
    QByteArray content;
    ASSERT_TRUE(stg.ReadStream(content));
    EXPECT_EQ(content, amp.SaveToBytes());
    stg.CloseStorage();
    EXPECT_FALSE(stg.StreamOpen());
    EXPECT_EQ(stg.StorageNames(), QStringList{QStringLiteral("cds")});
    stg.CloseRoot();
    EXPECT_FALSE(stg.RootOpen());
    EXPECT_FALSE(stg.OpenStorage(QStringLiteral("\\cds")));

    TDMInterface intf(file, TStgManager::TAccess::Shared);
    ASSERT_FALSE(intf.DatabaseBroken());
    TDataSet table;
    EXPECT_FALSE(intf.LoadTable(table, QStringLiteral("0_AMPLIFIER.cds")));
    EXPECT_FALSE(table.Active());
}

} // namespace
