#include "serial/ui/radiogroup.h"

#include <algorithm>

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace ordalvex {

RadioGroup::RadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(title, parent), m_buttons(new QButtonGroup(this)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->setHorizontalSpacing(0);
    layout->setVerticalSpacing(0);
    columns = std::max(columns, 1);
    const auto rows = (items.size() + columns - 1) / columns;
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        m_buttons->addButton(button, static_cast<int>(i));
        // Items run down the first column, then down the next.
        layout->addWidget(button, static_cast<int>(i % rows), static_cast<int>(i / rows));
    }
    connect(m_buttons, &QButtonGroup::idClicked, this, [this] { Q_EMIT clicked(); });
}

int RadioGroup::count() const {
    return static_cast<int>(m_buttons->buttons().size());
}

int RadioGroup::itemIndex() const {
    return m_buttons->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (count() == 0)
        return;
    if (index < 0) {
        // An exclusive group cannot uncheck its last checked button.
        m_buttons->setExclusive(false);
        for (QAbstractButton* button : m_buttons->buttons())
            button->setChecked(false);
        m_buttons->setExclusive(true);
        return;
    }
    m_buttons->button(std::min(index, count() - 1))->setChecked(true);
}

QRadioButton* RadioGroup::button(int index) const {
    return qobject_cast<QRadioButton*>(m_buttons->button(index));
}

} // namespace ordalvex
