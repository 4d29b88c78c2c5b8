// tuvanta-cli trace against the simulator: one recording into a trace file
// and a plain CSV, and the usage errors.
#include "SimFixture.h"

#include "app/cli/Cli.h"
#include "trace/Trace.h"
#include "trace/TraceFile.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

class CliTrace : public TSimFixture
{
protected:
    void SetUp() override
    {
        TSimFixture::SetUp();
        engine.ClosePort(); // the command line opens the line itself
    }
    int Run(const QString &line, QString *errText = nullptr)
    {
        QStringList args = {QStringLiteral("--device"), dir.filePath("tty"), QStringLiteral("--baud"),
                            QStringLiteral("57600"), QStringLiteral("--db"), SampleDatabasePath()};
        for (const QString &a : line.split(u' ', Qt::SkipEmptyParts))
            args << (a.startsWith(u'@') ? dir.filePath(a.mid(1)) : a);
        QString o, e;
        QTextStream out(&o), err(&e);
        const int status = TCli(out, err).Run(args);
        err.flush();
        if (errText)
            *errText = e;
        return status;
    }
};

} // namespace

TEST_F(CliTrace, OneRecordingIntoAFileAndCsv)
{
    ASSERT_EQ(Control("trace 1 feed 1 ramp 0 2"), "");
    ASSERT_EQ(Run("trace 1 --mode 2 --sampling 2 --ch1 5 --trigger 1,0,100,50 -o @t.csv --csv @p.csv"), 0);
    TTrace t;
    QFile f(dir.filePath("t.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    ASSERT_TRUE(TTraceFile::Read(f.readAll(), t));
    EXPECT_EQ(t.Setting.Mode, 2);
    EXPECT_EQ(t.Setting.Sampling, 2);
    EXPECT_EQ(t.Setting.Analog[0], 5);
    EXPECT_EQ(t.Setting.Analog[1], 1); // left out: the model's second code
    EXPECT_EQ(t.TriggerNo, 256);
    EXPECT_EQ(t.Samples[256].analog[0], 100);
    QFile csv(dir.filePath("p.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_TRUE(csv.readLine().startsWith("t[ms],CH1 "));

    QString err;
    EXPECT_EQ(Run("trace 1 --mode 4 -o @x.csv", &err), TCli::ExitUsage);
    EXPECT_EQ(Run("trace 1", &err), TCli::ExitUsage);
    EXPECT_EQ(Run("trace 1 --trigger 9,0,0,0 -o @x.csv", &err), TCli::ExitUsage);
    EXPECT_EQ(Run("trace 4 -o @x.csv", &err), TCli::ExitRefused); // model C has no recorder
    EXPECT_FALSE(QFile::exists(dir.filePath("x.csv")));
}
