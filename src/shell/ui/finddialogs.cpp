#include "shell/ui/finddialogs.h"

#include "common/ui/widgethelpers.h"
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
    QLineEdit* edit = makeField(parent, name);
    edit->setMinimumWidth(200);
    return edit;
}

// Tab moves through `widgets` in the order given.
void chainTabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace

SearchTextDialog::SearchTextDialog(QWidget* parent, const char* objectName, const QString& caption)
    : QDialog(parent) {
    setObjectName(QLatin1String(objectName));
    setWindowTitle(caption);
    setModal(false);
    m_findEdit = makeEdit(this, "FindText");
    m_wholeWord = new QCheckBox(QStringLiteral("Tylko całe wyrazy"), this);
    m_wholeWord->setObjectName(QStringLiteral("WholeWord"));
    m_findNextButton = makeButton(this, "FindNextButton", QStringLiteral("Znajdź następny"));
    m_findNextButton->setDefault(true);
    m_findNextButton->setEnabled(false);
    m_cancelButton = makeButton(this, "CancelButton", QStringLiteral("Anuluj"));
    connect(m_findNextButton, &QPushButton::clicked, this, &SearchTextDialog::findNext);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString SearchTextDialog::findText() const {
    return m_findEdit->text();
}
void SearchTextDialog::setFindText(const QString& text) {
    m_findEdit->setText(text);
    m_findEdit->selectAll();
}
bool SearchTextDialog::wholeWord() const {
    return m_wholeWord->isChecked();
}
void SearchTextDialog::setWholeWord(bool on) {
    m_wholeWord->setChecked(on);
}

FindDialog::FindDialog(QWidget* parent)
    : SearchTextDialog(parent, "FindDialog", QStringLiteral("Znajdowanie")) {
    auto* label = new QLabel(QStringLiteral("Znajdź:"), this);
    label->setBuddy(m_findEdit);

    auto* direction = new QGroupBox(QStringLiteral("Kierunek"), this);
    direction->setObjectName(QStringLiteral("Direction"));
    m_up = makeRadio(direction, "Up", QStringLiteral("W górę"));
    m_down = makeRadio(direction, "Down", QStringLiteral("W dół"));
    m_down->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);

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
    // Tab goes down the fields, then down the buttons.
    chainTabOrder({m_findEdit, m_wholeWord, m_up, m_down, m_findNextButton, m_cancelButton});

    // As in the platform's dialog, there is nothing to find until a text is typed.
    connect(m_findEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_findNextButton->setEnabled(!text.isEmpty()); });
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

ReplaceDialog::ReplaceDialog(QWidget* parent)
    : SearchTextDialog(parent, "ReplaceDialog", QStringLiteral("Zamienianie")) {
    auto* findLabel = new QLabel(QStringLiteral("Znajdź:"), this);
    findLabel->setBuddy(m_findEdit);
    m_replaceEdit = makeEdit(this, "ReplaceText");
    auto* replaceLabel = new QLabel(QStringLiteral("Zamień na:"), this);
    replaceLabel->setBuddy(m_replaceEdit);
    m_replaceButton = makeButton(this, "ReplaceButton", QStringLiteral("Zamień"));
    m_replaceAllButton = makeButton(this, "ReplaceAllButton", QStringLiteral("Zamień wszystko"));
    m_replaceButton->setEnabled(false);
    m_replaceAllButton->setEnabled(false);

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
    chainTabOrder({m_findEdit, m_replaceEdit, m_wholeWord, m_findNextButton, m_replaceButton,
                   m_replaceAllButton, m_cancelButton});

    connect(m_findEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        for (QPushButton* button : {m_findNextButton, m_replaceButton, m_replaceAllButton})
            button->setEnabled(!text.isEmpty());
    });
    connect(m_replaceButton, &QPushButton::clicked, this, &ReplaceDialog::replace);
    connect(m_replaceAllButton, &QPushButton::clicked, this, &ReplaceDialog::replaceAll);
}

QString ReplaceDialog::replaceText() const {
    return m_replaceEdit->text();
}
void ReplaceDialog::setReplaceText(const QString& text) {
    m_replaceEdit->setText(text);
}
unsigned ReplaceDialog::options() const {
    return frDown | (wholeWord() ? frWholeWord : 0u);
}

} // namespace ordalvex
