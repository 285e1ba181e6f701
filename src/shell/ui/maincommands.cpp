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

namespace {

// Commands enabled by UpdateCommandState while at least one document window is open.
constexpr const char* kDocumentButtons[] = {"SaveSpeedButton",   "SaveAsSpeedButton",   "PrintSpeedButton",
                                            "FindSpeedButton",   "ReplaceSpeedButton",  "PrevSpeedButton",
                                            "NextSpeedButton",   "KropkiSpeedButton",   "SpSpeedButton",
                                            "UsunSpSpeedButton", "RenumberSpeedButton", "SendSpeedButton"};
constexpr const char* kDocumentItems[] = {
    "Zapisz1",        "Zapiszjako1",       "Zamknij1",    "Drukuj1",      "Zaznaczwszystko1", "Kaskada1",
    "Rozmiewpionie1", "Rozmiewpozziomie1", "Znajdz",      "Zamie1",       "Zamknijwszystkie", "Przenumeruj1",
    "Wstaw",          "Ususpacje",         "Wstawspacje", "Wyslijprogram"};

} // namespace

QAction* TMainForm::addItem(QMenu* menu, const char* name, const QString& caption,
                            const QKeySequence& shortcut, void (TMainForm::*handler)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    if (handler)
        connect(action, &QAction::triggered, this, handler);
    m_items.insert(action->objectName(), action);
    return action;
}

void TMainForm::addSecondShortcut(QAction* item, const QKeySequence& second) {
    const QKeySequence first = item->shortcut();
    item->setShortcuts({first, second});
    // A menu shows only the first shortcut by itself; text after a tab takes the place of it.
    item->setText(item->text() + QLatin1Char('\t') + first.toString(QKeySequence::NativeText) +
                  QStringLiteral(", ") + second.toString(QKeySequence::NativeText));
}

