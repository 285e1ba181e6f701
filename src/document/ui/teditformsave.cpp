// Saving of the document window: program-number check, backup copy, date stamp, safe write,
// the save dialog and the question before a modified document closes.

#include "common/core/codepage.h"
#include "common/core/filebytes.h"
#include "common/core/programfiletypes.h"
#include "common/ui/userinteraction.h"
#include "document/core/programsave.h"
#include "document/core/textdocument.h"
#include "document/ui/searcheditor.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

namespace ordalvex {

namespace {

const QString kWarningCaption = QStringLiteral("Ostrzeżenie");
const QString kErrorCaption = QStringLiteral("Błąd");
constexpr qsizetype kDateLength = 10;

QString saveRefusal() {
    return QStringLiteral("Plik nie został zapisany.");
}

// The folder of a file path, as the main window keeps it; empty for an empty path.
QString folderOf(const QString& path) {
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

} // namespace

bool TEditForm::encodeText(std::string& bytes, const QString& refusal) {
    const QString text = m_editor->text();
    const cp1250::EncodeResult encoded = cp1250::encode(text);
    if (encoded.ok()) {
        bytes = encoded.bytes;
        return true;
    }
    const qsizetype line = text.left(encoded.failedAt).count(QLatin1Char('\n')) + 1;
    const char32_t ch = encoded.failedChar;
    const QString shown = QString::fromUcs4(&ch, 1);
    showMessage(this, QMessageBox::Warning, kWarningCaption,
                QStringLiteral("Znak \"%1\" (U+%2) w wierszu %3 nie istnieje w kodowaniu Windows-1250.\r%4")
                    .arg(shown, QString::number(static_cast<uint>(ch), 16).toUpper().rightJustified(4, u'0'))
                    .arg(line)
                    .arg(refusal));
    return false;
}

TEditForm::SaveResult TEditForm::Save() {
    if (m_editor->isReadOnly())
        return SaveResult::NotSaved;
    if (m_document.isNew())
        return SaveAs();
    const qsizetype caret = m_editor->selStart();
    std::string bytes;
    if (!encodeText(bytes, saveRefusal()))
        return SaveResult::Failed;

    if (const auto mismatch = m_document.nameMismatch(bytes)) {
        beep();
        const auto answer =
            ask(this, QMessageBox::Warning, kWarningCaption,
                QStringLiteral("Nazwa pliku \"%1\" jest inna niż nazwa programu \"%2\".\rZapisać plik ?")
                    .arg(mismatch->fileBaseName, mismatch->programNumber),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        m_document.setNameAgreed(answer == QMessageBox::Yes);
        if (answer != QMessageBox::Yes) {
            m_editor->setSelStart(caret);
            return SaveResult::NotSaved;
        }
    }

    const TextDocument::SaveOutcome outcome = m_document.save(std::move(bytes), QDate::currentDate());
    showStampedDates(outcome.stampedDates, outcome.today);
    if (!outcome.saved) {
        showMessage(this, QMessageBox::Critical, kErrorCaption, outcome.error);
        return SaveResult::Failed;
    }
    // Written in place without a copy of the previous version: the user should know there is
    // nothing to go back to.
    if (!outcome.warning.isEmpty())
        showMessage(this, QMessageBox::Warning, kWarningCaption, outcome.warning);
    m_editor->setModified(false);
    m_editor->setSelStart(caret);
    return SaveResult::Saved;
}

void TEditForm::showStampedDates(const std::vector<std::size_t>& dates, const QString& today) {
    if (dates.empty())
        return;
    bindSelectionChange(false);
    m_editor->beginUpdate();
    m_editor->hideSelection(true);
    for (const std::size_t at : dates) {
        m_editor->setSelection(static_cast<qsizetype>(at), kDateLength);
        // A date that already reads today is left alone: no needless undo step.
        if (m_editor->selectedText() != today)
            m_editor->setSelText(today);
    }
    m_editor->setSelLength(0);
    bindSelectionChange(true);
    m_editor->endUpdate();
    m_editor->hideSelection(false);
}

FileDialogTypeChange TEditForm::SaveFileDialogTypeChange(int filterIndex, const QString& shownName) {
    FileDialogTypeChange change;
    switch (filterIndex) {
    case 1:
        change.defaultSuffix = QStringLiteral("nc");
        if (!shownName.isEmpty())
            change.fileName = withExtension(shownName, QStringLiteral(".nc"));
        break;
    case 2:
        change.defaultSuffix = QStringLiteral("min");
        break;
    case 3:
        change.defaultSuffix = QStringLiteral("txt");
        break;
    case 4:
        change.defaultSuffix = QStringLiteral("rtf");
        break;
    default:
        break;
    }
    m_saveDefaultSuffix = change.defaultSuffix;
    return change;
}

TEditForm::SaveResult TEditForm::SaveAs(QString* folder) {
    std::string bytes;
    if (!encodeText(bytes, saveRefusal()))
        return SaveResult::Failed;
    const QString& fileName = m_document.fileName();
    const QFileInfo current(fileName);
    const QString currentName = fileName.isEmpty() ? QString() : current.fileName();
    const auto number = findProgramNumber(bytes);

    FileDialogRequest request;
    request.caption = QStringLiteral("Zapisz \"%1\" jako...").arg(currentName);
    request.folder = fileName.isEmpty() ? QDir::homePath() : current.absolutePath();
    // The rich-text type's pattern must be in round brackets for the dialog to filter by it.
    request.filters = {QStringLiteral("Programy CNC (*.nc)"),    QStringLiteral("Programy CNC (*.min)"),
                       QStringLiteral("Pliki tekstowe (*.txt)"), QStringLiteral("Tekst formatowany (*.rtf)"),
                       QStringLiteral("Wszystkie pliki (*.*)"),  cncProgramFilter()};
    const QString extension = extensionOf(fileName);
    request.filterIndex = extension == QLatin1String(".nc")    ? 1
                          : extension == QLatin1String(".min") ? 2
                          : extension == QLatin1String(".txt") ? 3
                          : extension == QLatin1String(".rtf") ? 4
                                                               : 5;
    request.fileName = withExtension(number ? cp1250::decode(*number) : currentName, QString());
    request.defaultSuffix = m_saveDefaultSuffix;
    QPointer<TEditForm> guard(this);
    request.adjustOnTypeChange = [guard](int index, const QString& shown) {
        return guard ? guard->SaveFileDialogTypeChange(index, shown) : FileDialogTypeChange{};
    };

    const FileDialogResult chosen = interaction().saveFile(this, request);
    if (!guard)
        return SaveResult::NotSaved;
    if (chosen.files.isEmpty()) {
        if (folder)
            *folder = folderOf(m_document.fileName());
        return SaveResult::NotSaved;
    }
    const QString path = chosen.files.first();
    switch (chosen.filterIndex) {
    case 1:
        m_saveDefaultSuffix = QStringLiteral("nc");
        break;
    case 2:
        m_saveDefaultSuffix = QStringLiteral("min");
        break;
    case 3:
        m_saveDefaultSuffix = QStringLiteral("txt");
        break;
    case 4: {
        // A copy of the text under the ".rtf" name; the window stays on its own file.
        m_saveDefaultSuffix = QStringLiteral("rtf");
        const QString error =
            TextDocument::saveCopy(withExtension(path, QStringLiteral(".rtf")), std::move(bytes));
        if (!error.isEmpty()) {
            showMessage(this, QMessageBox::Critical, kErrorCaption, error);
            return SaveResult::Failed;
        }
        return SaveResult::Saved;
    }
    default:
        m_saveDefaultSuffix.clear();
        break;
    }

    setFileName(path);
    // The user has just chosen the name: it is not questioned.
    const bool nameAgreed = m_document.nameAgreed();
    m_document.setNameAgreed(true);
    const SaveResult saved = Save();
    m_document.setNameAgreed(nameAgreed);
    ShowProgramName();
    if (folder)
        *folder = folderOf(m_document.fileName());
    return saved;
}

bool TEditForm::FormCloseQuery() {
    if (!m_editor->modified() || m_editor->isReadOnly())
        return true;
    const QString name = m_document.isNew() ? windowTitle() : m_document.fileName();
    beep();
    const auto answer = ask(this, QMessageBox::Warning, kWarningCaption,
                            QStringLiteral("Plik \"%1\" został zmieniony.\rZachować zmiany ?").arg(name),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    switch (answer) {
    case QMessageBox::Yes:
        return Save() != SaveResult::Failed;
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void TEditForm::closeWithoutQuestion() {
    m_closeWithoutQuestion = true;
    close();
}

} // namespace ordalvex
