#include "testrun/FMATuningRSV.h"

#include "app/Messenger.h"
#include "testrun/DMJog.h"
#include "testrun/DMTuning.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char *const GainNames[5] = {"KP", "KVP", "TVI", "TCFIL", "JRAT"};
const char *const GainUnits[5] = {"[1/s]", "[Hz]", "[ms]", "[Hz]", "[%]"};

QLineEdit *ValueField(QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00000.0")) + 16);
    return field;
}

// One group of the five gains: name, value, unit; suffix "1" for the stored ones.
QGroupBox *GainGroup(const QString &title, const QString &suffix, std::array<QLineEdit *, 5> &fields, QWidget *parent)
{
    auto *group = new QGroupBox(title, parent);
    auto *grid = new QGridLayout(group);
    for (int i = 0; i < 5; ++i) {
        fields[size_t(i)] = ValueField(group);
        fields[size_t(i)]->setObjectName(QStringLiteral("edt") + QLatin1String(GainNames[i]) + suffix);
        grid->addWidget(new QLabel(QLatin1String(GainNames[i]) + suffix, group), i, 0);
        grid->addWidget(fields[size_t(i)], i, 1);
        grid->addWidget(new QLabel(QLatin1String(GainUnits[i]), group), i, 2);
    }
    return group;
}
} // namespace

