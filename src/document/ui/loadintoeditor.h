#pragma once

#include <optional>

#include <QString>

namespace ordalvex {

class TEditForm;

// The error shown when a file cannot be loaded (CR as the line break).
QString loadErrorText();

// Fills the window's editor from the plain-text program file at `path`: coloured (through
// "Edytor.tmp" in the window's TempDir) when the window's SyntaxHighlighting is on, plain
// otherwise. The text is read and built on a worker while the interface keeps running (the
// editor read-only, a close deferred to the end of the load). On failure shows the
// load error and closes the window; returns whether the text was loaded. Leaves the modified
// flag, caret, caption and undo history to the caller. `programName`, when given, receives the
// program's name found in the loaded text (see TEditForm::ShowProgramName). A window that is
// loading already refuses a second load with a beep (false, no message).
bool LoadIntoEditor(TEditForm& window, const QString& path, std::optional<QString>* programName = nullptr);

// Colours the editor's current text again with the window's settings, keeping the caret,
// the selection and the modified flag.
void Rehighlight(TEditForm& window);

} // namespace ordalvex
