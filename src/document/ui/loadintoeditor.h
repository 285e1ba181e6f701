#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QString>

namespace ordalvex {

class TEditForm;

// The error shown when a file cannot be loaded (CR as the line break).
QString loadErrorText();

// What a finished load tells its caller: whether the text arrived, and the program's name
// found in it (see TEditForm::ShowProgramName).
using LoadDone = std::function<void(bool loaded, const std::optional<QString>& programName)>;

// Starts filling the window's editor from the plain-text program file at `path`: coloured when
// the window's SyntaxHighlighting is on, plain otherwise. The file is read, converted and
// coloured on a worker while the interface keeps running (the editor read-only, a close or a
// new format deferred to the end); the editor then takes the text whole, without undo history.
// On failure the load error is shown and the window closes. `done` runs on the interface thread
// at the end unless the window went away first. Returns false (with a beep, `done` never runs)
// when the window is busy with another load.
bool LoadIntoEditor(TEditForm& window, const QString& path, LoadDone done = {});

// The same from a program's bytes (Windows-1250) instead of a file.
bool LoadBytesIntoEditor(TEditForm& window, std::string bytes, LoadDone done = {});

// Puts `bytes` (a program's Windows-1250 bytes, e.g. a text tool's result) in the place of the
// editor's text as one undo step, coloured as the window's settings say; the history before it
// is kept. `done` runs at the end (on the interface thread, unless the window went away).
// Returns false (with a beep) when the window is busy.
bool ReplaceEditorText(TEditForm& window, std::string bytes, LoadDone done = {});

// Colours the editor's current text again with the window's settings, keeping the caret,
// the selection and the modified flag (no undo history afterwards).
void Rehighlight(TEditForm& window);

} // namespace ordalvex
