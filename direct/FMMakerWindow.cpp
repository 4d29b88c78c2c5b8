#include "direct/FMMakerWindow.h"

#include "app/AppContext.h"
#include "app/Messenger.h"
#include "direct/FMHexEdit.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *Head(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

} // namespace

TFMMakerWindow::TFMMakerWindow(TAppContext &context, const QString &name, const QString &caption, QWidget *owner)
    : QDialog(owner), ctx(context), dm(context)
{
    setObjectName(name);
    setWindowTitle(caption);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::WindowMinimizeButtonHint);

    auto *top = new QVBoxLayout(this);
    grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    top->addLayout(grid);

    lblAxis = new QLabel(QStringLiteral("AXIS"), this);
    edtAxis = new TFMHexEdit(1, this);
    edtAxis->setObjectName(QStringLiteral("edtAxis"));
    edtAxis->setText(QStringLiteral("1"));
    btnConnect = new QPushButton(QStringLiteral("&CONNECT"), this);
    btnConnect->setObjectName(QStringLiteral("btnConnect"));
    grid->addWidget(lblAxis, 0, 0);
    grid->addWidget(edtAxis, 0, 1, Qt::AlignLeft);
    grid->addWidget(btnConnect, 0, 2, 1, 2);

    lblBase = new QLabel(QStringLiteral("Base Address"), this);
    edtAddress = new TFMHexEdit(5, this);
    edtAddress->setObjectName(QStringLiteral("edtAddress"));
    btnJump = new QPushButton(QStringLiteral("&JUMP"), this);
    btnJump->setObjectName(QStringLiteral("btnJump"));
    grid->addWidget(lblBase, 1, 0);
    grid->addWidget(edtAddress, 1, 1, Qt::AlignLeft);
    grid->addWidget(btnJump, 1, 2, 1, 2);

    lblData = Head(QStringLiteral("DATA"), this);
    lblAddressHead = Head(QStringLiteral("Address"), this);
    lblPresentHead = Head(QStringLiteral("Present\nsetting value"), this);
    grid->addWidget(lblData, 2, 1, 1, 3);
    grid->addWidget(lblAddressHead, 3, 0, Qt::AlignBottom | Qt::AlignHCenter);
    grid->addWidget(lblPresentHead, 3, 1, Qt::AlignBottom | Qt::AlignHCenter);

    for (int i = 0; i < 4; ++i) {
        auto *a = new QLabel(this);
        a->setObjectName(QStringLiteral("lblAddress%1").arg(i));
        a->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        a->setMinimumWidth(a->fontMetrics().horizontalAdvance(QStringLiteral("WWWWW =")));
        auto *p = new QLabel(this);
        p->setObjectName(QStringLiteral("pnlPresent%1").arg(i));
        p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        p->setAlignment(Qt::AlignCenter);
        p->setMinimumWidth(p->fontMetrics().horizontalAdvance(QStringLiteral("WWWWWW")));
        lblAddress[size_t(i)] = a;
        pnlPresent[size_t(i)] = p;
        grid->addWidget(a, FirstWordRow + i, 0);
        grid->addWidget(p, FirstWordRow + i, 1);
    }

    buttonRow = new QHBoxLayout;
    btnAddMinus2 = new QPushButton(QStringLiteral("Add -2"), this);
    btnAddMinus2->setObjectName(QStringLiteral("btnAddMinus2"));
    btnAddPlus2 = new QPushButton(QStringLiteral("Add +2"), this);
    btnAddPlus2->setObjectName(QStringLiteral("btnAddPlus2"));
    btnQuit = new QPushButton(QStringLiteral("&QUIT"), this);
    btnQuit->setObjectName(QStringLiteral("btnQuit"));
    buttonRow->addWidget(btnAddMinus2);
    buttonRow->addWidget(btnAddPlus2);
    buttonRow->addStretch(1);
    buttonRow->addWidget(btnQuit);
    top->addSpacing(6);
    top->addLayout(buttonRow);

    // No button is the default: Enter belongs to the boxes.
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setAutoDefault(false);

    connect(btnConnect, &QPushButton::clicked, this, &TFMMakerWindow::ConnectClicked);
    connect(edtAxis, &TFMHexEdit::enterPressed, this, &TFMMakerWindow::Connect);
    connect(btnJump, &QPushButton::clicked, this, &TFMMakerWindow::JumpFromBox);
    connect(edtAddress, &TFMHexEdit::enterPressed, this, &TFMMakerWindow::JumpFromBox);
    connect(btnAddMinus2, &QPushButton::clicked, this, [this] { JumpTo(qint64(base) - 2); });
    connect(btnAddPlus2, &QPushButton::clicked, this, [this] { JumpTo(qint64(base) + 2); });
    connect(btnQuit, &QPushButton::clicked, this, &QDialog::reject);
}

