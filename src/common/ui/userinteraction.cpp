#include "common/ui/userinteraction.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>

namespace ordalvex {

namespace {

class DesktopInteraction : public UserInteraction {
public:
    QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override {
        // Messages use CR as their line break; the label wants LF.
        QString shown = text;
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"))
            .replace(QLatin1Char('\r'), QLatin1Char('\n'));
        QMessageBox box(icon, caption, shown, buttons, parent);
        if (defaultButton != QMessageBox::NoButton)
            box.setDefaultButton(defaultButton);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }

    void beep() override { QApplication::beep(); }

    FileDialogResult openFiles(QWidget* parent, const FileDialogRequest& request) override {
        QFileDialog dialog(parent, request.caption, request.folder);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        return run(dialog, request);
    }

    FileDialogResult saveFile(QWidget* parent, const FileDialogRequest& request) override {
        QFileDialog dialog(parent, request.caption, request.folder);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (request.onTypeChanged) {
            QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
                request.onTypeChanged(static_cast<int>(request.filters.indexOf(filter)) + 1);
            });
        }
        if (request.adjustOnTypeChange) {
            QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
                const QStringList typed = dialog.selectedFiles();
                const QString shown = typed.isEmpty() ? QString() : QFileInfo(typed.first()).fileName();
                const FileDialogTypeChange change =
                    request.adjustOnTypeChange(static_cast<int>(request.filters.indexOf(filter)) + 1, shown);
                dialog.setDefaultSuffix(change.defaultSuffix);
                if (!change.fileName.isEmpty())
                    dialog.selectFile(change.fileName);
            });
        }
        return run(dialog, request);
    }

    QString clipboardText() override { return QApplication::clipboard()->text(); }
    void setClipboardText(const QString& text) override { QApplication::clipboard()->setText(text); }

private:
    static FileDialogResult run(QFileDialog& dialog, const FileDialogRequest& request) {
        if (!request.filters.isEmpty()) {
            dialog.setNameFilters(request.filters);
            const int index = request.filterIndex - 1;
            if (index >= 0 && index < request.filters.size())
                dialog.selectNameFilter(request.filters.at(index));
        }
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
        FileDialogResult result;
        result.filterIndex = request.filterIndex;
        if (dialog.exec() != QDialog::Accepted)
            return result;
        result.files = dialog.selectedFiles();
        const auto chosen = request.filters.indexOf(dialog.selectedNameFilter());
        if (chosen >= 0)
            result.filterIndex = static_cast<int>(chosen) + 1;
        return result;
    }
};

std::unique_ptr<UserInteraction>& current() {
    static std::unique_ptr<UserInteraction> instance = std::make_unique<DesktopInteraction>();
    return instance;
}

} // namespace

UserInteraction& interaction() {
    return *current();
}

std::unique_ptr<UserInteraction> setInteraction(std::unique_ptr<UserInteraction> replacement) {
    if (!replacement)
        replacement = std::make_unique<DesktopInteraction>();
    current().swap(replacement);
    return replacement;
}

void showMessage(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text) {
    interaction().message(parent, icon, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

QMessageBox::StandardButton ask(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                const QString& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton) {
    return interaction().message(parent, icon, caption, text, buttons, defaultButton);
}

void beep() {
    interaction().beep();
}

} // namespace ordalvex
