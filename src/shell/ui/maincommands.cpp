// The main window's menu and tool bar, and the routines that enable their commands.
#include "common/ui/userinteraction.h"
#include "document/ui/teditform.h"
#include "shell/ui/commandglyphs.h"
#include "shell/ui/documentstatus.h"
#include "shell/ui/tmainform.h"

#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace ordalvex {

QAction* TMainForm::addItem(QMenu* menu, const char* name, const QString& caption,
                            const QKeySequence& shortcut, void (TMainForm::*handler)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    if (handler)
        connect(action, &QAction::triggered, this, handler);
    return action;
}

QAction* TMainForm::addCommand(const char* name, void (TMainForm::*handler)()) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TMainForm::addSecondShortcut(QAction* item, const QKeySequence& second) {
    const QKeySequence first = item->shortcut();
    item->setShortcuts({first, second});
    // A menu shows only the first shortcut by itself; text after a tab takes the place of it.
    item->setText(item->text() + QLatin1Char('\t') + first.toString(QKeySequence::NativeText) +
                  QStringLiteral(", ") + second.toString(QKeySequence::NativeText));
}

QToolButton* TMainForm::addButton(const char* name, const QString& hint, QAction* command) {
    auto* button = new QToolButton(m_buttonPanel);
    button->setObjectName(QString::fromLatin1(name));
    // The button shows its command's glyph and hint; the menu item shows its caption only.
    command->setIcon(commandGlyph(button->objectName()));
    command->setIconVisibleInMenu(false);
    command->setToolTip(hint);
    button->setDefaultAction(command);
    button->setAutoRaise(true);
    button->setIconSize(QSize(24, 24));
    button->setFocusPolicy(Qt::NoFocus);
    m_buttonPanel->addWidget(button);
    return button;
}

