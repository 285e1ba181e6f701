#pragma once

#include "document/core/formatsettings.h"

#include <functional>
#include <optional>

#include <QList>
#include <QString>

class QFontDialog;
class QWidget;

namespace ordalvex {

class TEditForm;

// Sizes of the editor font the font dialog offers, in points.
constexpr int kMinFontSize = 8;
constexpr int kMaxFontSize = 24;

// A face and size chosen for the editor.
struct FontChoice {
    QString face;
    int size = 0; // points, kMinFontSize to kMaxFontSize
    bool operator==(const FontChoice&) const = default;
};

// Shows the prepared font dialog and tells whether the user accepted it. The default runs it
// modally; tests install one that picks a font without blocking.
using FontDialogRunner = std::function<bool(QFontDialog& dialog)>;

// Installs `runner` (an empty one restores the default); returns the previous one.
FontDialogRunner setFontDialogRunner(FontDialogRunner runner);

// Limits an already built font dialog to sizes kMinFontSize to kMaxFontSize: sizes outside
// are hidden from its list and refused by its size box.
void limitFontDialogSizes(QFontDialog& dialog);

// Runs the font dialog ("FontDialog", a child of `parent`) preset with the face in use for
// `settings` (editorFaceInUse) and its size (a size outside the limits is brought inside them). Returns the
// chosen face and size (size clamped to the limits), or nothing when the user cancelled.
std::optional<FontChoice> chooseEditorFont(QWidget* parent, const FormatSettings& settings);

// Gives `settings` to every window of `documents` through ApplyFormat, from the last in the
// list to the first.
void applyFormatToDocuments(const QList<TEditForm*>& documents, const FormatSettings& settings);

// The whole font command: chooses a font for `settings`; when one was chosen, stores its face
// (unless it is the face in use for the stored one) and size in `settings`, applies them to `documents` (last
// to first) and returns true.
bool chooseFontForDocuments(QWidget* parent, FormatSettings& settings, const QList<TEditForm*>& documents);

} // namespace ordalvex
