#include "params/FMSystemParameter.h"

#include "params/FMParameterTable.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFMSystemParameter::TFMSystemParameter(TAppContext &context, QWidget *owner)
    : TFMParameterWindow(context,
                         std::make_unique<TDMSystemParameter>(context.intf, context.dmMain, context.env, context.tran),
                         QStringLiteral("FMSystemParameter"), tr("システムパラメータ設定"), true, owner)
{
    table = new TFMParameterTable(Module().Grid(), this);
    sgrdSystem = MakeGrid("sgrdSystem", table, true);
    const QFontMetrics fm(sgrdSystem->font());
    sgrdSystem->setColumnWidth(TDMSystemParameter::colPage, fm.horizontalAdvance(QStringLiteral("ﾍﾟｰｼﾞ")) + 24);
    sgrdSystem->setColumnWidth(TDMSystemParameter::colName,
                               fm.horizontalAdvance(QStringLiteral("位置ループ制御・位置ループエンコーダ選択")) + 16);
    sgrdSystem->setColumnWidth(TDMSystemParameter::colNow, fm.horizontalAdvance(QStringLiteral("MMMMMMMMMMMM(0000-0000)")) + 12);
    connect(sgrdSystem, &QTableView::doubleClicked, this, &TFMSystemParameter::EditRow);
    connect(sgrdSystem->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFMSystemParameter::RowChanged);
    body->addWidget(sgrdSystem, 1);

    auto *bottom = new QHBoxLayout;
    btnEdit = new QPushButton(tr("編集(&E)..."), this);
    btnEdit->setObjectName(QStringLiteral("btnEdit"));
    btnEdit->setAutoDefault(false);
    btnEdit->setEnabled(false);
    connect(btnEdit, &QPushButton::clicked, this, &TFMSystemParameter::EditRow);
    bottom->addStretch(1);
    bottom->addWidget(btnEdit);
    body->addLayout(bottom);
    resize(900, 560);
}

void TFMSystemParameter::Execute(TAppContext &context, QWidget *owner)
{
    TFMSystemParameter window(context, owner);
    window.exec();
}

int TFMSystemParameter::CurrentItem() const
{
    const QModelIndex current = sgrdSystem->currentIndex();
    return current.isValid() && Base().RowCount() > 0 ? current.row() + 1 : 0;
}

void TFMSystemParameter::ShowSource()
{
    table->Reload();
    sgrdSystem->selectRow(0);
    RowChanged();
}

void TFMSystemParameter::ValuesChanged()
{
    table->ValuesChanged();
}

void TFMSystemParameter::RowChanged()
{
    btnEdit->setEnabled(TDMSystemParameter::Editable(CurrentItem()));
}

void TFMSystemParameter::EditRow()
{
    if (Module().EditItem(CurrentItem()))
        table->ValuesChanged();
}
