#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace ordalvex {

// The about box: program icon, name, description and version in a bevelled panel, and an OK
// button. Fixed size, centred on the screen, caption "O programie".
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QFrame* panel() const { return m_panel; }
    QLabel* comments() const { return m_comments; }
    QLabel* version() const { return m_version; }

    // Sizes each label to its text and stacks them centred in the panel (done on creation).
    void layoutLabels();

    // Left of a label of `labelWidth` centred in a panel of `panelWidth` (both halves
    // truncated toward zero).
    static int centredLeft(int panelWidth, int labelWidth);

private:
    QFrame* m_panel = nullptr;
    QLabel* m_programIcon = nullptr;
    QLabel* m_productName = nullptr;
    QLabel* m_comments = nullptr;
    QLabel* m_version = nullptr;
    QPushButton* m_okButton = nullptr;
};

// The about command: shows a new about box modally over `parent` and destroys it afterwards.
void showAboutBox(QWidget* parent);

} // namespace ordalvex
