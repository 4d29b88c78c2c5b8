#include "direct/FMMakerParameter.h"

#include "app/Busy.h"
#include "app/Messenger.h"
#include "direct/FMHexEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TFMMakerParameter::TFMMakerParameter(TAppContext &context, QWidget *owner)
    : TFMMakerWindow(context, QStringLiteral("FMMakerParameter"),
                     QStringLiteral("Maker Parameter Setting Mode ( EEPROM Write )"), owner)
{
    auto *head = new QVBoxLayout;
    head->setSpacing(0);
    lblNew = new QLabel(QStringLiteral("New"), this);
    lblSetting = new QLabel(QStringLiteral("setting"), this);
    lblValue = new QLabel(QStringLiteral("value"), this);
    for (QLabel *l : {lblNew, lblSetting, lblValue}) {
        l->setAlignment(Qt::AlignCenter);
        head->addWidget(l);
    }
    grid->addLayout(head, 3, 2, Qt::AlignBottom);

    for (int i = 0; i < 4; ++i) {
        auto *e = new TFMHexEdit(4, this);
        e->setObjectName(QStringLiteral("edtNew%1").arg(i));
        auto *b = new QPushButton(QStringLiteral("SET"), this);
        b->setObjectName(QStringLiteral("btnSet%1").arg(i));
        b->setAutoDefault(false);
        edtNew[size_t(i)] = e;
        btnSet[size_t(i)] = b;
        grid->addWidget(e, FirstWordRow + i, 2);
        grid->addWidget(b, FirstWordRow + i, 3);
        connect(b, &QPushButton::clicked, this, [this, i] { SetWord(i); });
        connect(e, &TFMHexEdit::enterPressed, this, [this, i] { SetWord(i); });
        connect(e, &TFMHexEdit::stepFocus, this, [this, i](int d) {
            const int to = i + d;
            if (to >= 0 && to < 4)
                edtNew[size_t(to)]->setFocus();
        });
    }

    btnAllSet = new QPushButton(QStringLiteral("&ALL SET\r\n&& Add +8"), this);
    btnAllSet->setObjectName(QStringLiteral("btnAllSet"));
    btnRefresh = new QPushButton(QStringLiteral("&Refresh"), this);
    btnRefresh->setObjectName(QStringLiteral("btnRefresh"));
    for (QPushButton *b : {btnAllSet, btnRefresh})
        b->setAutoDefault(false);
    buttonRow->insertWidget(2, btnAllSet);
    buttonRow->insertWidget(3, btnRefresh);
    connect(btnAllSet, &QPushButton::clicked, this, &TFMMakerParameter::SetAll);
    connect(btnRefresh, &QPushButton::clicked, this, [this] { JumpTo(Base()); });

    SetState(stNotConnected);
}

void TFMMakerParameter::Execute(TAppContext &context, QWidget *owner)
{
    TFMMakerParameter window(context, owner);
    window.exec();
}

void TFMMakerParameter::StateChanged()
{
    const bool shown = State() == stShown;
    for (QWidget *w : std::initializer_list<QWidget *>{lblNew, lblSetting, lblValue, btnAllSet, btnRefresh})
        w->setEnabled(shown);
    for (int i = 0; i < 4; ++i) {
        edtNew[size_t(i)]->setEnabled(shown);
        btnSet[size_t(i)]->setEnabled(shown);
        if (!shown)
            edtNew[size_t(i)]->clear();
    }
}

void TFMMakerParameter::Jumped()
{
    TDMMakerDirect::TWords words{};
    if (!ReadPresent(words))
        return;
    for (int i = 0; i < 4; ++i) {
        ShowPresent(i, words[size_t(i)]);
        edtNew[size_t(i)]->setText(TDMMakerDirect::Hex(words[size_t(i)], 4));
    }
}

bool TFMMakerParameter::ConfirmFresh(unsigned mask)
{
    TDMMakerDirect::TWords fresh{};
    if (!ReadPresent(fresh))
        return false;
    bool same = true;
    for (int i = 0; i < 4; ++i) {
        if (mask & (1u << i))
            same = same && PresentValue(i) == fresh[size_t(i)];
        else
            ShowPresent(i, fresh[size_t(i)]);
    }
    if (same)
        return true;
    const TMsgAnswer answer = TMessenger::Instance().Show(
        TMsgKind::Question,
        QStringLiteral("The present setting value is changed.\r\nDoes it continue the writing of a parameter?"),
        TMsgButtons::YesNoCancel);
    if (answer == TMsgAnswer::Yes)
        return true;
    if (answer == TMsgAnswer::No)
        for (int i = 0; i < 4; ++i)
            if (mask & (1u << i))
                ShowPresent(i, fresh[size_t(i)]);
    return false;
}

bool TFMMakerParameter::Write(int i, uint16_t value)
{
    switch (dm.WriteWord(Axis(), Base() + 2 * uint32_t(i), value)) {
    case TDMMakerDirect::TWrite::Written:
        ShowPresent(i, value);
        return true;
    case TDMMakerDirect::TWrite::Refused:
        return false;
    case TDMMakerDirect::TWrite::Failed:
        Lost();
        return false;
    }
    return false;
}

void TFMMakerParameter::SetWord(int i)
{
    if (State() != stShown || i < 0 || i > 3)
        return;
    TFMHexEdit *box = edtNew[size_t(i)];
    const std::optional<uint32_t> v = TDMMakerDirect::ParseHex(box->text(), 4);
    if (!v) {
        TMessenger::Instance().Warning(TDMMakerDirect::InvalidText(TDMMakerDirect::ValueField()));
        box->setFocus();
        return;
    }
    box->setText(TDMMakerDirect::Hex(*v, 4));
    edtAddress->setText(TDMMakerDirect::Hex(Base(), 5));
    // Read, question and write are one series: no click gets in between.
    TBusy::TScope busy;
    if (ConfirmFresh(1u << i))
        Write(i, uint16_t(*v));
}

void TFMMakerParameter::SetAll()
{
    if (State() != stShown)
        return;
    std::array<uint16_t, 4> values{};
    for (int i = 0; i < 4; ++i) {
        const std::optional<uint32_t> v = TDMMakerDirect::ParseHex(edtNew[size_t(i)]->text(), 4);
        if (!v) {
            TMessenger::Instance().Warning(TDMMakerDirect::InvalidText(TDMMakerDirect::ValueField()));
            edtNew[size_t(i)]->setFocus();
            return;
        }
        values[size_t(i)] = uint16_t(*v);
    }
    for (int i = 0; i < 4; ++i)
        edtNew[size_t(i)]->setText(TDMMakerDirect::Hex(values[size_t(i)], 4));
    edtAddress->setText(TDMMakerDirect::Hex(Base(), 5));
    {
        TBusy::TScope busy;
        if (!ConfirmFresh(0xF))
            return;
        for (int i = 0; i < 4; ++i)
            if (!Write(i, values[size_t(i)]))
                return;
    }
    JumpTo(std::min<qint64>(qint64(Base()) + 8, TDMMakerDirect::MaxBase));
}
