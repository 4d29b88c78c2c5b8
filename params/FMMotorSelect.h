#pragma once

#include <QDialog>
#include <QSet>

class QDialogButtonBox;
class QTreeWidget;
class QTreeWidgetItem;

// "モータ選択": the motor library as a tree of its files and folders; a
// motor file (".mp0", in any case) is chosen with OK.
class TFMMotorSelect : public QDialog
{
    Q_OBJECT
public:
    // Shows `folder` with the file named `preselect` selected (ignoring case).
    TFMMotorSelect(const QString &folder, const QString &preselect, QWidget *owner = nullptr);

    // The library beside the program: "MotorFiles".
    static QString LibraryFolder();
    // The full path of the chosen file, or empty when cancelled.
    static QString Execute(QWidget *owner, const QString &folder, const QString &preselect);

    // The path of the selected node; empty for a folder or nothing.
    QString ChosenFile() const;
    // Selects the first node whose text equals name, ignoring case.
    bool SelectName(const QString &name);

    QTreeWidget *tvMotor;
    QDialogButtonBox *buttons;

private:
    void AddEntries(QTreeWidgetItem *parent, const QString &folder, int depth, QSet<QString> &visited);
    void SelectionChanged();
};
