#include "params/FMLoadSave.h"

#include "app/DMEnvironment.h"
#include "app/FMAxisChoice.h"
#include "app/Hourglass.h"
#include "app/Messenger.h"
#include "params/FMParameterFileDialog.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

TFMLoadSave::TFMLoadSave(TDirection dir, int startAxis, TAppContext &context, QWidget *owner)
    : QDialog(owner), direction(dir), axis(startAxis), ctx(context),
      dm(context.intf, context.dmMain, context.env, context.tran), progress(this)
{
    setObjectName(QStringLiteral("FMLoadSave"));
    // The main window's wiring test tells the two directions apart by it.
    setProperty("kind", int(direction));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    const bool toFile = direction == TDirection::AmpToFile;
    setWindowTitle(toFile ? tr("パラメータの転送 [アンプ->ファイル]") : tr("パラメータの転送 [ファイル->アンプ]"));
    dm.SetProgress(&progress);

    auto *top = new QVBoxLayout(this);

    grpAmplifier = new QGroupBox(toFile ? tr("転送元") : tr("転送先"), this);
    grpAmplifier->setObjectName(QStringLiteral("grpAmplifier"));
    auto *ga = new QVBoxLayout(grpAmplifier);
    auto *axes = new QGridLayout;
    for (int n = 1; n <= 15; ++n) {
        auto *b = new QRadioButton(QStringLiteral("#%1").arg(QString::number(n, 16).toUpper()), grpAmplifier);
        b->setObjectName(QStringLiteral("rbtnAxis%1").arg(n));
        rbtnAxis[size_t(n - 1)] = b;
        axes->addWidget(b, (n - 1) / 8, (n - 1) % 8);
        connect(b, &QRadioButton::clicked, this, [this, n] { AxisClicked(n); });
    }
    ga->addLayout(axes);
    auto *model = new QHBoxLayout;
    lblModel = new QLabel(toFile ? tr("転送元のサーボアンプ型番 :") : tr("転送先のサーボアンプ型番 :"), grpAmplifier);
    edtModel = new QLineEdit(grpAmplifier);
    edtModel->setObjectName(QStringLiteral("edtModel"));
    edtModel->setReadOnly(true);
    model->addWidget(lblModel);
    model->addWidget(edtModel, 1);
    ga->addLayout(model);
    top->addWidget(grpAmplifier);

    grpFile = new QGroupBox(toFile ? tr("転送先") : tr("転送元"), this);
    grpFile->setObjectName(QStringLiteral("grpFile"));
    auto *gf = new QVBoxLayout(grpFile);
    lblFile = new QLabel(toFile ? tr("転送先のファイル名 :") : tr("転送元のファイル名 :"), grpFile);
    auto *fileRow = new QHBoxLayout;
    edtFile = new QLineEdit(grpFile);
    edtFile->setObjectName(QStringLiteral("edtFile"));
    edtFile->setReadOnly(true);
    edtFile->setMinimumWidth(360);
    btnBrowse = new QPushButton(tr("参照..."), grpFile);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    fileRow->addWidget(edtFile, 1);
    fileRow->addWidget(btnBrowse);
    gf->addWidget(lblFile);
    gf->addLayout(fileRow);
    top->addWidget(grpFile);

    grpKind = new QGroupBox(tr("転送するパラメータの種類"), this);
    grpKind->setObjectName(QStringLiteral("grpKind"));
    auto *gk = new QHBoxLayout(grpKind);
    cboxGeneral = new QCheckBox(TDMLoadSave::KindCaption(TDMLoadSave::kdGeneral), grpKind);
    cboxGeneral->setObjectName(QStringLiteral("cboxGeneral"));
    cboxSystem = new QCheckBox(TDMLoadSave::KindCaption(TDMLoadSave::kdSystem), grpKind);
    cboxSystem->setObjectName(QStringLiteral("cboxSystem"));
    cboxMotor = new QCheckBox(TDMLoadSave::KindCaption(TDMLoadSave::kdMotor), grpKind);
    cboxMotor->setObjectName(QStringLiteral("cboxMotor"));
    for (QCheckBox *c : {cboxGeneral, cboxSystem, cboxMotor}) {
        gk->addWidget(c);
        c->setChecked(toFile || c == cboxGeneral);
        c->setEnabled(!toFile);
        connect(c, &QCheckBox::toggled, this, &TFMLoadSave::UpdateExecute);
    }
    top->addWidget(grpKind);

    auto *buttons = new QHBoxLayout;
    btnExecute = new QPushButton(tr("実行"), this);
    btnExecute->setObjectName(QStringLiteral("btnExecute"));
    btnExit = new QPushButton(tr("終了(&X)"), this);
    btnExit->setObjectName(QStringLiteral("btnExit"));
    buttons->addStretch(1);
    buttons->addWidget(btnExecute);
    buttons->addWidget(btnExit);
    top->addLayout(buttons);

    connect(btnBrowse, &QPushButton::clicked, this, &TFMLoadSave::Browse);
    connect(btnExecute, &QPushButton::clicked, this, &TFMLoadSave::ExecuteTransfer);
    connect(btnExit, &QPushButton::clicked, this, &QDialog::reject);
    connect(edtFile, &QLineEdit::textChanged, this, &TFMLoadSave::UpdateExecute);

    AskSaveName = [this](const QString &current) { return DefaultSaveName(current); };
    AskOpenName = [this](const QString &current) { return DefaultOpenName(current); };

    dm.OpenTables();
    UpdateExecute();
}

