#include "params/FMUserParameter.h"

#include "app/DMEnvironment.h"
#include "app/Hourglass.h"
#include "params/FMParameterTable.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

TFMUserParameter::TFMUserParameter(TAppContext &context, QWidget *owner)
    : TFMParameterWindow(context,
                         std::make_unique<TDMUserParameter>(context.intf, context.dmMain, context.env, context.tran),
                         QStringLiteral("FMUserParameter"), tr("一般パラメータ設定"), false, owner)
{
    BuildWindow();
    resize(1000, 640);
}

void TFMUserParameter::Execute(TAppContext &context, QWidget *owner)
{
    TFMUserParameter window(context, owner);
    window.exec();
}

void TFMUserParameter::BuildWindow()
{
    auto *top = body;
    auto *info = new QHBoxLayout;
    grpModel = new QGroupBox(tr("型番"), this);
    grpModel->setObjectName(QStringLiteral("grpModel"));
    auto *gm = new QGridLayout(grpModel);
    edtMotorModel = new QLineEdit(grpModel);
    edtMotorModel->setObjectName(QStringLiteral("edtMotorModel"));
    edtAmpModel = new QLineEdit(grpModel);
    edtAmpModel->setObjectName(QStringLiteral("edtAmpModel"));
    for (QLineEdit *e : {edtMotorModel, edtAmpModel}) {
        e->setReadOnly(true);
        e->setMinimumWidth(150);
    }
    gm->addWidget(new QLabel(tr("アンプ :"), grpModel), 0, 0);
    gm->addWidget(edtAmpModel, 0, 1);
    gm->addWidget(new QLabel(tr("モータ :"), grpModel), 0, 2);
    gm->addWidget(edtMotorModel, 0, 3);
    info->addWidget(grpModel);
    auto *level = new QGroupBox(tr("表示レベル"), this);
    auto *gl = new QHBoxLayout(level);
    edtLevel = new QLineEdit(level);
    edtLevel->setObjectName(QStringLiteral("edtLevel"));
    edtLevel->setReadOnly(true);
    edtLevel->setMinimumWidth(170);
    btnLevel = new QPushButton(tr("変更..."), level);
    btnLevel->setObjectName(QStringLiteral("btnLevel"));
    btnLevel->setAutoDefault(false);
    gl->addWidget(edtLevel);
    gl->addWidget(btnLevel);
    info->addWidget(level);
    info->addStretch(1);
    top->addLayout(info);
    connect(btnLevel, &QPushButton::clicked, this, &TFMUserParameter::ChangeLevel);

    tabGroup = new QTabBar(this);
    tabGroup->setObjectName(QStringLiteral("tabGroup"));
    tabGroup->setExpanding(false);
    tabGroup->setDrawBase(true);
    connect(tabGroup, &QTabBar::currentChanged, this, &TFMUserParameter::TabChanged);
    top->addWidget(tabGroup);

    table = new TFMParameterTable(Module().Grid(), this);
    grdMode = MakeGrid("grdMode", table, true);
    grdMode->horizontalHeader()->setStretchLastSection(false);
    const QFontMetrics fm(grdMode->font());
    const int widths[TDMUserParameter::ColumnCount] = {
        fm.horizontalAdvance(QStringLiteral("ﾍﾟｰｼﾞ")) + 24, fm.horizontalAdvance(QStringLiteral("MMMMMM")) + 8,
        fm.horizontalAdvance(QStringLiteral("速度ループ積分時定数")) + 16,
        fm.horizontalAdvance(QStringLiteral("-2147483648")) + 12, fm.horizontalAdvance(QStringLiteral("min-1/V")) + 12,
        fm.horizontalAdvance(QStringLiteral("-2147483648")) + 12, fm.horizontalAdvance(QStringLiteral("-2147483648")) + 12,
        fm.horizontalAdvance(QStringLiteral("-2147483648")) + 12, fm.horizontalAdvance(QStringLiteral("標準設定値")) + 16};
    for (int c = 0; c < TDMUserParameter::ColumnCount; ++c)
        if (widths[c] > 0)
            grdMode->setColumnWidth(c, widths[c]);
    connect(grdMode, &QTableView::doubleClicked, this, &TFMUserParameter::EditRow);
    connect(grdMode->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TFMUserParameter::RowChanged);
    top->addWidget(grdMode, 1);

    auto *bottom = new QHBoxLayout;
    btnEdit = new QPushButton(tr("編集(&E)..."), this);
    btnEdit->setObjectName(QStringLiteral("btnEdit"));
    btnEdit->setAutoDefault(false);
    connect(btnEdit, &QPushButton::clicked, this, &TFMUserParameter::EditRow);
    bottom->addStretch(1);
    bottom->addWidget(btnEdit);
    top->addLayout(bottom);

}

