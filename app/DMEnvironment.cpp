#include "app/DMEnvironment.h"

#include "ZnLibs/PathUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QtGlobal>
#include <algorithm>
#include <limits>
#include <vector>

namespace {

std::vector<TDMEnvironment *> &Living()
{
    static std::vector<TDMEnvironment *> living;
    return living;
}

// Integers as the old profile reader took them: decimal, "$hex" or "0xhex".
bool ParseInt(const QString &text, int &value)
{
    bool ok = false;
    qlonglong v = 0;
    if (text.startsWith(QLatin1Char('$')))
        v = text.mid(1).toLongLong(&ok, 16);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = text.mid(2).toLongLong(&ok, 16);
    else
        v = text.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    value = int(v);
    return true;
}

int ValidMark(int mark)
{
    return mark >= 0 && mark <= 7 ? mark : 0;
}

const TColor kChannelColors[8] = {clBlack, clRed, clGreen, clBlue, clBlack, clRed, clGreen, clBlue};
const TColor kCursorColors[2] = {clLime, clAqua};

// A translation file is a few hundred kilobytes at most.
constexpr qint64 kMaxLanguageFileSize = 64 * 1024 * 1024;

} // namespace

// Reads or writes one key at a time, so that reading and writing walk the
// same keys in the same order and cannot drift apart.
class TSettingsExchange
{
public:
    // Reading takes a key missing from doc from defaults.
    TSettingsExchange(TIniDocument &doc, const TIniDocument &defaults, bool writing)
        : doc(doc), defaults(defaults), writing(writing)
    {
    }

    void Bool(const QString &section, const QString &key, bool &value, bool def)
    {
        if (writing) {
            doc.SetValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
            return;
        }
        int n = 0;
        value = ParseInt(Value(section, key), n) ? n != 0 : def;
    }

    void Int(const QString &section, const QString &key, int &value, int def)
    {
        if (writing) {
            doc.SetValue(section, key, QString::number(value));
            return;
        }
        if (!ParseInt(Value(section, key), value))
            value = def;
    }

    void Mark(const QString &section, const QString &key, int &value)
    {
        if (writing)
            value = ValidMark(value);
        Int(section, key, value, 0);
        value = ValidMark(value);
    }

    void Text(const QString &section, const QString &key, QString &value, const QString &def)
    {
        if (writing) {
            // A line break in a value would start a new line of the file.
            QString flat = value;
            flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
            doc.SetValue(section, key, flat);
            return;
        }
        bool found = false;
        const QString v = Value(section, key, &found);
        value = found ? v : def;
    }

    void Color(const QString &section, const QString &key, TColor &value, TColor def)
    {
        if (writing) {
            doc.SetValue(section, key, ColorToString(value));
            return;
        }
        value = def;
        StringToColor(Value(section, key), value);
    }

    bool Writing() const { return writing; }

private:
    QString Value(const QString &section, const QString &key, bool *found = nullptr) const
    {
        bool here = false;
        const QString v = doc.Value(section, key, &here);
        if (here) {
            if (found)
                *found = true;
            return v;
        }
        return defaults.Value(section, key, found);
    }

    TIniDocument &doc;
    const TIniDocument &defaults;
    bool writing;
};

TDMEnvironment::TDMEnvironment()
    : TDMEnvironment(TSettingsLocation::ForProgram(QFileInfo(ProgramFileWithExt(QStringLiteral("ini"))).fileName()),
                     QCoreApplication::applicationFilePath())
{
}

TDMEnvironment::TDMEnvironment(const QString &path) : TDMEnvironment(TSettingsLocation{path, QString(), true}, path)
{
}

TDMEnvironment::TDMEnvironment(const TSettingsLocation &location, const QString &programPath)
    : settingsPath(location.file), defaultsPath(location.defaults), languageBase(programPath),
      inUserFolder(!location.besideProgram)
{
    ampCode.fill(-1);
    Living().push_back(this);
    Read();
    SelectLanguage();
}

TDMEnvironment::~TDMEnvironment()
{
    QString error;
    if (!Save(&error))
        qWarning("settings not saved to %s: %s", qPrintable(settingsPath), qPrintable(error));
    auto &living = Living();
    living.erase(std::remove(living.begin(), living.end(), this), living.end());
}

TDMEnvironment &TDMEnvironment::Instance()
{
    if (Living().empty())
        qFatal("the settings module is used before it was created");
    return *Living().back();
}

bool TDMEnvironment::HasInstance()
{
    return !Living().empty();
}

void TDMEnvironment::Read()
{
    QString error;
    readFailed = !document.Load(settingsPath, &error);
    if (readFailed)
        qWarning("settings file %s not read, using defaults: %s", qPrintable(settingsPath),
                 qPrintable(error));
    // Defaults that cannot be read are no reason to stop: the built-in ones apply.
    if (!defaultsPath.isEmpty() && !defaults.Load(defaultsPath, &error))
        qWarning("settings defaults %s not read: %s", qPrintable(defaultsPath), qPrintable(error));
    TSettingsExchange x(document, defaults, false);
    Exchange(x);
}

