#include "shell/ui/tmainform.h"

#include "document/ui/teditform.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QPointer>

namespace ordalvex {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Ordalvex"));
    setMinimumSize(750, 440);
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("ClientArea"));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    Settings.SyntaxHighlighting = true;
    Settings.SyntaxHighlightingOnWriting = true;
    Settings.FontName = QStringLiteral("Courier New");
    Settings.FontSize = 12;
}

QList<TEditForm*> TMainForm::documents() const {
    QList<TEditForm*> list;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList(QMdiArea::ActivationHistoryOrder)) {
        if (auto* document = qobject_cast<TEditForm*>(window))
            list.prepend(document);
    }
    return list;
}

TEditForm* TMainForm::activeDocument() const {
    return qobject_cast<TEditForm*>(m_mdiArea->activeSubWindow());
}

TEditForm* TMainForm::createDocument() {
    auto* document = new TEditForm();
    connect(document, &TEditForm::editStateChanged, this, &TMainForm::NotifyEditState);
    m_mdiArea->addSubWindow(document);
    document->show();
    m_mdiArea->setActiveSubWindow(document);
    return document;
}

void TMainForm::openCommandLineFiles(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (!QFileInfo(argument).isFile())
            continue;
        TEditForm* document = createDocument();
        QPointer<TEditForm> guard(document);
        document->OpenFile(QFileInfo(argument).absoluteFilePath());
        if (guard)
            document->ApplyFormat(Settings);
    }
}

void TMainForm::NotifyEditState(int selection, int undoRedo) {
    Q_EMIT editStateChanged(selection, undoRedo);
}

} // namespace ordalvex