TFMLoadSave::~TFMLoadSave()
{
    dm.CloseTables();
}

void TFMLoadSave::Execute(TDirection direction, int startAxis, TAppContext &context, QWidget *owner)
{
    TFMLoadSave window(direction, startAxis, context, owner);
    window.exec();
}

QString TFMLoadSave::FileName() const
{
    return edtFile->text();
}

void TFMLoadSave::SetFileName(const QString &name)
{
    edtFile->setText(name);
}

int TFMLoadSave::Kinds() const
{
    return (cboxGeneral->isChecked() ? TDMLoadSave::kdGeneral : 0) | (cboxSystem->isChecked() ? TDMLoadSave::kdSystem : 0)
           | (cboxMotor->isChecked() ? TDMLoadSave::kdMotor : 0);
}

void TFMLoadSave::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shown)
        return;
    shown = true;
    // After the window has painted, so that a warning shows over it.
    QTimer::singleShot(0, this, [this] { SelectAxis(); });
}

void TFMLoadSave::SelectAxis()
{
    THourglass hourglass;
    QString text;
    int lost = 0;
    const auto result = TFMAxisChoice::Settle(
        ctx, rbtnAxis, axis, [this](int n, QString &t) { return dm.ReadAmpModelText(n, t); }, text, &lost);
    if (lost > 0)
        edtFile->clear();
    if (result == TFMAxisChoice::NoAxis) {
        for (QRadioButton *b : rbtnAxis)
            b->setEnabled(false);
        edtModel->clear();
        UpdateExecute();
        TMessenger::Instance().Warning(tr("通信可能なサーボアンプが存在しません。"));
        return;
    }
    edtModel->setText(text);
    UpdateExecute();
}

void TFMLoadSave::AxisClicked(int clicked)
{
    if (clicked == axis || busy)
        return;
    axis = clicked;
    SelectAxis();
}

void TFMLoadSave::UpdateExecute()
{
    const QString name = FileName();
    btnExecute->setEnabled(axis >= 1 && ctx.env.AxisInUse(axis) && !name.isEmpty()
                           && QFileInfo(name).suffix() == QStringLiteral("ap0") && Kinds() != 0);
}

QString TFMLoadSave::DefaultSaveName(const QString &current)
{
    return TFMParameterFileDialog::AskSaveName(this, current);
}

QString TFMLoadSave::DefaultOpenName(const QString &current)
{
    return TFMParameterFileDialog::AskOpenName(this, current);
}

void TFMLoadSave::Browse()
{
    const QString name = direction == TDirection::AmpToFile ? AskSaveName(FileName()) : AskOpenName(FileName());
    if (!name.isEmpty())
        SetFileName(name);
}

void TFMLoadSave::ExecuteTransfer()
{
    if (busy || !btnExecute->isEnabled())
        return;
    if (!ctx.env.AxisInUse(axis)) {
        // The line went away while the window stood open.
        SelectAxis();
        return;
    }
    busy = true;
    bool ok;
    {
        THourglass hourglass;
        QString name = FileName();
        if (direction == TDirection::AmpToFile) {
            const QFileInfo info(name);
            if (info.exists() && !info.isWritable()) {
                name = AskSaveName(name);
                if (name.isEmpty()) {
                    busy = false;
                    return;
                }
                SetFileName(name);
            }
            ok = dm.TransferAmpToFile(axis, name, edtModel->text());
        } else {
            if (!TMessenger::Instance().AskOkCancel(tr("パラメータをサーボアンプに書き込みます。\r\nよろしいですか?"))) {
                busy = false;
                return;
            }
            if (!QFileInfo::exists(name)) {
                TMessenger::Instance().Warning(
                    tr("%1\r\nファイルが見つかりません。\r\n指定したファイル名が正しいかどうか確認してください。").arg(name));
                busy = false;
                return;
            }
            ok = dm.TransferFileToAmp(axis, name, Kinds());
        }
    }
    busy = false;
    if (ok) {
        // A refused or declined transfer wrote nothing: no end to report.
        if (direction == TDirection::AmpToFile || dm.LastOutcome() == TDMLoadSave::TOutcome::Done)
            TMessenger::Instance().Information(tr("転送終了。"));
        return;
    }
    edtFile->clear();
    SelectAxis();
}