bool TDMEnvironment::Save(QString *error)
{
    if (readFailed) {
        // Writing would replace a file we never saw with defaults.
        if (error)
            *error = QStringLiteral("the file could not be read at start, so it is left as it is");
        return false;
    }
    TSettingsExchange x(document, defaults, true);
    Exchange(x);
    // The user's configuration folder may not exist yet on a first run; the
    // folder of a file beside the program is never made.
    const QString folder = QFileInfo(settingsPath).absolutePath();
    if (inUserFolder && !QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("the folder %1 cannot be created").arg(folder);
        return false;
    }
    return document.Save(settingsPath, error);
}

QString TDMEnvironment::PrinterSettingsPath() const
{
    // "Tuvanta.ini" -> "Tuvanta.Printers.ini", in the same folder.
    return ChangeFileExt(settingsPath, QStringLiteral("Printers.ini"));
}

void TDMEnvironment::Exchange(TSettingsExchange &x)
{
    const QString window = QStringLiteral("Window");
    x.Bool(window, QStringLiteral("Maximized"), WindowMaximized, true);
    // Crossed on purpose: the horizontal position lives under "Top".
    x.Int(window, QStringLiteral("Top"), WindowLeft, 0);
    x.Int(window, QStringLiteral("Left"), WindowTop, 0);

    for (int axis = 1; axis <= 15; ++axis) {
        // One upper-case hex digit: Axis9, AxisA ... AxisF (never Axis10).
        const QString key = QStringLiteral("Axis") + QString::number(axis, 16).toUpper();
        x.Bool(QStringLiteral("UseAxes"), key, useAxis[axis - 1], false);
        if (!x.Writing())
            ampCode[axis - 1] = -1;
    }

    const QString comm = QStringLiteral("Communication");
    x.Int(comm, QStringLiteral("BaudRate"), BaudRate, 9600);
    x.Int(comm, QStringLiteral("CommPort"), CommPort, 1);
    x.Text(comm, QStringLiteral("Device"), CommDevice, QString());

    x.Text(QStringLiteral("Database"), QStringLiteral("Name"), DatabaseName, QString());

    const QString generic = QStringLiteral("Generic");
    QString language = Japanese ? QStringLiteral("Japanese") : QStringLiteral("English");
    x.Text(generic, QStringLiteral("Language"), language, QStringLiteral("English"));
    Japanese = language.compare(QLatin1String("Japanese"), Qt::CaseInsensitive) == 0;

    // The service level is never written back: a start at that level must
    // be chosen in the file each time.
    QString level = DisplayLevel == dlStandard   ? QStringLiteral("Standard")
                    : DisplayLevel == dlAdvanced ? QStringLiteral("Advanced")
                                                 : QStringLiteral("Basic");
    x.Text(generic, QStringLiteral("EditLevel"), level, QStringLiteral("Basic"));
    if (!x.Writing()) {
        const auto is = [&level](const char *name) {
            return level.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
        };
        DisplayLevel = is("Standard") ? dlStandard
                       : is("Advanced") ? dlAdvanced
                       : is("FieldServicer") ? dlService
                                            : dlBasic;
    }

    const QString mm = QStringLiteral("MultiMonitor");
    for (int n = 0; n < 16; ++n)
        x.Bool(mm, QStringLiteral("No%1Disp").arg(n), multiMonitor[n].shown, false);
    for (int n = 0; n < 16; ++n)
        x.Int(mm, QStringLiteral("No%1Axis").arg(n), multiMonitor[n].axis, -1);
    for (int n = 0; n < 16; ++n)
        x.Int(mm, QStringLiteral("No%1Page").arg(n), multiMonitor[n].page, -1);

    const QString trace = QStringLiteral("TraceOperation");
    x.Int(trace, QStringLiteral("UnfitLevel"), UnfitLevel, 1000);
    for (int ch = 0; ch < 8; ++ch)
        x.Color(trace, QStringLiteral("CH%1Color").arg(ch + 1), traceChannels[ch].color, kChannelColors[ch]);
    for (int ch = 0; ch < 8; ++ch)
        x.Int(trace, QStringLiteral("CH%1Width").arg(ch + 1), traceChannels[ch].width, 1);
    for (int ch = 0; ch < 8; ++ch)
        x.Mark(trace, QStringLiteral("CH%1Mark").arg(ch + 1), traceChannels[ch].mark);
    for (int c = 0; c < 2; ++c)
        x.Color(trace, QStringLiteral("t%1Color").arg(c + 1), traceCursors[c].color, kCursorColors[c]);
    for (int c = 0; c < 2; ++c)
        x.Int(trace, QStringLiteral("t%1Width").arg(c + 1), traceCursors[c].width, 1);

    const QString sa = QStringLiteral("SystemAnalysis");
    // The analyser that the build and the package put beside the program.
    x.Text(sa, QStringLiteral("ExeName"), AnalyserPath, QStringLiteral("Respana"));
    x.Text(sa, QStringLiteral("HelpFile"), AnalysisHelpFile, QString());
    x.Color(sa, QStringLiteral("GainColor"), Gain.color, clBlack);
    x.Int(sa, QStringLiteral("GainWidth"), Gain.width, 1);
    x.Mark(sa, QStringLiteral("GainMark"), Gain.mark);
    x.Color(sa, QStringLiteral("PhaseColor"), Phase.color, clRed);
    x.Int(sa, QStringLiteral("PhaseWidth"), Phase.width, 1);
    x.Mark(sa, QStringLiteral("PhaseMark"), Phase.mark);
    for (int c = 0; c < 2; ++c) {
        x.Color(sa, QStringLiteral("t%1Color").arg(c + 1), analysisCursors[c].color, kCursorColors[c]);
        x.Int(sa, QStringLiteral("t%1Width").arg(c + 1), analysisCursors[c].width, 1);
    }
    for (int n = 0; n < 6; ++n)
        x.Int(sa, QStringLiteral("SW%1").arg(n + 1), analysisSwitches[n], 0);

    x.Bool(QStringLiteral("Print"), QStringLiteral("GrayScale"), GrayScale, false);
}

