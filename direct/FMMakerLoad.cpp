#include "direct/FMMakerLoad.h"

#include "app/Hourglass.h"
#include "direct/FMHexEdit.h"
#include "params/FMParameterFileDialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFMMakerLoad::TFMMakerLoad(TAppContext &context, QWidget *owner)
    : QDialog(owner), ctx(context), direct(context), dm(context), progress(this)
{
    setObjectName(QStringLiteral("FMMakerLoad"));
    setWindowTitle(QStringLiteral("Maker Parameter Loading Mode"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    dm.SetProgress(&progress);

    auto *top = new QVBoxLayout(this);
    auto *axisRow = new QHBoxLayout;
    lblAxis = new QLabel(QStringLiteral("AXIS"), this);
    edtAxis = new TFMHexEdit(1, this);
    edtAxis->setObjectName(QStringLiteral("edtAxis"));
    edtAxis->setText(QStringLiteral("1"));
    btnConnect = new QPushButton(QStringLiteral("&CONNECT"), this);
    btnConnect->setObjectName(QStringLiteral("btnConnect"));
    axisRow->addWidget(lblAxis);
    axisRow->addWidget(edtAxis);
    axisRow->addWidget(btnConnect);
    axisRow->addStretch(1);
    top->addLayout(axisRow);

    grpMode = new QGroupBox(tr("ロード選択"), this);
    grpMode->setObjectName(QStringLiteral("grpMode"));
    auto *gm = new QVBoxLayout(grpMode);
    auto *group = new QButtonGroup(this);
    const std::array<QString, 3> captions{tr("全領域ロード1"), tr("全領域ロード2"), tr("全領域ロード3")};
    for (int i = 0; i < 3; ++i) {
        auto *r = new QRadioButton(captions[size_t(i)], grpMode);
        r->setObjectName(QStringLiteral("rbtnMode%1").arg(i + 1));
        group->addButton(r, i + 1);
        rbtnMode[size_t(i)] = r;
        gm->addWidget(r);
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                ShowHelp();
        });
    }
    top->addWidget(grpMode);

    memHelp = new QPlainTextEdit(this);
    memHelp->setObjectName(QStringLiteral("memHelp"));
    memHelp->setReadOnly(true);
    const QFontMetrics fm(memHelp->font());
    memHelp->setMinimumSize(fm.horizontalAdvance(TDMMakerLoad::HelpText(TDMMakerLoad::lmBelow500).section(u'\n', 1, 1)) + 40,
                            fm.lineSpacing() * 4 + 16);
    memHelp->setMaximumHeight(fm.lineSpacing() * 6 + 16);
    top->addWidget(memHelp);
    rbtnMode[0]->setChecked(true);

    auto *buttons = new QHBoxLayout;
    btnLoad = new QPushButton(QStringLiteral("&LOAD"), this);
    btnLoad->setObjectName(QStringLiteral("btnLoad"));
    btnQuit = new QPushButton(QStringLiteral("&QUIT"), this);
    btnQuit->setObjectName(QStringLiteral("btnQuit"));
    buttons->addStretch(1);
    buttons->addWidget(btnLoad);
    buttons->addWidget(btnQuit);
    top->addLayout(buttons);
    for (QPushButton *b : {btnConnect, btnLoad, btnQuit})
        b->setAutoDefault(false);

    connect(btnConnect, &QPushButton::clicked, this, &TFMMakerLoad::ConnectClicked);
    connect(edtAxis, &TFMHexEdit::enterPressed, this, &TFMMakerLoad::Connect);
    connect(btnLoad, &QPushButton::clicked, this, &TFMMakerLoad::LoadClicked);
    connect(btnQuit, &QPushButton::clicked, this, &QDialog::reject);

    AskOpenName = [this] { return TFMParameterFileDialog::AskOpenName(this, lastFile); };

    dm.OpenTables();
    SetConnected(false);
}

TFMMakerLoad::~TFMMakerLoad()
{
    dm.CloseTables();
}

void TFMMakerLoad::Execute(TAppContext &context, QWidget *owner)
{
    TFMMakerLoad window(context, owner);
    window.exec();
}

int TFMMakerLoad::Mode() const
{
    for (int i = 0; i < 3; ++i)
        if (rbtnMode[size_t(i)]->isChecked())
            return i + 1;
    return TDMMakerLoad::lmBelow500;
}

void TFMMakerLoad::SetConnected(bool on)
{
    if (!on)
        axis = -1;
    lblAxis->setEnabled(!on);
    edtAxis->setEnabled(!on);
    btnConnect->setText(on ? QStringLiteral("DIS&CONNECT") : QStringLiteral("&CONNECT"));
    grpMode->setEnabled(on);
    memHelp->setEnabled(on);
    btnLoad->setEnabled(on);
    ShowHelp();
}

void TFMMakerLoad::ShowHelp()
{
    if (Connected())
        memHelp->setPlainText(TDMMakerLoad::HelpText(Mode()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    else
        memHelp->clear();
}

void TFMMakerLoad::ConnectClicked()
{
    if (Connected())
        Disconnect();
    else
        Connect();
}

void TFMMakerLoad::Connect()
{
    if (Connected())
        return;
    const std::optional<int> n = TDMMakerDirect::ParseAxis(edtAxis->text());
    if (!n)
        return;
    int32_t code = -1;
    if (!direct.Connect(*n, code))
        return;
    axis = *n;
    SetConnected(true);
    btnLoad->setFocus();
}

void TFMMakerLoad::Disconnect()
{
    SetConnected(false);
    edtAxis->setFocus();
}

void TFMMakerLoad::LoadClicked()
{
    if (!Connected())
        return;
    const std::optional<int> n = TDMMakerDirect::ParseAxis(edtAxis->text());
    if (!n)
        return;
    const QString name = AskOpenName();
    if (name.isEmpty())
        return;
    lastFile = name;
    THourglass hourglass;
    dm.Load(*n, name, Mode());
}
