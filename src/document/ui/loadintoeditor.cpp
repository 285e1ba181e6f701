#include "document/ui/loadintoeditor.h"

#include "common/core/codepage.h"
#include "common/core/filebytes.h"
#include "common/ui/userinteraction.h"
#include "document/core/styledtext.h"
#include "document/ui/searcheditor.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QThreadPool>

namespace ordalvex {

namespace {

// One piece of text work for a window: its input, what the worker makes of it, and what the
// interface thread does with the result.
struct TextJob {
    QString path;      // read from this file, or
    std::string bytes; // take these bytes
    bool fromFile = false;
    bool coloured = true;
    bool wholeLoad = true;              // a new text without history (else one undo step)
    std::unique_ptr<LoadedText> loaded; // wholeLoad: the engine's document, filled on the worker
    StyledText styled;                  // otherwise the text and its formats
    std::optional<QString> programName;
    bool ok = false;

    void run() {
        if (fromFile) {
            const std::optional<QByteArray> read = readWholeFile(path);
            if (!read)
                return;
            bytes.assign(read->constData(), std::size_t(read->size()));
        }
        StyledText text = coloured ? colouredProgram(bytes) : plainProgram(bytes);
        bytes = std::string();
        programName = programNameInUtf8(text.utf8);
        if (wholeLoad) {
            if (!loaded->fill(std::move(text)))
                return;
        } else {
            styled = std::move(text);
        }
        ok = true;
    }
};

void failLoad(TEditForm& window) {
    showMessage(&window, QMessageBox::Critical, QStringLiteral("Błąd"), loadErrorText());
    window.close();
}

// Takes the worker's result on the interface thread.
void finishJob(QPointer<TEditForm> window, std::shared_ptr<TextJob> job, LoadDone done) {
    if (!window)
        return;
    if (window->closeDeferred()) {
        window->endTextWork();
        return;
    }
    TRichEdit98* editor = window->editor();
    if (!job->ok) {
        window->endTextWork();
        failLoad(*window);
        return;
    }
    const auto finished = [window, job, done] {
        if (!window)
            return;
        if (!job->coloured)
            window->editor()->setDefaultFormat(); // what is typed into an empty text is plain too
        window->endTextWork();
        if (done)
            done(true, job->programName);
    };
    if (job->wholeLoad) {
        editor->setPlainRtf(!job->coloured);
        editor->adoptText(std::move(job->loaded), finished);
    } else {
        editor->setStyledText(job->styled, true);
        job->styled = StyledText();
        finished();
    }
}

bool startJob(TEditForm& window, std::shared_ptr<TextJob> job, LoadDone done) {
    if (window.isLoading()) {
        beep();
        return false;
    }
    job->coloured = window.document().format().SyntaxHighlighting;
    if (job->wholeLoad)
        job->loaded = std::make_unique<LoadedText>(*window.editor());
    window.beginTextWork();
    QPointer<TEditForm> guard(&window);
    QThreadPool::globalInstance()->start([job, guard, done] {
        job->run();
        QMetaObject::invokeMethod(
            qApp, [guard, job, done] { finishJob(guard, job, done); }, Qt::QueuedConnection);
    });
    return true;
}

} // namespace

QString loadErrorText() {
    return QStringLiteral("Błąd przy wczytywaniu pliku !\rSprawdź czy masz uprawnienia do czytania z pliku.");
}

bool LoadIntoEditor(TEditForm& window, const QString& path, LoadDone done) {
    auto job = std::make_shared<TextJob>();
    job->path = path;
    job->fromFile = true;
    return startJob(window, std::move(job), std::move(done));
}

bool LoadBytesIntoEditor(TEditForm& window, std::string bytes, LoadDone done) {
    auto job = std::make_shared<TextJob>();
    job->bytes = std::move(bytes);
    return startJob(window, std::move(job), std::move(done));
}

bool ReplaceEditorText(TEditForm& window, std::string bytes, LoadDone done) {
    auto job = std::make_shared<TextJob>();
    job->bytes = std::move(bytes);
    job->wholeLoad = false;
    return startJob(window, std::move(job), std::move(done));
}

void Rehighlight(TEditForm& window) {
    TRichEdit98* editor = window.editor();
    if (editor->textLength() == 0) {
        // Nothing to colour; only what is typed next follows the setting.
        if (!window.document().format().SyntaxHighlighting)
            editor->setDefaultFormat();
        return;
    }
    const auto encoded = cp1250::encode(editor->text());
    // Characters without a Windows-1250 byte would be lost: keep the text as it is.
    if (!encoded.ok())
        return;
    const bool modified = editor->modified();
    const qsizetype start = editor->selStart();
    const qsizetype length = editor->selLength();
    QPointer<TEditForm> guard(&window);
    LoadBytesIntoEditor(window, encoded.bytes, [guard, start, length, modified](bool loaded, const auto&) {
        if (!guard || !loaded)
            return;
        guard->editor()->setSelection(start, length);
        guard->editor()->setModified(modified);
    });
}

} // namespace ordalvex
