// The direct parameter and direct monitor windows against the simulator.
#include "DirectFixture.h"
#include "support/Keys.h"
#include "support/Shots.h"

#include "app/DMEnvironment.h"
#include "direct/DMMakerDirect.h"
#include "direct/FMHexEdit.h"
#include "direct/FMMakerMonitor.h"
#include "direct/FMMakerParameter.h"

#include <QLabel>
#include <QPushButton>

namespace {

const QString Question =
    QStringLiteral("The present setting value is changed.\r\nDoes it continue the writing of a parameter?");
const QString BadAxis = QStringLiteral("Invalid setting was inputted.\r\n( Communication axis specification )");
const QString BadAddress = QStringLiteral("Invalid setting was inputted.\r\n( Address specification )");
const QString BadValue = QStringLiteral("Invalid setting was inputted.\r\n( New setting value )");
const QString OutOfRange = QStringLiteral("The address is the outside of the range.");

TEST(MakerDirect, HexFieldsTakeOnlyWholeHexNumbers)
{
    struct TCase {
        const char *text;
        int digits;
        std::optional<uint32_t> value;
    } cases[] = {
        {"", 4, std::nullopt},       {"0", 4, 0u},          {"fc80", 4, 0xFC80u}, {"FFFF", 4, 0xFFFFu},
        {"10000", 4, std::nullopt},  {"12G4", 4, std::nullopt}, {" 12", 4, std::nullopt},
        {"-1", 4, std::nullopt},     {"FFFFF", 5, 0xFFFFFu}, {"F", 1, 0xFu},      {"10", 1, std::nullopt},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(TDMMakerDirect::ParseHex(QString::fromLatin1(c.text), c.digits), c.value) << c.text;
    EXPECT_EQ(TDMMakerDirect::Hex(0xFC800, 5), "FC800");
    EXPECT_EQ(TDMMakerDirect::Hex(0xa, 4), "000A");
}

class MakerParameter : public TDirectFixture
{
protected:
    void SetUp() override
    {
        TDirectFixture::SetUp();
        w = std::make_unique<TFMMakerParameter>(*ctx);
        w->show();
    }
    void TearDown() override
    {
        w.reset();
        TDirectFixture::TearDown();
    }
    void ConnectAndJump(int axis, const QString &address)
    {
        w->edtAxis->setText(QString::number(axis, 16));
        w->btnConnect->click();
        ASSERT_EQ(w->State(), TFMMakerWindow::stConnected);
        w->edtAddress->setText(address);
        PressEnter(w->edtAddress);
    }
    QString Panel(int i) const { return w->pnlPresent[size_t(i)]->text(); }

    std::unique_ptr<TFMMakerParameter> w;
};

TEST_F(MakerParameter, ShowsFourWordsOfMemoryLowByteFirst)
{
    EXPECT_EQ(w->State(), TFMMakerWindow::stNotConnected);
    EXPECT_EQ(w->edtAxis->text(), "1");
    EXPECT_EQ(w->edtAddress->text(), "FC800");
    EXPECT_FALSE(w->edtAddress->isEnabled());
    Poke(1, 0xF8100, QByteArray::fromHex("1122334455667788"));
    // An odd address is shown from the even one below it.
    ConnectAndJump(1, "F8101");
    ASSERT_EQ(w->State(), TFMMakerWindow::stShown);
    EXPECT_FALSE(w->edtAxis->isEnabled());
    EXPECT_EQ(w->btnConnect->text(), "DIS&CONNECT");
    EXPECT_EQ(w->edtAddress->text(), "F8100");
    const QStringList expected{"2211", "4433", "6655", "8877"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Panel(i), expected[i]);
        EXPECT_EQ(w->edtNew[size_t(i)]->text(), expected[i]);
        EXPECT_EQ(w->lblAddress[size_t(i)]->text(), TDMMakerDirect::Hex(0xF8100 + 2 * i, 5) + " =");
    }
    EXPECT_EQ(env->AmpCode(1), CodeA);
    EXPECT_TRUE(messages.entries.isEmpty());
    Shot(w.get(), QStringLiteral("maker_parameter"));

    // Disconnecting sends nothing and clears the words.
    ClearLog(1);
    w->btnConnect->click();
    EXPECT_EQ(w->State(), TFMMakerWindow::stNotConnected);
    EXPECT_TRUE(Panel(0).isEmpty());
    EXPECT_TRUE(w->edtNew[0]->text().isEmpty());
    EXPECT_EQ(w->edtAddress->text(), "FC800");
    EXPECT_TRUE(w->edtAxis->isEnabled());
    EXPECT_TRUE(Log(1).isEmpty());
}

TEST_F(MakerParameter, SetWritesExactlyTheTwoBytesOfItsWord)
{
    Poke(1, 0xF8100, QByteArray::fromHex("1122334455667788"));
    ConnectAndJump(1, "F8100");
    ClearLog(1);
    w->edtNew[1]->setText("a1b2");
    PressEnter(w->edtNew[1]);
    EXPECT_EQ(Peek(1, 0xF80FE, 12).toHex().toUpper(), "0000" "1122B2A155667788" "0000");
    EXPECT_EQ(Writes(1), QStringList{"PF8102A1B2"});
    EXPECT_EQ(Panel(1), "A1B2");
    EXPECT_EQ(w->edtNew[1]->text(), "A1B2");
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(MakerParameter, AWordChangedMeanwhileAsksBeforeWriting)
{
    Poke(1, 0xF8100, QByteArray::fromHex("1122334455667788"));
    ConnectAndJump(1, "F8100");
    Poke(1, 0xF8104, QByteArray::fromHex("CDAB"));
    Poke(1, 0xF8100, QByteArray::fromHex("EEFF"));
    ClearLog(1);
    w->edtNew[2]->setText("0001");
    messages.Script({TMsgAnswer::No});
    w->btnSet[2]->click();
    ASSERT_EQ(messages.Texts(), QStringList{Question});
    EXPECT_EQ(messages.entries[0].buttons, TMsgButtons::YesNoCancel);
    EXPECT_TRUE(Writes(1).isEmpty());
    EXPECT_EQ(Panel(2), "ABCD"); // No: the fresh value
    EXPECT_EQ(Panel(0), "FFEE"); // the other words are fresh in any case

    messages.Clear();
    Poke(1, 0xF8104, QByteArray::fromHex("0000"));
    messages.Script({TMsgAnswer::Cancel});
    w->btnSet[2]->click();
    EXPECT_EQ(messages.Texts(), QStringList{Question});
    EXPECT_TRUE(Writes(1).isEmpty());
    EXPECT_EQ(Panel(2), "ABCD"); // Cancel changes nothing

    messages.Clear();
    messages.Script({TMsgAnswer::Yes});
    w->btnSet[2]->click();
    EXPECT_EQ(Writes(1), QStringList{"PF81040001"});
    EXPECT_EQ(Panel(2), "0001");
    EXPECT_EQ(PeekValue(1, 0xF8104, 2), 0x0001u);
}

TEST_F(MakerParameter, BadInputIsRefusedAndNothingIsSent)
{
    // Axis box empty.
    w->edtAxis->clear();
    w->btnConnect->click();
    EXPECT_EQ(messages.Texts(), QStringList{BadAxis});
    EXPECT_EQ(w->State(), TFMMakerWindow::stNotConnected);
    EXPECT_TRUE(Log(1).isEmpty());

    ConnectAndJump(1, "F8100");
    ASSERT_EQ(w->State(), TFMMakerWindow::stShown);
    const QByteArray before = Peek(1, 0xF8100, 8);
    ClearLog(1);
    struct TCase {
        const char *address;
        int word;
        const char *value; // null: ALL SET with an empty last box
        QString message;
        TFMMakerWindow::TState after;
    } cases[] = {
        {"F8100", 0, "", BadValue, TFMMakerWindow::stShown},
        {"F8100", 3, "12G4", BadValue, TFMMakerWindow::stShown},
        {"F8100", 3, nullptr, BadValue, TFMMakerWindow::stShown},
        {"", -1, "", BadAddress, TFMMakerWindow::stConnected},
        {"FFFFF", -1, "", OutOfRange, TFMMakerWindow::stConnected},
        {"F8-00", -1, "", BadAddress, TFMMakerWindow::stConnected},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(std::string(c.address) + " / " + (c.value ? c.value : "all"));
        messages.Clear();
        w->JumpTo(0xF8100);
        ASSERT_EQ(w->State(), TFMMakerWindow::stShown);
        ClearLog(1);
        if (c.word < 0) {
            w->edtAddress->setText(QString::fromLatin1(c.address));
            w->btnJump->click();
        } else if (!c.value) {
            w->edtNew[3]->clear();
            w->btnAllSet->click();
        } else {
            w->edtNew[size_t(c.word)]->setText(QString::fromLatin1(c.value));
            w->btnSet[size_t(c.word)]->click();
        }
        EXPECT_EQ(messages.Texts(), QStringList{c.message});
        EXPECT_EQ(w->State(), c.after);
        EXPECT_TRUE(Writes(1).isEmpty()) << Writes(1).join(' ').toStdString();
        if (c.after == TFMMakerWindow::stConnected) {
            EXPECT_TRUE(Panel(0).isEmpty());
        }
    }
    EXPECT_EQ(Peek(1, 0xF8100, 8), before);

    // The module refuses what the boxes cannot hold, before the line.
    messages.Clear();
    ClearLog(1);
    EXPECT_EQ(w->Module().WriteWord(1, 0xF8101, 1), TDMMakerDirect::TWrite::Refused);
    EXPECT_EQ(w->Module().WriteWord(1, 0xFFFFF, 1), TDMMakerDirect::TWrite::Refused);
    EXPECT_EQ(w->Module().WriteWord(1, 0x100000, 1), TDMMakerDirect::TWrite::Refused);
    EXPECT_EQ(w->Module().WriteWord(1, 0xF8100, 0x10000), TDMMakerDirect::TWrite::Refused);
    TDMMakerDirect::TWords words{};
    EXPECT_FALSE(w->Module().ReadWords(1, 0xFFFFA, words));
    EXPECT_EQ(messages.Texts(), (QStringList{BadAddress, OutOfRange, OutOfRange, BadValue, OutOfRange}));
    EXPECT_TRUE(Log(1).isEmpty());
    EXPECT_EQ(env->AmpCode(1), CodeA);
}

TEST_F(MakerParameter, AddressLimitsAndNavigation)
{
    ConnectAndJump(1, "FFFF8");
    ASSERT_EQ(w->State(), TFMMakerWindow::stShown);
    EXPECT_TRUE(w->btnAddMinus2->isEnabled());
    EXPECT_FALSE(w->btnAddPlus2->isEnabled());
    w->btnAddMinus2->click();
    EXPECT_EQ(w->Base(), 0xFFFF6u);
    EXPECT_EQ(w->edtAddress->text(), "FFFF6");
    w->JumpTo(0);
    EXPECT_FALSE(w->btnAddMinus2->isEnabled());
    EXPECT_TRUE(w->btnAddPlus2->isEnabled());
    w->btnAddPlus2->click();
    EXPECT_EQ(w->lblAddress[0]->text(), "00002 =");

    // ALL SET writes the four words in order and moves on by eight.
    Poke(1, 0xF8200, QByteArray(16, 0));
    w->JumpTo(0xF8200);
    ClearLog(1);
    const QStringList values{"0102", "0304", "0506", "0708"};
    for (int i = 0; i < 4; ++i)
        w->edtNew[size_t(i)]->setText(values[i]);
    w->btnAllSet->click();
    EXPECT_EQ(Writes(1), (QStringList{"PF82000102", "PF82020304", "PF82040506", "PF82060708"}));
    EXPECT_EQ(Peek(1, 0xF8200, 8).toHex().toUpper(), "0201040306050807");
    EXPECT_EQ(w->Base(), 0xF8208u);
    EXPECT_TRUE(messages.entries.isEmpty());
    // ... but not beyond the last base.
    w->JumpTo(0xFFFF6);
    w->btnAllSet->click();
    EXPECT_EQ(w->Base(), 0xFFFF8u);
    // Refresh reads the base again.
    Poke(1, 0xFFFF8, QByteArray::fromHex("3412"));
    w->btnRefresh->click();
    EXPECT_EQ(Panel(0), "1234");
}

TEST_F(MakerParameter, AFailedExchangeReportsAndMarksTheAxis)
{
    ConnectAndJump(1, "F8100");
    Control("fault 1 silent");
    // A pulled cable hides the transaction layer's warnings; these windows
    // report their own failures whatever the cable says.
    w->btnRefresh->click();
    EXPECT_EQ(messages.Texts(), QStringList{"通信タイムアウト。（軸番号[#1]）"});
    EXPECT_EQ(w->State(), TFMMakerWindow::stNotConnected);
    EXPECT_EQ(env->AmpCode(1), -1);
    EXPECT_TRUE(w->edtAxis->isEnabled());

    messages.Clear();
    w->btnConnect->click();
    EXPECT_EQ(messages.Texts(), QStringList{"通信タイムアウト。（軸番号[#1]）"});
    EXPECT_EQ(w->State(), TFMMakerWindow::stNotConnected);

    // A NAK on the set's fresh read: the message for that result.
    Control("fault 1 none");
    messages.Clear();
    ConnectAndJump(2, "F8100");
    Control("fault 2 nak");
    w->btnSet[0]->click();
    EXPECT_EQ(messages.Texts(), QStringList{"軸番号が重複しています。（軸番号[#2]）"});
    EXPECT_EQ(w->State(), TFMMakerWindow::stNotConnected);
    EXPECT_EQ(env->AmpCode(2), -1);
}

TEST_F(MakerParameter, AxisZeroUsesTheLineAddressAndRecordsNoCode)
{
    Control("axis0 3");
    env->SetAmpCode(3, -1);
    Poke(3, 0xF8100, QByteArray::fromHex("7856"));
    ConnectAndJump(0, "F8100");
    ASSERT_EQ(w->State(), TFMMakerWindow::stShown);
    EXPECT_EQ(w->Axis(), 0);
    EXPECT_EQ(Panel(0), "5678");
    EXPECT_EQ(env->AmpCode(3), -1);
    w->edtNew[0]->setText("1234");
    w->btnSet[0]->click();
    EXPECT_EQ(PeekValue(3, 0xF8100, 2), 0x1234u);
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(MakerParameter, BoxesTakeHexDigitsInCapitalsAndStepWithTheArrows)
{
    ConnectAndJump(1, "F8100");
    TFMHexEdit *e = w->edtNew[1];
    e->setFocus();
    e->clear();
    TypeText(e, "a-z9fG");
    EXPECT_EQ(e->text(), "A9F");
    TypeText(e, "12");
    EXPECT_EQ(e->text(), "A9F1"); // four digits at most
    w->edtNew[0]->setFocus();
    PressKey(w->edtNew[0], Qt::Key_Up);
    EXPECT_TRUE(w->edtNew[0]->hasFocus());
    PressKey(w->edtNew[0], Qt::Key_Down);
    EXPECT_TRUE(w->edtNew[1]->hasFocus());
    w->edtNew[3]->setFocus();
    PressKey(w->edtNew[3], Qt::Key_Down);
    EXPECT_TRUE(w->edtNew[3]->hasFocus());
}

class MakerMonitor : public TDirectFixture
{
};

TEST_F(MakerMonitor, RefreshesAWordTheAmplifierChanges)
{
    TFMMakerMonitor w(*ctx);
    w.show();
    EXPECT_EQ(w.tmrReadParam.interval(), 300);
    w.edtAxis->setText("2");
    PressEnter(w.edtAxis);
    ASSERT_EQ(w.State(), TFMMakerWindow::stConnected);
    Poke(2, 0xF8300, QByteArray::fromHex("0100020003000400"));
    w.edtAddress->setText("F8300");
    w.btnJump->click();
    ASSERT_TRUE(w.Polling());
    ASSERT_TRUE(WaitUntil([&] { return w.pnlPresent[3]->text() == "0004"; }));
    Poke(2, 0xF8302, QByteArray::fromHex("EFBE"));
    ASSERT_TRUE(WaitUntil([&] { return w.pnlPresent[1]->text() == "BEEF"; }));
    Shot(&w, QStringLiteral("maker_monitor"));

    w.btnAddPlus8->click();
    EXPECT_EQ(w.Base(), 0xF8308u);
    w.JumpTo(0xFFFF8);
    EXPECT_FALSE(w.btnAddPlus8->isEnabled());

    // Disconnect stops the polling: nothing more reaches the axis.
    w.btnConnect->click();
    EXPECT_FALSE(w.Polling());
    ClearLog(2);
    QElapsedTimer t;
    t.start();
    WaitUntil([&] { return t.elapsed() > 700; });
    EXPECT_TRUE(Log(2).isEmpty());
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(MakerMonitor, AFailedReadStopsThePolling)
{
    TFMMakerMonitor w(*ctx);
    w.show();
    w.btnConnect->click();
    w.JumpTo(0xF8000);
    ASSERT_TRUE(WaitUntil([&] { return !w.pnlPresent[0]->text().isEmpty(); }));
    Control("fault 1 badcheck");
    ASSERT_TRUE(WaitUntil([&] { return !messages.entries.isEmpty(); }, 10000));
    EXPECT_EQ(messages.Texts(), QStringList{"通信異常です。（軸番号[#1]）"});
    EXPECT_EQ(w.State(), TFMMakerWindow::stNotConnected);
    EXPECT_FALSE(w.Polling());
    EXPECT_FALSE(w.tmrReadParam.isActive());
    EXPECT_EQ(env->AmpCode(1), -1);
}

} // namespace
