#pragma once

#include "calculators/ui/calculatordialog.h"

#include <QPointer>

class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace ordalvex {

class EditFieldBehaviour;
class TDraw_Form;

// The bolt-hole circle calculator: X and Y of holes spaced on a circle, in a grid whose rows
// can be copied as coordinate words, with an optional drawn preview beside the window.
class TOtworyForm : public CalculatorDialog {
    Q_OBJECT
public:
    static QString title() { return QStringLiteral("Oblicz współrzędne otworów"); }

    explicit TOtworyForm(QWidget* parent);

    // The preview window while one exists.
    TDraw_Form* preview() const;

public Q_SLOTS:
    void ObliczButtonClick();
    void ZamknijButtonClick();
    void KopiujClick();
    void Zaznaczwszystko1Click();
    // Switches the diameter field between millimetre and inch (fraction) input.
    void CaleRadioButton_CExit();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void writeHeaderRow();
    void updatePreview(const QString& diameterText, double pitch, int count);

    QLineEdit* m_diameter;
    QLineEdit* m_firstAngle;
    QLineEdit* m_pitch;
    QLineEdit* m_count;
    QRadioButton* m_millimetresIn;
    QRadioButton* m_inchesIn;
    QRadioButton* m_millimetresOut;
    QRadioButton* m_inchesOut;
    QCheckBox* m_draw;
    QTableWidget* m_grid;
    QMenu* m_gridMenu;
    QAction* m_copy;
    QAction* m_selectAll;
    EditFieldBehaviour* m_fields;
    QPointer<TDraw_Form> m_preview;
};

} // namespace ordalvex