void TFMUserParameter::TablesOpened()
{
    edtLevel->setText(Module().LevelName());
    BuildTabs();
}

void TFMUserParameter::ShowSource()
{
    edtMotorModel->setText(Module().MotorModelText());
    edtAmpModel->setText(Module().AmpModelText());
    BuildTabs();
}

void TFMUserParameter::ValuesChanged()
{
    table->ValuesChanged();
}

int TFMUserParameter::TabGroup(int index) const
{
    const QString caption = tabGroup->tabText(index);
    if (caption.size() < 7)
        return -1;
    bool ok = false;
    const int g = caption.mid(6).toInt(&ok, 16);
    return ok ? g : -1;
}

void TFMUserParameter::BuildTabs()
{
    {
        const QSignalBlocker block(tabGroup);
        while (tabGroup->count() > 0)
            tabGroup->removeTab(0);
        for (int g = 0; g <= 15; ++g)
            if (Module().GroupExists(source, g))
                tabGroup->addTab(QStringLiteral("Group %1").arg(QString::number(g, 16).toUpper()));
        if (tabGroup->count() == 0)
            tabGroup->addTab(QStringLiteral("-"));
        tabGroup->setCurrentIndex(0);
    }
    currentTab = 0;
    Module().SelectGroup(source, TabGroup(0));
    table->Reload();
    FitNameColumn();
    if (Module().RowCount() > 0)
        grdMode->selectRow(0);
    UpdateCaption();
    UpdateStatus();
}

void TFMUserParameter::TabChanged(int index)
{
    if (index == currentTab || index < 0)
        return;
    if (!AskUnsaved()) {
        const QSignalBlocker block(tabGroup);
        tabGroup->setCurrentIndex(currentTab);
        return;
    }
    if (source >= 1 && !ctx.env.AxisInUse(source)) {
        // The inputs of a lost axis were let go: move to another source.
        Refresh();
        return;
    }
    currentTab = index;
    Module().SelectGroup(source, TabGroup(index));
    table->Reload();
    FitNameColumn();
    if (Module().RowCount() > 0)
        grdMode->selectRow(0);
    UpdateStatus();
}

void TFMUserParameter::FitNameColumn()
{
    // Names differ in length from group to group; none is cut.
    const int least = grdMode->fontMetrics().horizontalAdvance(QStringLiteral("速度ループ積分時定数")) + 16;
    grdMode->resizeColumnToContents(TDMUserParameter::colName);
    if (grdMode->columnWidth(TDMUserParameter::colName) < least)
        grdMode->setColumnWidth(TDMUserParameter::colName, least);
}

void TFMUserParameter::UpdateStatus()
{
    stbMain->showMessage(Module().StatusText());
}

void TFMUserParameter::RowChanged()
{
    const QModelIndex current = grdMode->currentIndex();
    if (current.isValid())
        Module().cdsAmp_Para.SetRecNo(current.row());
    UpdateStatus();
}

void TFMUserParameter::ChangeLevel()
{
    if (!AskUnsaved())
        return;
    if (!Module().ChangeLevel())
        return;
    edtLevel->setText(Module().LevelName());
    Refresh();
}

void TFMUserParameter::EditRow()
{
    if (Module().RowCount() == 0)
        return;
    const QModelIndex current = grdMode->currentIndex();
    if (current.isValid())
        Module().cdsAmp_Para.SetRecNo(current.row());
    if (Module().EditCurrentRow())
        table->ValuesChanged();
}
