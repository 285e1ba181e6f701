#pragma once

#include "document/core/formatsettings.h"

#include <vector>

#include <QString>
#include <QStringList>

namespace ordalvex {

class IniFile;

// Window state of a document window as the settings file stores it.
enum class WindowState { Normal = 1, Maximized = 2 };

// One document window of the last run: where it stood and its state code (1 normal,
// 2 maximized; a hand-edited file may hold any other number, which leaves the window as made).
struct LastRunWindow {
    DocumentPlacement placement;
    int state = 1;
};

// Everything the main window keeps in the settings file (sections "Format" and "LastRun").
struct ShellSettings {
    FormatSettings format{true, true, QStringLiteral("Courier New"), 12};
    QString lastOpenPath;
    QString comPortSettingsFileName;
    int lastFilterIndex = 1; // 1-based index into openDialogFilters()
    // The windows open at the last exit, entry 1 (the active window) first, then by how
    // recently they were active.
    std::vector<LastRunWindow> windows;
};

// The folder the Open dialog starts in when the settings name none: the user's home folder
// on Linux, "C:\" on Windows.
QString defaultOpenFolder();

// The file types of the Open dialog, index 1 to 5 as the settings file counts them.
QStringList openDialogFilters();

// Reads sections "Format" and "LastRun" of `ini`. Missing keys and values that are not whole
// numbers give the defaults (booleans true, "Courier New" 12, `defaultOpenFolder()`, filter 1,
// no windows; per entry k: "Bez Nazwy", Left and Top (k - 1) * 10, 350 high, 440 wide, caret
// 0, state 1). A window count of 0 or less gives no entries; a count larger than the number of
// keys in "LastRun" is cut to that number, so a damaged count cannot make start-up run for
// ever.
ShellSettings readShellSettings(const IniFile& ini);

// Writes `settings` into `ini`: the four "Format" keys, then "LastRun" erased and written anew
// (LastOpenPath, LastFilterIndex, ComPortSettingsFileName, OpenFilesNumber, then the entries
// from the last to the first, numbered from 1). Other sections stay as they are. Does not
// touch the disk; the caller saves.
void writeShellSettings(IniFile& ini, const ShellSettings& settings);

// The normal geometry given to a window stored as maximized: 10 pixels right of and below the
// main window's own Left and Top, two thirds of its client width and height (truncated
// towards zero). `placement` keeps its caret and file name.
DocumentPlacement maximizedRestorePlacement(DocumentPlacement placement, int mainLeft, int mainTop,
                                            int clientWidth, int clientHeight);

} // namespace ordalvex
