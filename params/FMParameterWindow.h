#pragma once

#include "app/AppContext.h"
#include "app/FMProgressView.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QAbstractItemModel;
class QButtonGroup;
class QTableView;
class QHBoxLayout;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class TDMParameterBase;
class TDMVerify;
class TRPUserParameter;

// What the parameter windows share: menus, tool bar and actions, the axis
// buttons with "File", the source (1..15 an axis, 0 the open file, -1
// nothing), the refresh that reads the source, file mode, the
// unsaved-changes questions, writing, saving and the transfers. A window
// adds its own body and tells what to show after a refresh.
class TFMParameterWindow : public QDialog
{
    Q_OBJECT
public:
    ~TFMParameterWindow() override;

    int Source() const { return source; }
    QString FileName() const { return fileName; }

    // The file dialogs; tests put their own answers here. Empty: cancelled.
    std::function<QString(const QString &current)> AskOpenName;
    std::function<QString(const QString &current)> AskSaveName;

    // The report's three uses: print, preview, printer set-up.
    enum TReportKind { rkPrint = 0, rkPreview = 1, rkPrinterSetup = 2 };
    // Tests: what to do with the prepared report instead of the printer,
    // and the verification window instead of the real one.
    std::function<void(TRPUserParameter &, TReportKind)> RunReport;
    std::function<void(TDMVerify &)> RunVerifyWindow;

    // Selects a source as its button does (with the unsaved-changes question).
    void ClickSource(int clicked);
    // Axis buttons, model texts, reading the source, actions, the window's
    // own view and caption.
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
    // Asks for a parameter file and verifies the axis against it.
    void DiskVerify();
    // The parameter report of the source; false when reading failed (the
    // window has refreshed itself).
    bool PrintReport(TReportKind kind);

protected:
    // `caption` is the window's name ("一般パラメータ設定"); with
    // `confirmWrites` the write and save actions ask before they go.
    TFMParameterWindow(TAppContext &context, std::unique_ptr<TDMParameterBase> module, const QString &objectName,
                       const QString &caption, bool confirmWrites, QWidget *owner);

    // After the tables are opened, before the first refresh.
    virtual void TablesOpened() {}
    // After every refresh: the view anew from the module.
    virtual void ShowSource() = 0;
    // Values of the shown rows changed (edit, write, save).
    virtual void ValuesChanged() = 0;

    // A grid of the window: whole rows selected (`selectable`) or none,
    // never edited in place; the last column takes the spare width.
    QTableView *MakeGrid(const char *name, QAbstractItemModel *model, bool selectable)
    {
        return MakeGrid(this, name, model, selectable);
    }

public:
    // The same for any window showing parameter rows.
    static QTableView *MakeGrid(QWidget *parent, const char *name, QAbstractItemModel *model, bool selectable);

protected:
    void UpdateCaption();
    void UpdateActions();
    // The unsaved-changes question; false when the user cancels.
    bool AskUnsaved();

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    TDMParameterBase &Base() { return *dm; }
    const TDMParameterBase &Base() const { return *dm; }

    TAppContext &ctx;
    std::unique_ptr<TDMParameterBase> dm;
    TFMProgressView progress;
    // The window's own widgets go here, between the axis buttons and the
    // status bar; the row of the axis buttons takes more at its right.
    QHBoxLayout *headRow;
    QVBoxLayout *body;
    int source;
    QString fileName;

private:
    QAction *MakeAction(const char *name, const QString &caption, const QKeySequence &key = QKeySequence(),
                        const QIcon &icon = QIcon());
    void BuildMenus();
    void BuildFrame();
    void UpdateAxisButtons();
    void PressSourceButton();
    bool SaveAs();
    // Save and Write; false when the user cancelled the confirmation.
    bool SaveFile();
    bool WriteAmplifier();

    QString captionName;
    bool confirm;
    QButtonGroup *grpSources;
    bool opened = false;
};