TFMATuningRSV::TFMATuningRSV(TAppContext &context, TDMJog &module, int axis, const QString &modelName, QWidget *owner)
    : TFMRunBase(context, module, TDMJog::tyTuningResultSave, axis, modelName, owner)
{
    setObjectName(QStringLiteral("FMATuningRSV"));
    setProperty("kind", TDMJog::tyTuningResultSave);
    auto *top = new QVBoxLayout(this);

    auto *grpMode = new QGroupBox(tr("チューニングモード"), this);
    auto *modeGrid = new QGridLayout(grpMode);
    edtMode = new QLineEdit(grpMode);
    edtMode->setObjectName(QStringLiteral("edtMode"));
    edtMode->setReadOnly(true);
    edtCharacteristic = new QLineEdit(grpMode);
    edtCharacteristic->setObjectName(QStringLiteral("edtCharacteristic"));
    edtCharacteristic->setReadOnly(true);
    modeGrid->addWidget(new QLabel(tr("チューニングモード"), grpMode), 0, 0);
    modeGrid->addWidget(edtMode, 0, 1);
    modeGrid->addWidget(new QLabel(tr("オートチューニング特性"), grpMode), 1, 0);
    modeGrid->addWidget(edtCharacteristic, 1, 1);
    top->addWidget(grpMode);

    auto *grpSettings = new QGroupBox(tr("設定"), this);
    auto *setGrid = new QGridLayout(grpSettings);
    cboxChoice = new QComboBox(grpSettings);
    cboxChoice->setObjectName(QStringLiteral("cboxChoice"));
    cboxChoice->addItems(TDMTuning::ChoiceTexts());
    cboxChoice->setCurrentIndex(-1);
    edtResponsiveness = new QLineEdit(grpSettings);
    edtResponsiveness->setObjectName(QStringLiteral("edtResponsiveness"));
    edtResponsiveness->setAlignment(Qt::AlignRight);
    edtResponsiveness->setValidator(new QIntValidator(0, 99, edtResponsiveness));
    edtResponsiveness->setMaxLength(2);
    setGrid->addWidget(new QLabel(tr("設定パラメータ"), grpSettings), 0, 0);
    setGrid->addWidget(cboxChoice, 0, 1);
    setGrid->addWidget(new QLabel(tr("オートチューニング応答性"), grpSettings), 1, 0);
    setGrid->addWidget(edtResponsiveness, 1, 1);
    MakeEditButtons(grpSettings);
    auto *editRow = new QHBoxLayout;
    editRow->addStretch();
    editRow->addWidget(btnEdit);
    editRow->addWidget(btnWrite);
    setGrid->addLayout(editRow, 2, 0, 1, 2);
    AddSetting(edtResponsiveness, [this](const QString &text) { return CheckResponsiveness(text); });
    top->addWidget(grpSettings);

    auto *values = new QHBoxLayout;
    values->addWidget(GainGroup(tr("オートチューニングパラメータモニタ値"), QString(), edtMonitor, this));
    values->addWidget(GainGroup(tr("パラメータ設定値"), QStringLiteral("1"), edtStored, this));
    top->addLayout(values);

    btnSave = new QPushButton(tr("モニタ値を書き込む"), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    connect(btnSave, &QPushButton::clicked, this, &TFMATuningRSV::ClickSave);
    auto *saveRow = new QHBoxLayout;
    saveRow->addStretch();
    saveRow->addWidget(btnSave);
    top->addLayout(saveRow);

    auto *notes = new QLabel(tr("オートチューニング応答性は、") + QLatin1Char('\n') + tr("この画面上で変更できます。")
                                 + QLatin1Char('\n') + tr("ただし、変更された値はパラメータとして") + QLatin1Char('\n')
                                 + tr("保存しません。この画面を閉じると") + QLatin1Char('\n')
                                 + tr("元の設定値に戻ります。"),
                             this);
    notes->setObjectName(QStringLiteral("lblNotes"));
    top->addWidget(notes);

    MakeCloseButton(top);
    UpdateRunButtons();
}

bool TFMATuningRSV::ReadSettings()
{
    uint8_t bytes[4] = {};
    if (!dm.ReadSaveSelection(Axis(), bytes))
        return false;
    edtMode->setText(TDMTuning::ModeText(bytes[0]));
    edtCharacteristic->setText(TDMTuning::CharacteristicText(bytes[1]));
    // A choice the list does not hold leaves it empty: nothing is written
    // until the user picks one.
    cboxChoice->setCurrentIndex(bytes[3] < cboxChoice->count() ? bytes[3] : -1);
    SetSettingText(edtResponsiveness, QString::number(bytes[2]));
    return true;
}

bool TFMATuningRSV::CheckResponsiveness(const QString &text)
{
    // Either empty: "書き込み" does nothing.
    if (text.trimmed().isEmpty() || cboxChoice->currentIndex() < 0)
        return false;
    qint64 v = 0;
    if (TDMJog::ParseWhole(text, v) && v >= ResponsivenessMin && v <= ResponsivenessMax)
        return true;
    TMessenger::Instance().Warning(TDMJog::OutOfRangeText(), Title());
    edtResponsiveness->setText(rememberedResponsiveness);
    return false;
}

void TFMATuningRSV::RememberOther()
{
    rememberedChoice = cboxChoice->currentIndex();
    rememberedResponsiveness = edtResponsiveness->text();
}

void TFMATuningRSV::RestoreOther()
{
    cboxChoice->setCurrentIndex(rememberedChoice);
}

bool TFMATuningRSV::OtherChanged() const
{
    return cboxChoice->currentIndex() != rememberedChoice;
}

bool TFMATuningRSV::WriteSettings()
{
    qint64 responsiveness = 0;
    // A responsiveness that is no number any more drops the write.
    if (!TDMJog::ParseWhole(edtResponsiveness->text(), responsiveness) || cboxChoice->currentIndex() < 0)
        return true;
    return dm.WriteSaveSelection(Axis(), uint8_t(responsiveness), uint8_t(cboxChoice->currentIndex()));
}

void TFMATuningRSV::ClickSave()
{
    if (!EditMode() && Running())
        saveRequested = true;
}

void TFMATuningRSV::UpdateRunButtons()
{
    if (!btnSave)
        return;
    btnSave->setEnabled(!EditMode());
    cboxChoice->setEnabled(EditMode());
    edtResponsiveness->setEnabled(EditMode());
}

void TFMATuningRSV::RunTick()
{
    saveRequested = false;
    uint32_t reply = 0;
    if (!Send(TDMTran::opTuningSave, reply))
        return;
    if (reply == 1 && Active()) {
        NotReadyClose();
        return;
    }
    Rearm();
}

bool TFMATuningRSV::ReadValues(bool stored)
{
    std::array<QLineEdit *, 5> &fields = stored ? edtStored : edtMonitor;
    uint16_t words[5] = {};
    if (!dm.ReadSaveValues(Axis(), stored, words)) {
        for (QLineEdit *f : fields)
            f->clear();
        return false;
    }
    for (int i = 0; i < 5; ++i)
        fields[size_t(i)]->setText(TDMTuning::GainText(i, words[i]));
    return true;
}

void TFMATuningRSV::IdleTick()
{
    if (!ReadValues(false) || !ReadValues(true)) {
        AbortRun();
        return;
    }
    uint32_t reply = 0;
    if (!Send(TDMTran::opStatus, reply))
        return;
    if (reply == 1 && Active()) {
        NotReadyClose();
        return;
    }
    Rearm();
}