void TFMMakerWindow::SetState(TState s)
{
    state = s;
    const bool connected = s != stNotConnected, shown = s == stShown;
    lblAxis->setEnabled(!connected);
    edtAxis->setEnabled(!connected);
    btnConnect->setText(connected ? QStringLiteral("DIS&CONNECT") : QStringLiteral("&CONNECT"));
    for (QWidget *w : std::initializer_list<QWidget *>{lblBase, edtAddress, btnJump})
        w->setEnabled(connected);
    for (QWidget *w : std::initializer_list<QWidget *>{lblData, lblAddressHead, lblPresentHead})
        w->setEnabled(shown);
    if (!shown) {
        for (int i = 0; i < 4; ++i) {
            lblAddress[size_t(i)]->clear();
            pnlPresent[size_t(i)]->clear();
        }
        btnAddMinus2->setEnabled(false);
        btnAddPlus2->setEnabled(false);
    } else {
        btnAddMinus2->setEnabled(base > 0);
        btnAddPlus2->setEnabled(base < TDMMakerDirect::MaxBase);
    }
    if (s == stNotConnected) {
        axis = -1;
        edtAddress->setText(TDMMakerDirect::Hex(TDMMakerDirect::DefaultBase, 5));
    }
    StateChanged();
}

void TFMMakerWindow::ConnectClicked()
{
    if (state == stNotConnected)
        Connect();
    else
        Disconnect();
}

void TFMMakerWindow::Connect()
{
    if (state != stNotConnected)
        return;
    const std::optional<int> n = TDMMakerDirect::ParseAxis(edtAxis->text());
    if (!n)
        return;
    int32_t code = -1;
    if (!dm.Connect(*n, code)) {
        SetState(stNotConnected);
        return;
    }
    SetState(stConnected);
    axis = *n;
    edtAddress->setFocus();
}

void TFMMakerWindow::Disconnect()
{
    StopWork();
    SetState(stNotConnected);
    edtAxis->setFocus();
}

void TFMMakerWindow::JumpFromBox()
{
    const std::optional<uint32_t> a = TDMMakerDirect::ParseHex(edtAddress->text(), 8);
    JumpTo(a ? qint64(*a) : -1);
}

void TFMMakerWindow::JumpTo(qint64 a)
{
    if (state == stNotConnected)
        return;
    StopWork();
    if (a >= 0)
        a &= ~qint64(1);
    if (a < 0 || a > TDMMakerDirect::MaxBase) {
        TMessenger::Instance().Warning(a < 0 ? TDMMakerDirect::InvalidText(TDMMakerDirect::AddressField())
                                             : TDMMakerDirect::RangeText());
        SetState(stConnected);
        edtAddress->setFocus();
        return;
    }
    base = uint32_t(a);
    edtAddress->setText(TDMMakerDirect::Hex(base, 5));
    SetState(stShown);
    for (int i = 0; i < 4; ++i)
        lblAddress[size_t(i)]->setText(TDMMakerDirect::Hex(base + 2 * uint32_t(i), 5) + QStringLiteral(" ="));
    Jumped();
}

bool TFMMakerWindow::ReadPresent(TDMMakerDirect::TWords &words)
{
    if (dm.ReadWords(axis, base, words))
        return true;
    Lost();
    return false;
}

void TFMMakerWindow::ShowPresent(int i, uint16_t value)
{
    pnlPresent[size_t(i)]->setText(TDMMakerDirect::Hex(value, 4));
}

uint16_t TFMMakerWindow::PresentValue(int i) const
{
    const std::optional<uint32_t> v = TDMMakerDirect::ParseHex(pnlPresent[size_t(i)]->text(), 4);
    return v ? uint16_t(*v) : 0;
}

void TFMMakerWindow::Lost()
{
    StopWork();
    SetState(stNotConnected);
    edtAxis->setFocus();
}

void TFMMakerWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // Minimising the window takes the whole program out of the way.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && parentWidget())
        parentWidget()->window()->showMinimized();
}