QToolButton* TMainForm::addButton(const char* name, const QString& hint, void (TMainForm::*handler)()) {
    auto* button = new QToolButton(m_buttonPanel);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setIcon(commandGlyph(button->objectName()));
    button->setIconSize(QSize(24, 24));
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, handler);
    m_buttonPanel->addWidget(button);
    m_buttons.insert(button->objectName(), button);
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
    addItem(plik, "Nowy1", QStringLiteral("&Nowy plik"), none, &TMainForm::NewSpeedButtonClick);
    // The desktop's common shortcuts work too, where no command of the program uses them.
    addSecondShortcut(addItem(plik, "Otwrz1", QStringLiteral("&Otwórz..."), QKeySequence(Qt::Key_F4),
                              &TMainForm::OpenSpeedButtonClick),
                      QKeySequence(Qt::CTRL | Qt::Key_O));
    addSecondShortcut(addItem(plik, "Zapisz1", QStringLiteral("&Zapisz"), QKeySequence(Qt::Key_F2),
                              &TMainForm::SaveSpeedButtonClick),
                      QKeySequence(Qt::CTRL | Qt::Key_S));
    addSecondShortcut(addItem(plik, "Zapiszjako1", QStringLiteral("Z&apisz jako..."),
                              QKeySequence(Qt::SHIFT | Qt::Key_F2), &TMainForm::SaveAsSpeedButtonClick),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    addItem(plik, "Zamknij1", QStringLiteral("Za&mknij"), none, &TMainForm::Zamknij1Click);
    addItem(plik, "Zamknijwszystkie", QStringLiteral("Zamknij &wszystkie"), none,
            &TMainForm::ZamknijwszystkieClick);
    plik->addSeparator();
    addItem(plik, "Przegldarkaplikw1", QStringLiteral("Przeglądarka plików"), QKeySequence(Qt::Key_F5),
            &TMainForm::Przegldarkaplikw1Click);
    plik->addSeparator();
    addItem(plik, "Ustawieniastrony1", QStringLiteral("&Ustawienia strony..."), none, nullptr);
    addSecondShortcut(addItem(plik, "Drukuj1", QStringLiteral("&Drukuj"), QKeySequence(Qt::Key_F12),
                              &TMainForm::PrintSpeedButtonClick),
                      QKeySequence(Qt::CTRL | Qt::Key_P));
    plik->addSeparator();
    addItem(plik, "Zakocz1", QStringLiteral("Za&kończ program"), QKeySequence(Qt::CTRL | Qt::Key_Q),
            &TMainForm::Zakocz1Click);

    QMenu* edycja = addMenu("Edycja1", QStringLiteral("&Edycja"));
    addItem(edycja, "Cofnij1", QStringLiteral("&Cofnij"), QKeySequence(Qt::CTRL | Qt::Key_Z),
            &TMainForm::Cofnij1Click);
    addItem(edycja, "Powtrz1", QStringLiteral("&Powtórz"), QKeySequence(Qt::CTRL | Qt::Key_Y),
            &TMainForm::Powtrz1Click);
    edycja->addSeparator();
    addItem(edycja, "Wytnij1", QStringLiteral("&Wytnij"), QKeySequence(Qt::CTRL | Qt::Key_X),
            &TMainForm::CutSpeedButtonClick);
    addItem(edycja, "Kopiuj1", QStringLiteral("&Kopiuj"), QKeySequence(Qt::CTRL | Qt::Key_C),
            &TMainForm::CopySpeedButtonClick);
    addItem(edycja, "Wklej1", QStringLiteral("Wkl&ej"), QKeySequence(Qt::CTRL | Qt::Key_V),
            &TMainForm::PasteSpeedButtonClick);
    addItem(edycja, "Usu1", QStringLiteral("&Usuń"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
            &TMainForm::Usu1Click);
    edycja->addSeparator();
    addItem(edycja, "Zaznaczwszystko1", QStringLiteral("&Zaznacz wszystko"),
            QKeySequence(Qt::CTRL | Qt::Key_A), &TMainForm::Zaznaczwszystko1Click);

    QMenu* wyszukaj = addMenu("Wyszukaj1", QStringLiteral("&Wyszukaj"));
    addItem(wyszukaj, "Znajdz", QStringLiteral("&Znajdź..."), QKeySequence(Qt::CTRL | Qt::Key_F),
            &TMainForm::FindSpeedButtonClick);
    addItem(wyszukaj, "Znajdnastpny", QStringLiteral("Z&najdź następny"), QKeySequence(Qt::Key_F3),
            &TMainForm::FindNextSpeedButtonClick);
    wyszukaj->addSeparator();
    addItem(wyszukaj, "Zamie1", QStringLiteral("Zamień..."), QKeySequence(Qt::CTRL | Qt::Key_R),
            &TMainForm::ReplaceSpeedButtonClick);

    QMenu* narzedzia = addMenu("narzdzia1", QStringLiteral("&Narzędzia"));
    addItem(narzedzia, "Obliczparametry", QStringLiteral("&Oblicz parametry skrawania"), none,
            &TMainForm::ObliczparametryClick);
    addItem(narzedzia, "Obliczwsprzdneotworwrozmieszczonychnaokrgu",
            QStringLiteral("Oblicz &współrzędne otworów rozmieszczonych na okręgu"), none,
            &TMainForm::ObliczwsprzdneotworwrozmieszczonychnaokrguClick);
    addItem(narzedzia, "Ktyitrjkty1",
            QStringLiteral("O&bliczanie długości boków i / lub kątów w trójkącie prostokątnym"), none,
            &TMainForm::Ktyitrjkty1Click);
    narzedzia->addSeparator();
    addItem(narzedzia, "Obliczfazki", QStringLiteral("&Przelicz mm/cale , cale/mm"), none,
            &TMainForm::ObliczfazkiClick);
    addItem(narzedzia, "Kalkulator", QStringLiteral("&Kalkulator Windows"), none,
            &TMainForm::KalkulatorClick);
    narzedzia->addSeparator();
    addItem(narzedzia, "Wstawspacje", QStringLiteral("Ws&taw spacje"), none, &TMainForm::WstawspacjeClick);
    addItem(narzedzia, "Ususpacje", QStringLiteral("&Usuń spacje"), none, &TMainForm::UsuspacjeClick);
    narzedzia->addSeparator();
    addItem(narzedzia, "Wstaw", QStringLiteral("W&staw kropki"), none, &TMainForm::WstawClick);
    narzedzia->addSeparator();
    addItem(narzedzia, "Przenumeruj1", QStringLiteral("Prz&enumeruj"), none,
            &TMainForm::RenumberSpeedButtonClick);

    QMenu* opcje = addMenu("Opcje1", QStringLiteral("&Opcje"));
    QAction* highlighting = addItem(opcje, "Podwietlajskadni", QStringLiteral("&Podświetlaj składnię"), none,
                                    &TMainForm::PodwietlajskadniClick);
    highlighting->setCheckable(true);
    highlighting->setChecked(true);
    QAction* onWriting =
        addItem(opcje, "Podwietlajskadniprzypisaniu", QStringLiteral("P&odświetlaj składnię przy pisaniu"),
                none, &TMainForm::PodwietlajskadniprzypisaniuClick);
    onWriting->setCheckable(true);
    onWriting->setChecked(true);
    opcje->addSeparator();
    addItem(opcje, "Czcionka", QStringLiteral("&Czcionka"), none, &TMainForm::CzcionkaClick);

    m_windowMenu = addMenu("Okno1", QStringLiteral("O&kno"));
    addItem(m_windowMenu, "Kaskada1", QStringLiteral("&Kaskada"), none, &TMainForm::Kaskada1Click);
    addItem(m_windowMenu, "Rozmiewpionie1", QStringLiteral("Rozmieść w &pionie"), none,
            &TMainForm::Rozmiewpionie1Click);
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

    addButton("NewSpeedButton", QStringLiteral("Nowy plik"), &TMainForm::NewSpeedButtonClick);
    addButton("OpenSpeedButton", QStringLiteral("Otwórz plik..."), &TMainForm::OpenSpeedButtonClick);
    addButton("SaveSpeedButton", QStringLiteral("Zapisz"), &TMainForm::SaveSpeedButtonClick);
    addButton("SaveAsSpeedButton", QStringLiteral("Zapisz jako..."), &TMainForm::SaveAsSpeedButtonClick);
    m_buttonPanel->addSeparator();
    addButton("PrintSpeedButton", QStringLiteral("Drukuj"), &TMainForm::PrintSpeedButtonClick);
    m_buttonPanel->addSeparator();
    addButton("CutSpeedButton", QStringLiteral("Wytnij"), &TMainForm::CutSpeedButtonClick);
    addButton("CopySpeedButton", QStringLiteral("Kopiuj"), &TMainForm::CopySpeedButtonClick);
    addButton("PasteSpeedButton", QStringLiteral("Wklej"), &TMainForm::PasteSpeedButtonClick);
    m_buttonPanel->addSeparator();
    addButton("FindSpeedButton", QStringLiteral("Znajdź..."), &TMainForm::FindSpeedButtonClick);
    addButton("FindNextSpeedButton", QStringLiteral("Znajdź następne"), &TMainForm::FindNextSpeedButtonClick);
    addButton("ReplaceSpeedButton", QStringLiteral("Zamień"), &TMainForm::ReplaceSpeedButtonClick);
    m_buttonPanel->addSeparator();
    addButton("DrillSpeedButton", QStringLiteral("Oblicz współrzędne otworów rozmieszczonych na okręgu"),
              &TMainForm::ObliczwsprzdneotworwrozmieszczonychnaokrguClick);
    addButton("TrigSpeedButton",
              QStringLiteral("Obliczanie długości boków i / lub kątów w trójkącie prostokątnym"),
              &TMainForm::Ktyitrjkty1Click);
    addButton("ParamSpeedButton", QStringLiteral("Oblicz parametry skrawania"),
              &TMainForm::ObliczparametryClick);
    addButton("SpeedButton1", QStringLiteral("Przelicz mm/cale , cale/mm"), &TMainForm::ObliczfazkiClick);
    addButton("CalcSpeedButton", QStringLiteral("Kalkulator Windows"), &TMainForm::KalkulatorClick);
    m_buttonPanel->addSeparator();
    addButton("KropkiSpeedButton", QStringLiteral("Wstaw kropki"), &TMainForm::WstawClick);
    addButton("SpSpeedButton", QStringLiteral("Wstaw spacje"), &TMainForm::WstawspacjeClick);
    addButton("UsunSpSpeedButton", QStringLiteral("Usuń spacje"), &TMainForm::UsuspacjeClick);
    m_buttonPanel->addSeparator();
    addButton("RenumberSpeedButton", QStringLiteral("Przenumeruj"), &TMainForm::RenumberSpeedButtonClick);
    m_buttonPanel->addSeparator();
    addButton("ComPortSpeedButton", QStringLiteral("Ustawienia portu RS232"),
              &TMainForm::ComPortSpeedButtonClick);
    createTransferCommands();
    m_buttonPanel->addSeparator();
    addButton("PrevSpeedButton", QStringLiteral("Poprzednie okno"), &TMainForm::PrevSpeedButtonClick);
    addButton("NextSpeedButton", QStringLiteral("Następne okno"), &TMainForm::NextSpeedButtonClick);
    m_buttonPanel->addSeparator();
    addButton("ExitSpeedButton", QStringLiteral("Wyjście"), &TMainForm::Zakocz1Click);

    // Everything that needs a document or a selection starts disabled; the first
    // UpdateCommandState at the end of start-up enables what applies.
    for (const char* name : kDocumentButtons)
        setEnabled(name, false);
    for (const char* name : kDocumentItems)
        setEnabled(name, false);
    for (const char* name :
         {"CutSpeedButton", "CopySpeedButton", "PasteSpeedButton", "FindNextSpeedButton", "Wytnij1",
          "Kopiuj1", "Wklej1", "Usu1", "Cofnij1", "Powtrz1", "Znajdnastpny", "Ustawieniastrony1"})
        setEnabled(name, false);
}

void TMainForm::setEnabled(const char* name, bool enabled) {
    const QString key = QString::fromLatin1(name);
    if (QAction* item = m_items.value(key))
        item->setEnabled(enabled);
    if (QToolButton* button = m_buttons.value(key))
        button->setEnabled(enabled);
}

QAction* TMainForm::menuItem(const QString& name) const {
    return m_items.value(name);
}

QToolButton* TMainForm::toolButton(const QString& name) const {
    return m_buttons.value(name);
}

bool TMainForm::clipboardHoldsText() const {
    return !interaction().clipboardText().isEmpty();
}

void TMainForm::UpdateCommandState() {
    const bool haveDocument = !documents().isEmpty();
    for (const char* name : kDocumentButtons)
        setEnabled(name, haveDocument);
    const bool paste = haveDocument && clipboardHoldsText();
    setEnabled("PasteSpeedButton", paste);
    setEnabled("Wklej1", paste);
    for (const char* name : kDocumentItems)
        setEnabled(name, haveDocument);
    m_status->follow(activeDocument());
}

int TMainForm::NotifyEditState(int selection, int undoRedo) {
    const bool selected = selection > 0;
    setEnabled("CutSpeedButton", selected);
    setEnabled("CopySpeedButton", selected);
    const bool paste = !documents().isEmpty() && clipboardHoldsText();
    setEnabled("PasteSpeedButton", paste);
    setEnabled("Wytnij1", selected);
    setEnabled("Kopiuj1", selected);
    setEnabled("Wklej1", paste);
    setEnabled("Usu1", selected);
    switch (undoRedo) {
    case 0:
    case 1:
    case 10:
    case 11:
        setEnabled("Cofnij1", undoRedo % 10 == 1);
        setEnabled("Powtrz1", undoRedo >= 10);
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
