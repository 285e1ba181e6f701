#include "shell/ui/fontchoice.h"

#include "common/ui/editorfont.h"
#include "document/ui/teditform.h"

#include <algorithm>

#include <QAbstractItemModel>
#include <QFontDialog>
#include <QIntValidator>
#include <QLineEdit>
#include <QListView>
#include <QPointer>

namespace ordalvex {

namespace {

FontDialogRunner& runnerInForce() {
    static FontDialogRunner runner;
    return runner;
}

bool runModally(QFontDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

int clampSize(int size) {
    return std::clamp(size, kMinFontSize, kMaxFontSize);
}

// The size list is the one whose every row is a whole number.
bool isSizeList(const QListView* view) {
    const QAbstractItemModel* model = view->model();
    if (!model || model->rowCount() == 0)
        return false;
    for (int row = 0; row < model->rowCount(); ++row) {
        bool ok = false;
        model->index(row, 0).data().toString().toInt(&ok);
        if (!ok)
            return false;
    }
    return true;
}

void hideSizesOutsideLimits(QListView* view) {
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const int size = model->index(row, 0).data().toString().toInt();
        view->setRowHidden(row, size < kMinFontSize || size > kMaxFontSize);
    }
}

} // namespace

FontDialogRunner setFontDialogRunner(FontDialogRunner runner) {
    FontDialogRunner previous = std::move(runnerInForce());
    runnerInForce() = std::move(runner);
    return previous;
}

void limitFontDialogSizes(QFontDialog& dialog) {
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
        if (qobject_cast<const QIntValidator*>(edit->validator()))
            edit->setValidator(new QIntValidator(kMinFontSize, kMaxFontSize, edit));
    }
    for (QListView* view : dialog.findChildren<QListView*>()) {
        if (!isSizeList(view))
            continue;
        hideSizesOutsideLimits(view);
        // The dialog refills the list whenever another face or style is picked; the view
        // forgets hidden rows on each refill, so hide them again afterwards.
        QObject::connect(view->model(), &QAbstractItemModel::modelReset, view,
                         [view] { hideSizesOutsideLimits(view); });
    }
}

std::optional<FontChoice> chooseEditorFont(QWidget* parent, const FormatSettings& settings) {
    QFontDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("FontDialog"));
    // The platform's own dialog could not be held to the size limits.
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    // The face the documents show, so that OK without a change keeps it.
    QFont preset(editorFaceInUse(settings.FontName));
    preset.setPointSize(clampSize(settings.FontSize));
    dialog.setCurrentFont(preset);
    limitFontDialogSizes(dialog);

    const FontDialogRunner& runner = runnerInForce();
    const bool accepted = runner ? runner(dialog) : runModally(dialog);
    if (!accepted)
        return std::nullopt;
    const QFont chosen = dialog.result() == QDialog::Accepted ? dialog.selectedFont() : dialog.currentFont();
    // A size typed into the box is not held by the list; keep it inside the limits anyway.
    return FontChoice{chosen.family(), clampSize(chosen.pointSize())};
}

void applyFormatToDocuments(const QList<TEditForm*>& documents, const FormatSettings& settings) {
    // Colouring lets events run, during which the user may close any of the windows.
    QList<QPointer<TEditForm>> guarded;
    for (TEditForm* document : documents)
        guarded.append(document);
    for (auto it = guarded.crbegin(); it != guarded.crend(); ++it) {
        if (*it)
            (*it)->ApplyFormat(settings);
    }
}

bool chooseFontForDocuments(QWidget* parent, FormatSettings& settings, const QList<TEditForm*>& documents) {
    const std::optional<FontChoice> choice = chooseEditorFont(parent, settings);
    if (!choice)
        return false;
    // The face in use for a missing one, kept: the setting stays as it was.
    if (choice->face != editorFaceInUse(settings.FontName))
        settings.FontName = choice->face;
    settings.FontSize = choice->size;
    applyFormatToDocuments(documents, settings);
    return true;
}

} // namespace ordalvex
