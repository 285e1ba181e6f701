#include "document/ui/loadintoeditor.h"

#include "common/core/codepage.h"
#include "common/ui/backgroundwork.h"
#include "common/ui/userinteraction.h"
#include "document/core/highlighter.h"
#include "document/core/rtfreader.h"
#include "document/ui/richtextbuilder.h"
#include "document/ui/searcheditor.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"

#include <mutex>

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QSaveFile>
#include <QTextDocument>
#include <QThread>

namespace ordalvex {

namespace {

// Loads that run at once in several windows share the fixed temporary file name; each
// writes, reads back and deletes it under this lock.
std::mutex& temporaryFileLock() {
    static std::mutex lock;
    return lock;
}

bool readWhole(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

bool writeWhole(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool ok =
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
    file.close();
    return ok && file.error() == QFileDevice::NoError;
}

struct DocumentLoad {
    QString source;
    bool coloured = true;
    QString temporary;
    std::string fontName;
    int fontSize = 0;
    QFont fallbackFont;
    QThread* target = nullptr;
    // Results.
    std::unique_ptr<QTextDocument> document;
    std::optional<QString> programName;
    bool ok = false;

    // Runs off the interface thread: read the file, build the document (coloured or plain),
    // find the program name in it, hand the document over. Each big buffer is freed as soon as
    // the next step has what it needs: a long program's peak memory is their sum.
    void run() {
        QByteArray text;
        if (!readWhole(source, text))
            return;
        if (coloured) {
            document = colour(std::move(text));
        } else {
            QString decoded =
                cp1250::decode(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
            text = QByteArray();
            document = buildPlainDocument(std::move(decoded), fallbackFont);
        }
        if (!document)
            return;
        // Before the line layouts exist, so that the text's copy and theirs never add up.
        programName = programNameIn(documentBytes(*document));
        handOverDocument(*document, target);
        ok = true;
    }

    // Colours the text, writes the RTF to the temporary file, reads it back, builds the document.
    std::unique_ptr<QTextDocument> colour(QByteArray text) {
        std::string rtf;
        highlightToRtf(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), rtf,
                       fontName, fontSize);
        text = QByteArray();
        QByteArray written;
        {
            std::lock_guard guard(temporaryFileLock());
            if (!writeWhole(temporary, rtf))
                return nullptr;
            rtf = std::string();
            const bool readBack = readWhole(temporary, written);
            if (!QFile::remove(temporary) || !readBack)
                return nullptr;
        }
        const RtfReadResult read =
            readRtf(std::string_view(written.constData(), static_cast<std::size_t>(written.size())));
        written = QByteArray();
        return read.document ? buildDocument(*read.document, fallbackFont) : nullptr;
    }
};

void failLoad(TEditForm& window) {
    showMessage(&window, QMessageBox::Critical, QStringLiteral("Błąd"), loadErrorText());
    window.close();
}

} // namespace

QString loadErrorText() {
    return QStringLiteral("Błąd przy wczytywaniu pliku !\rSprawdź czy masz uprawnienia do czytania z pliku.");
}

// Marks the window busy for the length of a load, so that a close or a new format meanwhile
// waits for its end.
class LoadScope {
public:
    explicit LoadScope(TEditForm& window) : m_window(&window) { ++window.m_loading; }
    ~LoadScope() {
        if (!m_window || --m_window->m_loading != 0)
            return;
        if (m_window->m_closeDeferred) {
            m_window->m_closeDeferred = false;
            m_window->m_pendingFormat.reset();
            QMetaObject::invokeMethod(m_window, &QWidget::close, Qt::QueuedConnection);
        } else if (m_window->m_pendingFormat) {
            TEditForm* window = m_window;
            QMetaObject::invokeMethod(
                window,
                [window] {
                    if (!window->m_pendingFormat || window->isLoading())
                        return;
                    const FormatSettings settings = *window->m_pendingFormat;
                    window->m_pendingFormat.reset();
                    window->ApplyFormat(settings);
                },
                Qt::QueuedConnection);
        }
    }

private:
    QPointer<TEditForm> m_window;
};

bool LoadIntoEditor(TEditForm& window, const QString& path, std::optional<QString>* programName) {
    TRichEdit98* editor = window.editor();
    const bool coloured = window.Settings.SyntaxHighlighting;
    // A second load could only run inside the first one's event loop, and waiting there for
    // the first to end would wait for ever.
    if (window.isLoading()) {
        beep();
        return false;
    }
    QPointer<TEditForm> guard(&window);
    bool loaded = false;
    {
        LoadScope scope(window);
        // The editor keeps painting its present text meanwhile (a new window would otherwise
        // stay an unpainted hole until the end of a long load).
        editor->setBusyCursor(true);
        const bool wasReadOnly = editor->isReadOnly();
        editor->setReadOnly(true); // typing into a text about to be replaced would be lost

        auto job = std::make_shared<DocumentLoad>();
        job->source = path;
        job->coloured = coloured;
        job->temporary = window.TempDir + QStringLiteral("Edytor.tmp");
        const auto fontName = cp1250::encode(window.Settings.FontName);
        job->fontName = fontName.ok() ? fontName.bytes : std::string("Courier New");
        job->fontSize = window.Settings.FontSize;
        job->fallbackFont = editor->font();
        job->target = QThread::currentThread();

        // The interface keeps handling events while the worker builds the text.
        runInBackground([job] { job->run(); });

        if (!guard)
            return false;
        editor->setBusyCursor(false);
        editor->setReadOnly(wasReadOnly);
        if (job->ok) {
            editor->setPlainRtf(!coloured);
            if (programName)
                *programName = job->programName;
            editor->adoptDocument(std::move(job->document));
            if (!coloured)
                editor->setDefaultFormat(); // what is typed into an empty text is plain too
            loaded = true;
        }
    }
    if (!loaded) {
        failLoad(window);
        return false;
    }
    return true;
}

void Rehighlight(TEditForm& window) {
    TRichEdit98* editor = window.editor();
    const bool modified = editor->modified();
    const qsizetype start = editor->selStart();
    const qsizetype length = editor->selLength();
    const QString temporary = window.TempDir + QStringLiteral("Syntax.tmp");

    const auto encoded = cp1250::encode(editor->text());
    // Characters without a Windows-1250 byte would be lost through the file: keep the text.
    if (!encoded.ok())
        return;
    QSaveFile file(temporary);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(encoded.bytes.data(), static_cast<qint64>(encoded.bytes.size())) !=
            static_cast<qint64>(encoded.bytes.size()) ||
        !file.commit()) {
        failLoad(window);
        return;
    }
    QPointer<TEditForm> guard(&window);
    const bool loaded = LoadIntoEditor(window, temporary);
    if (!QFile::remove(temporary))
        showMessage(guard, QMessageBox::Warning, QStringLiteral("Ostrzeżenie"),
                    QStringLiteral("Nie można usunąć pliku tymczasowego !"));
    if (!guard || !loaded)
        return;
    editor->setSelection(start, length);
    editor->setModified(modified);
}

} // namespace ordalvex
