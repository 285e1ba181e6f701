#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QLabel;
class QStatusBar;

namespace ordalvex {

class TEditForm;

// The main window's status bar for one document window at a time: the caret's line and column
// (from 1), the number of lines of the program and whether it is modified. Empty while no
// document window is followed.
class DocumentStatus : public QObject {
    Q_OBJECT
public:
    // Adds its fields to `bar`, which owns them.
    explicit DocumentStatus(QStatusBar* bar);

    // Follows `document` from now on (nullptr: none); following the same one again does nothing.
    void follow(TEditForm* document);

private:
    void update();

    QLabel* m_caret = nullptr;
    QLabel* m_lines = nullptr;
    QLabel* m_modified = nullptr;
    QPointer<TEditForm> m_document;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace ordalvex
