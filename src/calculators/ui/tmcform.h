#pragma once

#include "calculators/ui/calculatordialog.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace ordalvex {

class EditFieldBehaviour;

// The millimetre/inch converter: the result follows every change of the input, which takes
// inch fractions ("1.1/4") in both directions.
class TMcForm : public CalculatorDialog {
    Q_OBJECT
public:
    static QString title() { return QStringLiteral("Przelicz"); }

    explicit TMcForm(QWidget* parent);

public Q_SLOTS:
    // Converts the input's text into the result field.
    void PrzeliczButtonClick();
    // Sets the labels by the direction, converts again and focuses the input.
    void MilRadioButtonClick();
    void ZamknijButtonClick();

private:
    void FormCreate();

    QRadioButton* m_toInches;
    QRadioButton* m_toMillimetres;
    QLineEdit* m_input;
    QLineEdit* m_result;
    QLabel* m_inputLabel;
    QLabel* m_resultLabel;
    EditFieldBehaviour* m_fields;
};

} // namespace ordalvex
