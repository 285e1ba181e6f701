#pragma once

#include "document/core/formatsettings.h"

#include <QMainWindow>
#include <QStringList>

class QMdiArea;

namespace ordalvex {

class TEditForm;

// The main window: a multiple-document frame titled "Ordalvex" holding the document windows.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);

    FormatSettings Settings; // master copy handed to every document window

    QMdiArea* mdiArea() const { return m_mdiArea; }
    // Document windows, the active one first, then by how recently they were active.
    QList<TEditForm*> documents() const;
    TEditForm* activeDocument() const;

    // Creates an empty document window in the frame (it becomes the active one).
    TEditForm* createDocument();
    // Opens each existing file of `arguments` in a new document window, in order; arguments
    // that are not existing files are ignored.
    void openCommandLineFiles(const QStringList& arguments);

public Q_SLOTS:
    // Selection and undo state of the active document (0/1 and 0, 1, 10 or 11).
    void NotifyEditState(int selection, int undoRedo);

Q_SIGNALS:
    void editStateChanged(int selection, int undoRedo);

private:
    QMdiArea* m_mdiArea = nullptr;
};

} // namespace ordalvex
