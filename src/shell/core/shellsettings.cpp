#include "shell/core/shellsettings.h"

#include "common/core/inifile.h"
#include "common/core/programfiletypes.h"

#include <QDir>

namespace ordalvex {

namespace {

const QString kFormat = QStringLiteral("Format");
const QString kLastRun = QStringLiteral("LastRun");

QString entryKey(const char* stem, int k) {
    return QString::fromLatin1(stem) + QString::number(k);
}

} // namespace

QString defaultOpenFolder() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\");
#else
    return QDir::homePath();
#endif
}

QStringList openDialogFilters() {
    // Qt separates the patterns of one type by blanks; "*" rather than "*.*" so that files
    // without an extension are listed too.
    return {cncProgramFilter(), QStringLiteral("Programy CNC (*.nc)"), QStringLiteral("Programy CNC (*.min)"),
            QStringLiteral("Pliki tekstowe (*.txt)"), QStringLiteral("Wszystkie pliki (*)")};
}

ShellSettings readShellSettings(const IniFile& ini) {
    ShellSettings settings;
    FormatSettings& format = settings.format;
    format.SyntaxHighlighting = ini.readBool(kFormat, QStringLiteral("SyntaxHighlighting"), true);
    format.SyntaxHighlightingOnWriting =
        ini.readBool(kFormat, QStringLiteral("SyntaxHighlightingOnWriting"), true);
    format.FontName = ini.readString(kFormat, QStringLiteral("FontName"), QStringLiteral("Courier New"));
    format.FontSize = ini.readInteger(kFormat, QStringLiteral("FontSize"), 12);

    settings.lastOpenPath = ini.readString(kLastRun, QStringLiteral("LastOpenPath"), defaultOpenFolder());
    settings.comPortSettingsFileName = ini.readString(kLastRun, QStringLiteral("ComPortSettingsFileName"));
    settings.lastFilterIndex = ini.readInteger(kLastRun, QStringLiteral("LastFilterIndex"), 1);

    int count = ini.readInteger(kLastRun, QStringLiteral("OpenFilesNumber"), 0);
    count = std::min(count, static_cast<int>(ini.keys(kLastRun).size()));
    for (int k = 1; k <= count; ++k) {
        LastRunWindow window;
        DocumentPlacement& p = window.placement;
        p.FileName = ini.readString(kLastRun, entryKey("OpenFile_", k), QStringLiteral("Bez Nazwy"));
        p.Left = ini.readInteger(kLastRun, entryKey("Window_Left_", k), (k - 1) * 10);
        p.Top = ini.readInteger(kLastRun, entryKey("Window_Top_", k), (k - 1) * 10);
        p.Height = ini.readInteger(kLastRun, entryKey("Window_Height_", k), 350);
        p.Width = ini.readInteger(kLastRun, entryKey("Window_Width_", k), 440);
        p.SelStart = ini.readInteger(kLastRun, entryKey("Window_SelStr_", k), 0);
        window.state = ini.readInteger(kLastRun, entryKey("Window_State_", k), 1);
        settings.windows.push_back(window);
    }
    return settings;
}

void writeShellSettings(IniFile& ini, const ShellSettings& settings) {
    const FormatSettings& format = settings.format;
    ini.writeBool(kFormat, QStringLiteral("SyntaxHighlighting"), format.SyntaxHighlighting);
    ini.writeBool(kFormat, QStringLiteral("SyntaxHighlightingOnWriting"), format.SyntaxHighlightingOnWriting);
    ini.writeString(kFormat, QStringLiteral("FontName"), format.FontName);
    ini.writeInteger(kFormat, QStringLiteral("FontSize"), format.FontSize);

    ini.eraseSection(kLastRun);
    ini.writeString(kLastRun, QStringLiteral("LastOpenPath"), settings.lastOpenPath);
    ini.writeInteger(kLastRun, QStringLiteral("LastFilterIndex"), settings.lastFilterIndex);
    ini.writeString(kLastRun, QStringLiteral("ComPortSettingsFileName"), settings.comPortSettingsFileName);
    const int count = static_cast<int>(settings.windows.size());
    ini.writeInteger(kLastRun, QStringLiteral("OpenFilesNumber"), count);
    for (int i = count - 1; i >= 0; --i) {
        const int k = i + 1;
        const LastRunWindow& window = settings.windows[static_cast<size_t>(i)];
        const DocumentPlacement& p = window.placement;
        ini.writeString(kLastRun, entryKey("OpenFile_", k), p.FileName);
        ini.writeInteger(kLastRun, entryKey("Window_Left_", k), p.Left);
        ini.writeInteger(kLastRun, entryKey("Window_Top_", k), p.Top);
        ini.writeInteger(kLastRun, entryKey("Window_Height_", k), p.Height);
        ini.writeInteger(kLastRun, entryKey("Window_Width_", k), p.Width);
        ini.writeInteger(kLastRun, entryKey("Window_SelStr_", k), static_cast<int>(p.SelStart));
        ini.writeInteger(kLastRun, entryKey("Window_State_", k), window.state);
    }
}

DocumentPlacement maximizedRestorePlacement(DocumentPlacement placement, int mainLeft, int mainTop,
                                            int clientWidth, int clientHeight) {
    placement.Left = mainLeft + 10;
    placement.Top = mainTop + 10;
    // Integer division truncates towards zero, as the rule asks; 2/3 is "divided by 1.5".
    placement.Height = static_cast<int>(clientHeight * 2LL / 3);
    placement.Width = static_cast<int>(clientWidth * 2LL / 3);
    return placement;
}

} // namespace ordalvex