QStringList TDMEnvironment::LanguageFileCandidates(const QString &path, bool japanese)
{
    // Windows names its satellite files after the locale's language: the
    // three-letter abbreviation first, then its first two letters.
    const QLatin1String three(japanese ? "JPN" : "ENU");
    const QLatin1String two(japanese ? "JP" : "EN");
    return {ChangeFileExt(path, three), ChangeFileExt(path, two)};
}

void TDMEnvironment::SelectLanguage()
{
    for (const QString &file : LanguageFileCandidates(languageBase, Japanese)) {
        QFile f(file);
        if (!f.exists() || f.size() > kMaxLanguageFileSize || !f.open(QIODevice::ReadOnly))
            continue;
        QByteArray data = f.readAll();
        auto t = std::make_unique<QTranslator>();
        // Loaded from memory: loading by name would also try other names
        // (with ".qm" added, or cut at the dot) and could pick a stray file.
        if (!t->load(reinterpret_cast<const uchar *>(data.constData()), int(data.size())))
            continue;
        languageData = std::move(data);
        translator = std::move(t);
        QCoreApplication::installTranslator(translator.get());
        languageFile = file;
        return;
    }
    // The built-in texts are Japanese; let Qt's own texts (standard buttons,
    // context menus) follow when its Japanese translation is installed.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qtTranslator = std::move(qt);
        QCoreApplication::installTranslator(qtTranslator.get());
    }
}

bool TDMEnvironment::UseAxis(int axis) const
{
    return axis >= 1 && axis <= 15 && useAxis[axis - 1];
}

void TDMEnvironment::SetUseAxis(int axis, bool use)
{
    if (axis >= 1 && axis <= 15)
        useAxis[axis - 1] = use;
}

int TDMEnvironment::AmpCode(int axis) const
{
    return axis >= 1 && axis <= 15 ? ampCode[axis - 1] : -1;
}

void TDMEnvironment::SetAmpCode(int axis, int code)
{
    if (axis >= 1 && axis <= 15)
        ampCode[axis - 1] = code;
}

TMultiMonitorCell TDMEnvironment::MultiMonitorCell(int cell) const
{
    return cell >= 0 && cell < 16 ? multiMonitor[cell] : TMultiMonitorCell{};
}

void TDMEnvironment::SetMultiMonitorCell(int cell, const TMultiMonitorCell &value)
{
    if (cell >= 0 && cell < 16)
        multiMonitor[cell] = value;
}

TLineStyle TDMEnvironment::TraceChannel(int channel) const
{
    return channel >= 1 && channel <= 8 ? traceChannels[channel - 1] : TLineStyle{};
}

void TDMEnvironment::SetTraceChannel(int channel, const TLineStyle &value)
{
    if (channel >= 1 && channel <= 8) {
        traceChannels[channel - 1] = value;
        traceChannels[channel - 1].mark = ValidMark(value.mark);
    }
}

TCursorStyle TDMEnvironment::TraceCursor(int cursor) const
{
    return cursor >= 1 && cursor <= 2 ? traceCursors[cursor - 1] : TCursorStyle{};
}

void TDMEnvironment::SetTraceCursor(int cursor, const TCursorStyle &value)
{
    if (cursor >= 1 && cursor <= 2)
        traceCursors[cursor - 1] = value;
}

TCursorStyle TDMEnvironment::AnalysisCursor(int cursor) const
{
    return cursor >= 1 && cursor <= 2 ? analysisCursors[cursor - 1] : TCursorStyle{};
}

void TDMEnvironment::SetAnalysisCursor(int cursor, const TCursorStyle &value)
{
    if (cursor >= 1 && cursor <= 2)
        analysisCursors[cursor - 1] = value;
}

int TDMEnvironment::AnalysisSwitch(int index) const
{
    return index >= 1 && index <= 6 ? analysisSwitches[index - 1] : 0;
}
