#include "params/FMMotorSelect.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int PathRole = Qt::UserRole;
// Deeper than any library is sorted; stops a folder that contains itself.
constexpr int MaxDepth = 32;

bool IsMotorFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.suffix().compare(QLatin1String("mp0"), Qt::CaseInsensitive) == 0;
}

} // namespace

TFMMotorSelect::TFMMotorSelect(const QString &folder, const QString &preselect, QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FMMotorSelect"));
    setWindowTitle(tr("モータ選択"));
    auto *top = new QVBoxLayout(this);
    tvMotor = new QTreeWidget(this);
    tvMotor->setObjectName(QStringLiteral("tvMotor"));
    tvMotor->setHeaderHidden(true);
    tvMotor->setColumnCount(1);
    top->addWidget(tvMotor, 1);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
    top->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(tvMotor, &QTreeWidget::currentItemChanged, this, &TFMMotorSelect::SelectionChanged);
    connect(tvMotor, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!ChosenFile().isEmpty())
            accept();
    });

    QSet<QString> visited;
    AddEntries(tvMotor->invisibleRootItem(), folder, 0, visited);
    for (int i = 0; i < tvMotor->topLevelItemCount(); ++i)
        tvMotor->topLevelItem(i)->setExpanded(true);
    SelectName(preselect);
    SelectionChanged();
    resize(420, 480);
}

QString TFMMotorSelect::LibraryFolder()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("MotorFiles"));
}

QString TFMMotorSelect::Execute(QWidget *owner, const QString &folder, const QString &preselect)
{
    TFMMotorSelect dialog(folder, preselect, owner);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.ChosenFile();
}

void TFMMotorSelect::AddEntries(QTreeWidgetItem *parent, const QString &folder, int depth, QSet<QString> &visited)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (depth > MaxDepth || canonical.isEmpty() || visited.contains(canonical))
        return;
    visited.insert(canonical);
    const QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                          QDir::DirsFirst | QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        auto *item = new QTreeWidgetItem(parent, QStringList(entry.fileName()));
        item->setData(0, PathRole, dir.filePath(entry.fileName()));
        if (entry.isDir())
            AddEntries(item, entry.filePath(), depth + 1, visited);
    }
}

bool TFMMotorSelect::SelectName(const QString &name)
{
    for (QTreeWidgetItemIterator it(tvMotor); *it; ++it) {
        if ((*it)->text(0).compare(name, Qt::CaseInsensitive) == 0) {
            tvMotor->setCurrentItem(*it);
            tvMotor->scrollToItem(*it);
            return true;
        }
    }
    return false;
}

QString TFMMotorSelect::ChosenFile() const
{
    const QTreeWidgetItem *item = tvMotor->currentItem();
    if (!item || item->childCount() > 0)
        return QString();
    const QString path = item->data(0, PathRole).toString();
    return IsMotorFile(path) ? path : QString();
}

void TFMMotorSelect::SelectionChanged()
{
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!ChosenFile().isEmpty());
}
