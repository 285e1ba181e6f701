#include "shell/ui/finddialogs.h"

#include "document/core/patternsearch.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ordalvex {

namespace {

QLineEdit* makeEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMinimumWidth(200);
    return edit;
}

QPushButton* makeButton(QWidget* parent, const QString& text, const char* name) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

FindDialog::FindDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("Znajdowanie"));
    setModal(false);

    m_findEdit = makeEdit(this, "FindText");
    auto* label = new QLabel(QStringLiteral("Znajdź:"), this);
    label->setBuddy(m_findEdit);
    m_wholeWord = new QCheckBox(QStringLiteral("Tylko całe wyrazy"), this);
    m_wholeWord->setObjectName(QStringLiteral("WholeWord"));

    auto* direction = new QGroupBox(QStringLiteral("Kierunek"), this);
    direction->setObjectName(QStringLiteral("Direction"));
    m_up = new QRadioButton(QStringLiteral("W górę"), direction);
    m_up->setObjectName(QStringLiteral("Up"));
    m_down = new QRadioButton(QStringLiteral("W dół"), direction);
    m_down->setObjectName(QStringLiteral("Down"));
    m_down->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);

    m_findNextButton = makeButton(this, QStringLiteral("Znajdź następny"), "FindNextButton");
    m_findNextButton->setDefault(true);
    m_findNextButton->setEnabled(false);
    m_cancelButton = makeButton(this, QStringLiteral("Anuluj"), "CancelButton");

    auto* fields = new QGridLayout;
    fields->addWidget(label, 0, 0);
    fields->addWidget(m_findEdit, 0, 1, 1, 2);
    fields->addWidget(m_wholeWord, 1, 0, 1, 2, Qt::AlignBottom);
    fields->addWidget(direction, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNextButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // As in the platform's dialog, there is nothing to find until a text is typed.
    connect(m_findEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_findNextButton->setEnabled(!text.isEmpty()); });
    connect(m_findNextButton, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString FindDialog::findText() const {
    return m_findEdit->text();
}
void FindDialog::setFindText(const QString& text) {
    m_findEdit->setText(text);
    m_findEdit->selectAll();
}
bool FindDialog::wholeWord() const {
    return m_wholeWord->isChecked();
}
void FindDialog::setWholeWord(bool on) {
    m_wholeWord->setChecked(on);
}
bool FindDialog::down() const {
    return m_down->isChecked();
}
void FindDialog::setDown(bool on) {
    (on ? m_down : m_up)->setChecked(true);
}
unsigned FindDialog::options() const {
    return (down() ? frDown : 0u) | (wholeWord() ? frWholeWord : 0u);
}

ReplaceDialog::ReplaceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReplaceDialog"));
    setWindowTitle(QStringLiteral("Zamienianie"));
    setModal(false);

    m_findEdit = makeEdit(this, "FindText");
    auto* findLabel = new QLabel(QStringLiteral("Znajdź:"), this);
    findLabel->setBuddy(m_findEdit);
    m_replaceEdit = makeEdit(this, "ReplaceText");
    auto* replaceLabel = new QLabel(QStringLiteral("Zamień na:"), this);
    replaceLabel->setBuddy(m_replaceEdit);
    m_wholeWord = new QCheckBox(QStringLiteral("Tylko całe wyrazy"), this);
    m_wholeWord->setObjectName(QStringLiteral("WholeWord"));

    m_findNextButton = makeButton(this, QStringLiteral("Znajdź następny"), "FindNextButton");
    m_findNextButton->setDefault(true);
    m_replaceButton = makeButton(this, QStringLiteral("Zamień"), "ReplaceButton");
    m_replaceAllButton = makeButton(this, QStringLiteral("Zamień wszystko"), "ReplaceAllButton");
    m_cancelButton = makeButton(this, QStringLiteral("Anuluj"), "CancelButton");
    for (QPushButton* button : {m_findNextButton, m_replaceButton, m_replaceAllButton})
        button->setEnabled(false);

    auto* fields = new QGridLayout;
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_findEdit, 0, 1);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(m_replaceEdit, 1, 1);
    fields->addWidget(m_wholeWord, 2, 0, 1, 2);
    fields->setRowStretch(3, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNextButton);
    buttons->addWidget(m_replaceButton);
    buttons->addWidget(m_replaceAllButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_findEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        for (QPushButton* button : {m_findNextButton, m_replaceButton, m_replaceAllButton})
            button->setEnabled(!text.isEmpty());
    });
    connect(m_findNextButton, &QPushButton::clicked, this, &ReplaceDialog::findNext);
    connect(m_replaceButton, &QPushButton::clicked, this, &ReplaceDialog::replace);
    connect(m_replaceAllButton, &QPushButton::clicked, this, &ReplaceDialog::replaceAll);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString ReplaceDialog::findText() const {
    return m_findEdit->text();
}
void ReplaceDialog::setFindText(const QString& text) {
    m_findEdit->setText(text);
    m_findEdit->selectAll();
}
QString ReplaceDialog::replaceText() const {
    return m_replaceEdit->text();
}
void ReplaceDialog::setReplaceText(const QString& text) {
    m_replaceEdit->setText(text);
}
bool ReplaceDialog::wholeWord() const {
    return m_wholeWord->isChecked();
}
void ReplaceDialog::setWholeWord(bool on) {
    m_wholeWord->setChecked(on);
}
unsigned ReplaceDialog::options() const {
    return frDown | (wholeWord() ? frWholeWord : 0u);
}

} // namespace ordalvex
