#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace ordalvex {

// A titled group of radio buttons chosen by item index, laid out in columns.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent = nullptr);

    int count() const;
    // The chosen item, or -1 when none is chosen.
    int itemIndex() const;
    // Chooses an item; an index above the last item chooses the last one, a negative index
    // chooses none. Raises no clicked().
    void setItemIndex(int index);
    QRadioButton* button(int index) const;

Q_SIGNALS:
    // The user chose an item.
    void clicked();

private:
    QButtonGroup* m_buttons;
};

} // namespace ordalvex
