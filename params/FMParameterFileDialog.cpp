#include "params/FMParameterFileDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

QString StartFolder(const QString &current)
{
    if (current.isEmpty())
        return QString();
    const QFileInfo info(current);
    return info.absoluteDir().exists() ? info.absolutePath() : QString();
}

QString Run(QWidget *owner, const QString &current, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(owner);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(TFMParameterFileDialog::Filter());
    dialog.setDefaultSuffix(QStringLiteral("ap0"));
    const QString folder = StartFolder(current);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (!current.isEmpty())
        dialog.selectFile(QFileInfo(current).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

} // namespace

QString TFMParameterFileDialog::Filter()
{
    // The stored form is "text|pattern" with the extension twice.
    const QString stored =
        QCoreApplication::translate("TFMParameterFileDialog", "アンプファイル (*.%1)|*.%2").arg(QStringLiteral("ap0"), QStringLiteral("ap0"));
    return stored.section(u'|', 0, 0);
}

QString TFMParameterFileDialog::AskOpenName(QWidget *owner, const QString &current)
{
    return Run(owner, current, QFileDialog::AcceptOpen);
}

QString TFMParameterFileDialog::AskSaveName(QWidget *owner, const QString &current)
{
    return Run(owner, current, QFileDialog::AcceptSave);
}
