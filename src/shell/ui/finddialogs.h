#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ordalvex {

// What the find and replace dialogs share: the search text ("FindText"), the whole-word option,
// "Znajdź następny" raising findNext() and "Anuluj" closing the dialog. Modeless; its text
// and options outlive closing it.
class SearchTextDialog : public QDialog {
    Q_OBJECT
public:
    QString findText() const;
    void setFindText(const QString& text);
    bool wholeWord() const;
    void setWholeWord(bool on);

Q_SIGNALS:
    void findNext();

protected:
    SearchTextDialog(QWidget* parent, const char* objectName, const QString& caption);

    QLineEdit* m_findEdit = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QPushButton* m_findNextButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

// The find dialog: a search text, a whole-word option and a direction. It has no match-case
// option, so its searches always ignore case.
class FindDialog : public SearchTextDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent = nullptr);

    bool down() const;
    void setDown(bool on);
    // The search options in force (frDown, frWholeWord of document/core/patternsearch.h).
    unsigned options() const;

private:
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
};

// The replace dialog: a search text, a replacement text and the whole-word option. It offers
// no direction: its options always hold frDown. Its other buttons raise replace() and
// replaceAll().
class ReplaceDialog : public SearchTextDialog {
    Q_OBJECT
public:
    explicit ReplaceDialog(QWidget* parent = nullptr);

    QString replaceText() const;
    void setReplaceText(const QString& text);
    unsigned options() const;

Q_SIGNALS:
    void replace();
    void replaceAll();

private:
    QLineEdit* m_replaceEdit = nullptr;
    QPushButton* m_replaceButton = nullptr;
    QPushButton* m_replaceAllButton = nullptr;
};

} // namespace ordalvex
