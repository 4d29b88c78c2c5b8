#include "params/FMMotorParameter.h"

#include "app/Hourglass.h"
#include "params/FMMotorSelect.h"
#include "params/FMParameterTable.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFMMotorParameter::TFMMotorParameter(TAppContext &context, QWidget *owner)
    : TFMParameterWindow(context,
                         std::make_unique<TDMMotorParameter>(context.intf, context.dmMain, context.env, context.tran),
                         QStringLiteral("FMMotorParameter"), tr("モータパラメータ設定"), true, owner)
{
    AskMotorFile = [this](const QString &preselect) {
        return TFMMotorSelect::Execute(this, TFMMotorSelect::LibraryFolder(), preselect);
    };
    systemTable = new TFMParameterTable(Module().SystemGrid(), this);
    motorTable = new TFMParameterTable(Module().MotorGrid(), this);

    auto *system = new QGroupBox(tr("システム"), this);
    auto *sl = new QVBoxLayout(system);
    sgrdSystem = MakeGrid("sgrdSystem", systemTable, false);
    sl->addWidget(sgrdSystem);
    body->addWidget(system, 3);

    auto *motor = new QGroupBox(tr("モータ設定"), this);
    auto *ml = new QVBoxLayout(motor);
    sgrdMotor = MakeGrid("sgrdMotor", motorTable, false);
    const int rowHeight = sgrdMotor->verticalHeader()->defaultSectionSize();
    sgrdMotor->setFixedHeight(sgrdMotor->horizontalHeader()->sizeHint().height() + rowHeight + 4);
    ml->addWidget(sgrdMotor);
    auto *buttons = new QHBoxLayout;
    btnSelect = new QPushButton(tr("一覧からモータを選択(&M)..."), motor);
    btnSelect->setObjectName(QStringLiteral("btnSelect"));
    btnSelect->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(btnSelect);
    ml->addLayout(buttons);
    body->addWidget(motor);
    connect(btnSelect, &QPushButton::clicked, this, &TFMMotorParameter::SelectMotor);
    connect(sgrdMotor, &QTableView::doubleClicked, this, &TFMMotorParameter::SelectMotor);

    const QFontMetrics fm(font());
    for (QTableView *grid : {sgrdSystem, sgrdMotor})
        grid->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("インクリメンタルエンコーダ機能選択")) + 16);
    sgrdMotor->setColumnWidth(1, fm.horizontalAdvance(QStringLiteral("MMMMMMMMMMMM(0000-0000)")) + 12);
    resize(760, 520);
}

void TFMMotorParameter::Execute(TAppContext &context, QWidget *owner)
{
    TFMMotorParameter window(context, owner);
    window.exec();
}

void TFMMotorParameter::ShowSource()
{
    systemTable->Reload();
    motorTable->Reload();
}

void TFMMotorParameter::ValuesChanged()
{
    ShowSource();
}

void TFMMotorParameter::SelectMotor()
{
    if (Base().RowCount() == 0 || !AskMotorFile)
        return;
    const QString path = AskMotorFile(Module().PreselectedFile());
    if (path.isEmpty())
        return;
    THourglass hourglass;
    if (Module().LoadMotorFile(path))
        ShowSource();
}
