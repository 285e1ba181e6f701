#pragma once

#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>

namespace ordalvex::testing {

// True while some document window loads, colours or puts back a text, or some editor still
// applies the formats of a loaded text.
inline bool editorsBusy() {
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* form = qobject_cast<TEditForm*>(widget); form && form->isLoading())
            return true;
        if (auto* editor = qobject_cast<TRichEdit98*>(widget); editor && editor->stylingPending())
            return true;
    }
    return false;
}

// Lets the event loop run until every load, colouring and text put back has finished (the
// work runs on workers and ends by a queued call); false when that takes over `timeoutMs`.
inline bool waitForEditors(int timeoutMs = 30000) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        // A finished load may queue more work (a format that waited for it): look twice.
        QCoreApplication::processEvents();
        if (!editorsBusy()) {
            QCoreApplication::processEvents();
            if (!editorsBusy())
                return true;
        }
        if (deadline.hasExpired())
            return false;
        QTest::qWait(2);
    }
}

} // namespace ordalvex::testing
