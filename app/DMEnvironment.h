#pragma once

#include "app/Colors.h"
#include "app/IniDocument.h"
#include "app/SettingsLocation.h"

#include <QString>
#include <array>
#include <memory>

class QTranslator;
class TSettingsExchange;

// Display levels; the parameter windows list the parameters of a level and
// the service level alone opens the direct-mode menu.
enum TDisplayLevel : int { dlBasic = 0, dlStandard = 1, dlAdvanced = 2, dlService = 3 };

struct TMultiMonitorCell {
    bool shown = false;
    int axis = -1;
    int page = -1;
    bool operator==(const TMultiMonitorCell &) const = default;
};

// A drawn curve: trace channels, gain and phase curves.
struct TLineStyle {
    TColor color = clBlack;
    int width = 1;
    int mark = 0;      // 0 to 7
    bool operator==(const TLineStyle &) const = default;
};

struct TCursorStyle {
    TColor color = clLime;
    int width = 1;
    bool operator==(const TCursorStyle &) const = default;
};

// The settings of the program and the per-axis state of the running line.
// Created first, destroyed last: it reads the settings file when created,
// selects the user-interface language, and writes the file back when
// destroyed. Everything else reads and changes the settings through it.
//
// Colour values in the file that are neither a colour name nor a number in
// 0x00000000-0x00FFFFFF keep the colour's default (the file is read before
// any window could tell the user, and a wrong colour is not worth stopping
// for); the next write replaces them with the default's name.
class TDMEnvironment
{
public:
    // The program's settings file: named like the program with ".ini",
    // beside the program or in the user's configuration folder
    // (TSettingsLocation). Language files are looked for beside the program.
    TDMEnvironment();
    // Any settings file (tests, tools). Language files are looked for beside
    // it, named like it.
    explicit TDMEnvironment(const QString &settingsPath);
    // A chosen location; language files are named after programPath (the
    // program file, or any file beside which they lie).
    TDMEnvironment(const TSettingsLocation &location, const QString &programPath);
    // Writes the settings file (failures go to the error output).
    ~TDMEnvironment();

    TDMEnvironment(const TDMEnvironment &) = delete;
    TDMEnvironment &operator=(const TDMEnvironment &) = delete;

    // The living settings module; the program creates it before anything
    // asks. The most recently created one counts; when it goes, the one
    // before it is current again.
    static TDMEnvironment &Instance();
    static bool HasInstance();

    // Writes the settings file now; what the destructor does at the end.
    // The service level is stored as Basic. Returns false with error set
    // when the file could not be written (the old file is then untouched).
    bool Save(QString *error = nullptr);

    QString SettingsPath() const { return settingsPath; }
    // The read-only defaults beside the program that keys missing from the
    // settings file come from; empty when there is none.
    QString DefaultsPath() const { return defaultsPath; }
    // The per-report printer settings: one file beside the settings file,
    // named like it with ".Printers.ini".
    QString PrinterSettingsPath() const;
    // The language file that was loaded and installed, empty when the
    // built-in Japanese texts apply.
    QString LanguageFile() const { return languageFile; }

    // Axes 1 to 15; other numbers read false / -1 and are not written.
    bool UseAxis(int axis) const;
    void SetUseAxis(int axis, bool use);
    // The code the amplifier reported; -1 marks the axis not in use.
    // Never stored in the file.
    int AmpCode(int axis) const;
    void SetAmpCode(int axis, int code);
    bool AxisInUse(int axis) const { return AmpCode(axis) > 0; }

    // Cells 0 to 15.
    TMultiMonitorCell MultiMonitorCell(int cell) const;
    void SetMultiMonitorCell(int cell, const TMultiMonitorCell &value);
    // Channels 1 to 8; a mark outside 0 to 7 is stored as 0.
    TLineStyle TraceChannel(int channel) const;
    void SetTraceChannel(int channel, const TLineStyle &value);
    // Cursors 1 and 2 of the trace window and of the frequency-response graph.
    TCursorStyle TraceCursor(int cursor) const;
    void SetTraceCursor(int cursor, const TCursorStyle &value);
    TCursorStyle AnalysisCursor(int cursor) const;
    void SetAnalysisCursor(int cursor, const TCursorStyle &value);
    // Switches 1 to 6 handed to each system-analysis measurement; 0 outside.
    int AnalysisSwitch(int index) const;

    // The candidate language files for a settings (or program) path, in the
    // order they are tried: JPN, JP for Japanese, ENU, EN otherwise.
    static QStringList LanguageFileCandidates(const QString &path, bool japanese);

    // [Window]: placement of the main window. WindowLeft is the horizontal
    // position and is stored under the key "Top"; WindowTop under "Left".
    bool WindowMaximized = true;
    int WindowLeft = 0;
    int WindowTop = 0;
    // [Communication]
    int BaudRate = 9600;
    int CommPort = 1;
    // A device path opened instead of the one mapped from CommPort; empty
    // means use the mapping.
    QString CommDevice;
    // [Database] Name: the first definition storage, relative to the program.
    QString DatabaseName;
    // [Generic]
    bool Japanese = false;
    int DisplayLevel = dlBasic;
    // [TraceOperation] UnfitLevel: lost-sample limit of the operation trace.
    int UnfitLevel = 1000;
    // [SystemAnalysis]
    QString AnalyserPath;        // ExeName; empty disables the analysis
    QString AnalysisHelpFile;    // HelpFile
    TLineStyle Gain{clBlack, 1, 0};
    TLineStyle Phase{clRed, 1, 0};
    // [Print]
    bool GrayScale = false;

private:
    void Exchange(TSettingsExchange &x);
    void Read();
    void SelectLanguage();

    QString settingsPath;
    QString defaultsPath;
    QString languageBase;        // language files are named after it
    bool inUserFolder = false;   // the file's folder is made when missing
    TIniDocument document;
    TIniDocument defaults;
    // A file that exists but could not be read is not overwritten.
    bool readFailed = false;

    std::array<bool, 15> useAxis{};
    std::array<int, 15> ampCode{};
    std::array<TMultiMonitorCell, 16> multiMonitor{};
    std::array<TLineStyle, 8> traceChannels{};
    std::array<TCursorStyle, 2> traceCursors{};
    std::array<TCursorStyle, 2> analysisCursors{};
    std::array<int, 6> analysisSwitches{};

    QString languageFile;
    QByteArray languageData;     // the translator reads from it: outlives it
    std::unique_ptr<QTranslator> translator;
    std::unique_ptr<QTranslator> qtTranslator;
};
