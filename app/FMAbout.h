#pragma once

#include <QDialog>

class QLabel;
class TDMMain;

// "バージョン情報": program icon, caption, version line (with the definition
// database's version text), maker and the maker's web address as a link,
// and the settings file in use (beside the program or in the user's
// configuration folder), so that a user can tell which one to look at.
class TFMAbout : public QDialog
{
    Q_OBJECT
public:
    TFMAbout(QWidget *owner, TDMMain &mainTables);

    // "Version <product>" or "Version <product> - <database text>".
    static QString VersionLine(const QString &productVersion, const QString &databaseText);

    QLabel *lblVersion;
    QLabel *lblAddress;
    QLabel *lblSettings;
};
