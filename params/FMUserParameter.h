#pragma once

#include "params/DMUserParameter.h"
#include "app/FMProgressView.h"
#include "app/AppContext.h"

#include <QDialog>
#include <array>
#include <functional>

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QStatusBar;
class QTabBar;
class QTableView;
class QToolBar;
class QToolButton;
class TFMParameterTable;

// "一般パラメータ設定": reads an amplifier's general parameters (or those of
// a parameter file), lets the user change them through the edit dialog and
// writes them back (or saves the file). Changes are only marked until then.
class TFMUserParameter : public QDialog
{
    Q_OBJECT
public:
    explicit TFMUserParameter(TAppContext &context, QWidget *owner = nullptr);
    ~TFMUserParameter() override;

    // Opens the window modally.
    static void Execute(TAppContext &context, QWidget *owner);

    // 1..15 an axis, 0 the open file, -1 nothing.
    int Source() const { return source; }
    QString FileName() const { return fileName; }
    TDMUserParameter &Module() { return dm; }
    TFMParameterTable &Table() { return *table; }
    // The group number of a tab ("Group A" is 10, "-" is -1).
    int TabGroup(int index) const;

    // The file dialogs; tests put their own answers here. Empty: cancelled.
    std::function<QString(const QString &current)> AskOpenName;
    std::function<QString(const QString &current)> AskSaveName;

    // Selects a source as its button does (with the unsaved-changes question).
    void ClickSource(int clicked);
    // The window's refresh: axis buttons, model texts, reading the source,
    // actions, tabs and caption.
    void Refresh();

    QAction *actFileNew;
    QAction *actFileOpen;
    QAction *actFileClose;
    QAction *actFileSave;
    QAction *actFileSaveAs;
    QAction *actExit;
    QAction *actAmplifierRead;
    QAction *actAmplifierWrite;
    QAction *actAmplifierCheck;
    QAction *actDiskSave;
    QAction *actDiskLoad;
    QAction *actDiskVerify;
    QAction *actPrint;
    QAction *actPrintPreview;
    QAction *actPrinterSetup;

    QMenuBar *mnuMain;
    QToolBar *tbMain;
    std::array<QToolButton *, 15> sbtnAxis{};
    QToolButton *sbtnFile;
    QGroupBox *grpModel;
    QLineEdit *edtMotorModel;
    QLineEdit *edtAmpModel;
    QLineEdit *edtLevel;
    QPushButton *btnLevel;
    QTabBar *tabGroup;
    QTableView *grdMode;
    QPushButton *btnEdit;
    QStatusBar *stbMain;

public slots:
    void FileOpen();
    void FileClose();
    void FileSave();
    void FileSaveAs();
    void AmplifierRead();
    void AmplifierWrite();
    void AmplifierCheck();
    void DiskSave();
    void DiskLoad();
    void ChangeLevel();
    void EditRow();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QAction *MakeAction(const char *name, const QString &caption, const QKeySequence &key = QKeySequence(),
                        const QIcon &icon = QIcon());
    void BuildMenus();
    void BuildWindow();
    void UpdateAxisButtons();
    void PressSourceButton();
    void UpdateActions();
    void BuildTabs();
    void TabChanged(int index);
    void FitNameColumn();
    void UpdateCaption();
    void UpdateStatus();
    void RowChanged();
    // The unsaved-changes question; false when the user cancels.
    bool AskUnsaved();
    bool SaveAs();
    // The save behind "上書き保存" and the write behind "アンプに書き込み";
    // false when nothing was stored (failed or cancelled).
    bool SaveFile();
    bool WriteChanges();

    TAppContext &ctx;
    TDMUserParameter dm;
    TFMProgressView progress;
    TFMParameterTable *table;
    QButtonGroup *grpSources;
    int source;
    QString fileName;
    int currentTab = -1;
    bool opened = false;
};
