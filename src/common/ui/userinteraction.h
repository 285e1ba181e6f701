#pragma once

#include <functional>
#include <memory>

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

namespace ordalvex {

// What a save dialog changes when the user picks another file type: the default suffix from
// then on, and the file name shown (empty: the name stays as it is).
struct FileDialogTypeChange {
    QString defaultSuffix;
    QString fileName;
};

// What a file dialog is asked for. `filters` are Qt name filters ("Programy (*.nc)");
// `filterIndex` is 1-based as users of the settings file see it.
struct FileDialogRequest {
    QString caption;
    QString folder;
    QString fileName;
    QStringList filters;
    int filterIndex = 1;
    QString defaultSuffix;
    // Called when the user picks another file type in a save dialog (1-based index).
    std::function<void(int)> onTypeChanged;
    // Like onTypeChanged, and the dialog takes the returned suffix and file name (which gets the
    // name shown in the dialog at the time, without folder).
    std::function<FileDialogTypeChange(int, const QString&)> adjustOnTypeChange;
};

struct FileDialogResult {
    QStringList files; // empty when the dialog was cancelled
    int filterIndex = 1;
};

// The one seam through which the program talks to the user outside its own windows: message
// boxes, beeps, file dialogs and the clipboard. Tests install a scripted replacement so that
// no dialog ever blocks an offscreen run.
class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    virtual QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& caption, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;
    virtual void beep() = 0;
    virtual FileDialogResult openFiles(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual FileDialogResult saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual QString clipboardText() = 0;
    virtual void setClipboardText(const QString& text) = 0;
};

// The interaction in force: the real one unless a test replaced it.
UserInteraction& interaction();

// Replaces the interaction in force; returns the previous one (nullptr restores the real one).
std::unique_ptr<UserInteraction> setInteraction(std::unique_ptr<UserInteraction> replacement);

// Shorthands for the common cases.
void showMessage(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text);
QMessageBox::StandardButton ask(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                const QString& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
void beep();

} // namespace ordalvex
