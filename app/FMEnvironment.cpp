#include "app/FMEnvironment.h"

#include "app/DMEnvironment.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

TFMEnvironment::TFMEnvironment(TDMEnvironment &environment, QWidget *owner)
    : QDialog(owner), environment(environment)
{
    setObjectName(QStringLiteral("FMEnvironment"));
    setWindowTitle(tr("パラメータ表示レベル"));

    grpLevel = new QGroupBox(tr("表示レベル"), this);
    cmbLevel = new QComboBox(grpLevel);
    cmbLevel->addItem(tr("ベーシックレベル"));
    cmbLevel->addItem(tr("スタンダードレベル"));
    cmbLevel->addItem(tr("アドバンスドレベル"));
    if (environment.DisplayLevel == dlService)
        cmbLevel->addItem(tr("メーカエンジニアレベル"));
    cmbLevel->setCurrentIndex(std::clamp(environment.DisplayLevel, 0, cmbLevel->count() - 1));
    auto *levelLayout = new QVBoxLayout(grpLevel);
    levelLayout->addWidget(cmbLevel);

    grpLanguage = new QGroupBox(tr("使用言語"), this);
    cmbLanguage = new QComboBox(grpLanguage);
    cmbLanguage->addItem(tr("英語"));
    cmbLanguage->addItem(tr("日本語"));
    cmbLanguage->setCurrentIndex(environment.Japanese ? 1 : 0);
    auto *languageLayout = new QVBoxLayout(grpLanguage);
    languageLayout->addWidget(cmbLanguage);
    grpLanguage->hide();

    btnOk = new QPushButton(tr("OK"), this);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(tr("キャンセル"), this);
    connect(btnOk, &QPushButton::clicked, this, &TFMEnvironment::accept);
    connect(btnCancel, &QPushButton::clicked, this, &TFMEnvironment::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grpLevel);
    layout->addWidget(grpLanguage);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TFMEnvironment::Execute(TDMEnvironment &environment, QWidget *owner)
{
    TFMEnvironment dialog(environment, owner);
    return dialog.exec() == QDialog::Accepted;
}

void TFMEnvironment::accept()
{
    environment.DisplayLevel = cmbLevel->currentIndex();
    QDialog::accept();
}
