#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ordalvex {

// The modeless find dialog: a search text, a whole-word option and a direction. It has no
// match-case option, so its searches always ignore case. Its text and options outlive closing
// it. Pressing "Znajdź następny" raises findNext(); "Anuluj" closes it.
class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent = nullptr);

    QString findText() const;
    void setFindText(const QString& text);
    bool wholeWord() const;
    void setWholeWord(bool on);
    bool down() const;
    void setDown(bool on);
    // The search options in force (frDown, frWholeWord of document/core/patternsearch.h).
    unsigned options() const;

Q_SIGNALS:
    void findNext();

protected:
    QLineEdit* m_findEdit = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
    QPushButton* m_findNextButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

// The modeless replace dialog: a search text, a replacement text and the whole-word option.
// It offers no direction: its options always hold frDown. Buttons raise findNext(),
// replace() and replaceAll(); "Anuluj" closes it.
class ReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReplaceDialog(QWidget* parent = nullptr);

    QString findText() const;
    void setFindText(const QString& text);
    QString replaceText() const;
    void setReplaceText(const QString& text);
    bool wholeWord() const;
    void setWholeWord(bool on);
    unsigned options() const;

Q_SIGNALS:
    void findNext();
    void replace();
    void replaceAll();

private:
    QLineEdit* m_findEdit = nullptr;
    QLineEdit* m_replaceEdit = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QPushButton* m_findNextButton = nullptr;
    QPushButton* m_replaceButton = nullptr;
    QPushButton* m_replaceAllButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace ordalvex