void TMainForm::createCommands() {
    QMenuBar* bar = menuBar();
    auto addMenu = [bar](const char* name, const QString& caption) {
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    const QKeySequence none;

    QMenu* plik = addMenu("Plik1", QStringLiteral("&Plik"));
    QAction* newFile =
        addItem(plik, "Nowy1", QStringLiteral("&Nowy plik"), none, &TMainForm::NewSpeedButtonClick);
    // The desktop's common shortcuts work too, where no command of the program uses them.
    QAction* open = addItem(plik, "Otwrz1", QStringLiteral("&Otwórz..."), QKeySequence(Qt::Key_F4),
                            &TMainForm::OpenSpeedButtonClick);
    addSecondShortcut(open, QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction* save = addItem(plik, "Zapisz1", QStringLiteral("&Zapisz"), QKeySequence(Qt::Key_F2),
                            &TMainForm::SaveSpeedButtonClick);
    addSecondShortcut(save, QKeySequence(Qt::CTRL | Qt::Key_S));
    QAction* saveAs = addItem(plik, "Zapiszjako1", QStringLiteral("Z&apisz jako..."),
                              QKeySequence(Qt::SHIFT | Qt::Key_F2), &TMainForm::SaveAsSpeedButtonClick);
    addSecondShortcut(saveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QAction* close = addItem(plik, "Zamknij1", QStringLiteral("Za&mknij"), none, &TMainForm::Zamknij1Click);
    QAction* closeAll = addItem(plik, "Zamknijwszystkie", QStringLiteral("Zamknij &wszystkie"), none,
                                &TMainForm::ZamknijwszystkieClick);
    plik->addSeparator();
    addItem(plik, "Przegldarkaplikw1", QStringLiteral("Przeglądarka plików"), QKeySequence(Qt::Key_F5),
            &TMainForm::Przegldarkaplikw1Click);
    plik->addSeparator();
    // Page setup is not offered: printing asks for the page in its own dialog.
    addItem(plik, "Ustawieniastrony1", QStringLiteral("&Ustawienia strony..."), none, nullptr)
        ->setEnabled(false);
    QAction* print = addItem(plik, "Drukuj1", QStringLiteral("&Drukuj"), QKeySequence(Qt::Key_F12),
                             &TMainForm::PrintSpeedButtonClick);
    addSecondShortcut(print, QKeySequence(Qt::CTRL | Qt::Key_P));
    plik->addSeparator();
    QAction* quit = addItem(plik, "Zakocz1", QStringLiteral("Za&kończ program"),
                            QKeySequence(Qt::CTRL | Qt::Key_Q), &TMainForm::Zakocz1Click);

    QMenu* edycja = addMenu("Edycja1", QStringLiteral("&Edycja"));
    m_undo = addItem(edycja, "Cofnij1", QStringLiteral("&Cofnij"), QKeySequence(Qt::CTRL | Qt::Key_Z),
                     &TMainForm::Cofnij1Click);
    m_redo = addItem(edycja, "Powtrz1", QStringLiteral("&Powtórz"), QKeySequence(Qt::CTRL | Qt::Key_Y),
                     &TMainForm::Powtrz1Click);
    edycja->addSeparator();
    m_cut = addItem(edycja, "Wytnij1", QStringLiteral("&Wytnij"), QKeySequence(Qt::CTRL | Qt::Key_X),
                    &TMainForm::CutSpeedButtonClick);
    m_copy = addItem(edycja, "Kopiuj1", QStringLiteral("&Kopiuj"), QKeySequence(Qt::CTRL | Qt::Key_C),
                     &TMainForm::CopySpeedButtonClick);
    m_paste = addItem(edycja, "Wklej1", QStringLiteral("Wkl&ej"), QKeySequence(Qt::CTRL | Qt::Key_V),
                      &TMainForm::PasteSpeedButtonClick);
    m_delete = addItem(edycja, "Usu1", QStringLiteral("&Usuń"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
                       &TMainForm::Usu1Click);
    edycja->addSeparator();
    QAction* selectAll = addItem(edycja, "Zaznaczwszystko1", QStringLiteral("&Zaznacz wszystko"),
                                 QKeySequence(Qt::CTRL | Qt::Key_A), &TMainForm::Zaznaczwszystko1Click);

    QMenu* wyszukaj = addMenu("Wyszukaj1", QStringLiteral("&Wyszukaj"));
    QAction* find = addItem(wyszukaj, "Znajdz", QStringLiteral("&Znajdź..."),
                            QKeySequence(Qt::CTRL | Qt::Key_F), &TMainForm::FindSpeedButtonClick);
    m_findNext = addItem(wyszukaj, "Znajdnastpny", QStringLiteral("Z&najdź następny"),
                         QKeySequence(Qt::Key_F3), &TMainForm::FindNextSpeedButtonClick);
    wyszukaj->addSeparator();
    QAction* replace = addItem(wyszukaj, "Zamie1", QStringLiteral("Zamień..."),
                               QKeySequence(Qt::CTRL | Qt::Key_R), &TMainForm::ReplaceSpeedButtonClick);

    QMenu* narzedzia = addMenu("narzdzia1", QStringLiteral("&Narzędzia"));
    m_toolsMenu = narzedzia;
    QAction* cutting = addItem(narzedzia, "Obliczparametry", QStringLiteral("&Oblicz parametry skrawania"),
                               none, &TMainForm::ObliczparametryClick);
    QAction* boltCircle = addItem(narzedzia, "Obliczwsprzdneotworwrozmieszczonychnaokrgu",
                                  QStringLiteral("Oblicz &współrzędne otworów rozmieszczonych na okręgu"),
                                  none, &TMainForm::ObliczwsprzdneotworwrozmieszczonychnaokrguClick);
    QAction* triangle =
        addItem(narzedzia, "Ktyitrjkty1",
                QStringLiteral("O&bliczanie długości boków i / lub kątów w trójkącie prostokątnym"), none,
                &TMainForm::Ktyitrjkty1Click);
    narzedzia->addSeparator();
    QAction* converter = addItem(narzedzia, "Obliczfazki", QStringLiteral("&Przelicz mm/cale , cale/mm"),
                                 none, &TMainForm::ObliczfazkiClick);
    QAction* calculator = addItem(narzedzia, "Kalkulator", QStringLiteral("&Kalkulator Windows"), none,
                                  &TMainForm::KalkulatorClick);
    narzedzia->addSeparator();
    QAction* insertSpaces = addItem(narzedzia, "Wstawspacje", QStringLiteral("Ws&taw spacje"), none,
                                    &TMainForm::WstawspacjeClick);
    QAction* removeSpaces =
        addItem(narzedzia, "Ususpacje", QStringLiteral("&Usuń spacje"), none, &TMainForm::UsuspacjeClick);
    narzedzia->addSeparator();
    QAction* insertDots =
        addItem(narzedzia, "Wstaw", QStringLiteral("W&staw kropki"), none, &TMainForm::WstawClick);
    narzedzia->addSeparator();
    QAction* renumber = addItem(narzedzia, "Przenumeruj1", QStringLiteral("Prz&enumeruj"), none,
                                &TMainForm::RenumberSpeedButtonClick);

    QMenu* opcje = addMenu("Opcje1", QStringLiteral("&Opcje"));
    m_highlighting = addItem(opcje, "Podwietlajskadni", QStringLiteral("&Podświetlaj składnię"), none,
                             &TMainForm::PodwietlajskadniClick);
    m_highlighting->setCheckable(true);
    m_highlighting->setChecked(true);
    m_highlightingOnWriting =
        addItem(opcje, "Podwietlajskadniprzypisaniu", QStringLiteral("P&odświetlaj składnię przy pisaniu"),
                none, &TMainForm::PodwietlajskadniprzypisaniuClick);
    m_highlightingOnWriting->setCheckable(true);
    m_highlightingOnWriting->setChecked(true);
    opcje->addSeparator();
    addItem(opcje, "Czcionka", QStringLiteral("&Czcionka"), none, &TMainForm::CzcionkaClick);

    m_windowMenu = addMenu("Okno1", QStringLiteral("O&kno"));
    QAction* cascade =
        addItem(m_windowMenu, "Kaskada1", QStringLiteral("&Kaskada"), none, &TMainForm::Kaskada1Click);
    QAction* tileVertically = addItem(m_windowMenu, "Rozmiewpionie1", QStringLiteral("Rozmieść w &pionie"),
                                      none, &TMainForm::Rozmiewpionie1Click);
    QAction* tileHorizontally =
        addItem(m_windowMenu, "Rozmiewpozziomie1", QStringLiteral("Rozmieść w po&ziomie"), none,
                &TMainForm::Rozmiewpozziomie1Click);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &TMainForm::fillWindowMenu);

    QMenu* pomoc = addMenu("Oprogramie1", QStringLiteral("Po&moc"));
    addItem(pomoc, "Oprogramie2", QStringLiteral("&O programie"), none, &TMainForm::Oprogramie2Click);

    m_buttonPanel = new QToolBar(this);
    m_buttonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    m_buttonPanel->setMovable(false);
    m_buttonPanel->setFloatable(false);
    m_buttonPanel->setFixedHeight(36);
    m_buttonPanel->toggleViewAction()->setVisible(false);
    m_buttonPanel->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, m_buttonPanel);

    addButton("NewSpeedButton", QStringLiteral("Nowy plik"), newFile);
    addButton("OpenSpeedButton", QStringLiteral("Otwórz plik..."), open);
    addButton("SaveSpeedButton", QStringLiteral("Zapisz"), save);
    addButton("SaveAsSpeedButton", QStringLiteral("Zapisz jako..."), saveAs);
    m_buttonPanel->addSeparator();
    addButton("PrintSpeedButton", QStringLiteral("Drukuj"), print);
    m_buttonPanel->addSeparator();
    addButton("CutSpeedButton", QStringLiteral("Wytnij"), m_cut);
    addButton("CopySpeedButton", QStringLiteral("Kopiuj"), m_copy);
    addButton("PasteSpeedButton", QStringLiteral("Wklej"), m_paste);
    m_buttonPanel->addSeparator();
    addButton("FindSpeedButton", QStringLiteral("Znajdź..."), find);
    addButton("FindNextSpeedButton", QStringLiteral("Znajdź następne"), m_findNext);
    addButton("ReplaceSpeedButton", QStringLiteral("Zamień"), replace);
    m_buttonPanel->addSeparator();
    addButton("DrillSpeedButton", QStringLiteral("Oblicz współrzędne otworów rozmieszczonych na okręgu"),
              boltCircle);
    addButton("TrigSpeedButton",
              QStringLiteral("Obliczanie długości boków i / lub kątów w trójkącie prostokątnym"), triangle);
    addButton("ParamSpeedButton", QStringLiteral("Oblicz parametry skrawania"), cutting);
    addButton("SpeedButton1", QStringLiteral("Przelicz mm/cale , cale/mm"), converter);
    addButton("CalcSpeedButton", QStringLiteral("Kalkulator Windows"), calculator);
    m_buttonPanel->addSeparator();
    addButton("KropkiSpeedButton", QStringLiteral("Wstaw kropki"), insertDots);
    addButton("SpSpeedButton", QStringLiteral("Wstaw spacje"), insertSpaces);
    addButton("UsunSpSpeedButton", QStringLiteral("Usuń spacje"), removeSpaces);
    m_buttonPanel->addSeparator();
    addButton("RenumberSpeedButton", QStringLiteral("Przenumeruj"), renumber);
    m_buttonPanel->addSeparator();
    m_comPort = addCommand("ComPortSpeedButton", &TMainForm::ComPortSpeedButtonClick);
    addButton("ComPortSpeedButton", QStringLiteral("Ustawienia portu RS232"), m_comPort);
    QAction* send = createTransferCommands();
    m_buttonPanel->addSeparator();
    QAction* previous = addCommand("PrevSpeedButton", &TMainForm::PrevSpeedButtonClick);
    addButton("PrevSpeedButton", QStringLiteral("Poprzednie okno"), previous);
    QAction* next = addCommand("NextSpeedButton", &TMainForm::NextSpeedButtonClick);
    addButton("NextSpeedButton", QStringLiteral("Następne okno"), next);
    m_buttonPanel->addSeparator();
    addButton("ExitSpeedButton", QStringLiteral("Wyjście"), quit);

    // Everything that needs a document or a selection starts disabled; the first
    // UpdateCommandState at the end of start-up enables what applies.
    m_documentCommands = {save, saveAs,  close,          closeAll,         print,      selectAll,
                          find, replace, insertSpaces,   removeSpaces,     insertDots, renumber,
                          send, cascade, tileVertically, tileHorizontally, previous,   next};
    for (QAction* command : std::as_const(m_documentCommands))
        command->setEnabled(false);
    for (QAction* command : {m_undo, m_redo, m_cut, m_copy, m_paste, m_delete, m_findNext})
        command->setEnabled(false);
}

QAction* TMainForm::menuItem(const QString& name) const {
    return findChild<QAction*>(name);
}

QToolButton* TMainForm::toolButton(const QString& name) const {
    return m_buttonPanel->findChild<QToolButton*>(name);
}

bool TMainForm::clipboardHoldsText() const {
    return !interaction().clipboardText().isEmpty();
}

void TMainForm::UpdateCommandState() {
    const bool haveDocument = !documents().isEmpty();
    for (QAction* command : std::as_const(m_documentCommands))
        command->setEnabled(haveDocument);
    m_paste->setEnabled(haveDocument && clipboardHoldsText());
    m_status->follow(activeDocument());
}

int TMainForm::NotifyEditState(int selection, int undoRedo) {
    const bool selected = selection > 0;
    m_cut->setEnabled(selected);
    m_copy->setEnabled(selected);
    m_delete->setEnabled(selected);
    m_paste->setEnabled(!documents().isEmpty() && clipboardHoldsText());
    switch (undoRedo) {
    case 0:
    case 1:
    case 10:
    case 11:
        m_undo->setEnabled(undoRedo % 10 == 1);
        m_redo->setEnabled(undoRedo >= 10);
        break;
    default:
        break;
    }
    return 0;
}

void TMainForm::fillWindowMenu() {
    for (QAction* item : std::as_const(m_windowListItems)) {
        m_windowMenu->removeAction(item);
        delete item;
    }
    m_windowListItems.clear();
    const QList<TEditForm*> windows = documents();
    if (windows.isEmpty())
        return;
    m_windowListItems.append(m_windowMenu->addSeparator());
    TEditForm* active = activeDocument();
    // Listed in the order the windows were made, as a window menu of a document frame does.
    for (QMdiSubWindow* window : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        auto* document = qobject_cast<TEditForm*>(window);
        if (!document || !windows.contains(document))
            continue;
        QAction* item = m_windowMenu->addAction(document->windowTitle());
        item->setCheckable(true);
        item->setChecked(document == active);
        connect(item, &QAction::triggered, this, [this, guard = QPointer<TEditForm>(document)] {
            if (guard)
                raiseToTop(guard);
        });
        m_windowListItems.append(item);
    }
}

} // namespace ordalvex
