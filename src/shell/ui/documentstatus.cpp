#include "shell/ui/documentstatus.h"

#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"

#include <QLabel>
#include <QStatusBar>

namespace ordalvex {

namespace {

QLabel* addField(QStatusBar* bar, const char* name) {
    auto* field = new QLabel(bar);
    field->setObjectName(QString::fromLatin1(name));
    // Permanent fields stay on the right and are not covered by passing messages.
    bar->addPermanentWidget(field);
    return field;
}

} // namespace

DocumentStatus::DocumentStatus(QStatusBar* bar) : QObject(bar) {
    m_caret = addField(bar, "CaretStatus");
    m_lines = addField(bar, "LinesStatus");
    m_modified = addField(bar, "ModifiedStatus");
}

void DocumentStatus::follow(TEditForm* document) {
    if (document == m_document && (document || m_connections.isEmpty())) {
        update();
        return;
    }
    for (const QMetaObject::Connection& connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_document = document;
    if (document) {
        TRichEdit98* editor = document->editor();
        // Caret moves and selections; the text and its modified flag.
        m_connections.append(connect(editor, &TRichEdit98::selectionChange, this, &DocumentStatus::update));
        m_connections.append(connect(editor, &TRichEdit98::textChanged, this, &DocumentStatus::update));
        m_connections.append(
            connect(editor, &TRichEdit98::modificationChanged, this, &DocumentStatus::update));
    }
    update();
}

void DocumentStatus::update() {
    if (!m_document) {
        m_caret->clear();
        m_lines->clear();
        m_modified->clear();
        return;
    }
    const TRichEdit98* editor = m_document->editor();
    m_caret->setText(
        QStringLiteral("Wiersz %1, kolumna %2").arg(editor->caretLine() + 1).arg(editor->caretColumn() + 1));
    m_lines->setText(QStringLiteral("Wierszy: %1").arg(editor->lineCount()));
    m_modified->setText(editor->modified() ? QStringLiteral("Zmieniony") : QString());
}

} // namespace ordalvex
