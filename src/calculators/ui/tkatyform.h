#pragma once

#include "calculators/core/triangle.h"
#include "calculators/ui/calculatordialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ordalvex {

class EditFieldBehaviour;

// The right-triangle solver: two ticked quantities (sides a, b, c and angles B, C) are typed,
// the other three are computed. A fixed picture names the quantities.
class TKatyForm : public CalculatorDialog {
    Q_OBJECT
public:
    static QString title() { return QStringLiteral("Kąty i trójkąty"); }

    explicit TKatyForm(QWidget* parent);

    // The sum of the ticked boxes' bits (a 1, b 2, c 4, B 8, C 16).
    int selectionCode() const;

public Q_SLOTS:
    // Re-styles the fields by the ticked boxes, keeps to two boxes, enables "&Oblicz".
    void CheckBox_aClick();
    void Button_ObliczClick();
    void Button_ZamknijClick();

private:
    void FormCreate();
    void styleField(int index, bool input);

    QCheckBox* m_boxes[5];
    QLineEdit* m_edits[5];
    QLabel* m_labels[5];
    QPushButton* m_calculate;
    QLabel* m_image;
    EditFieldBehaviour* m_fields;
};

// The fixed picture of the solver: a right triangle with its sides, angles and letters, as a
// monochrome bitmap of 460 × 328 pixels.
QImage triangleLegend();

} // namespace ordalvex
