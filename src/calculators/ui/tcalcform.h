#pragma once

#include "calculators/core/cuttingparameters.h"
#include "calculators/ui/calculatordialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;

namespace ordalvex {

class EditFieldBehaviour;

// The cutting parameters calculator: spindle speed and feed from cutting speed and feed per
// tooth, or the other way round. The group the keyboard focus enters is the input group
// (green, editable); the other shows the results (navy, read-only).
class TCalcForm : public CalculatorDialog {
    Q_OBJECT
public:
    static QString title() { return QStringLiteral("Oblicz parametry skrawania"); }

    explicit TCalcForm(QWidget* parent);

    // The direction the next calculation takes, as the field colours show it.
    CuttingMode mode() const;

public Q_SLOTS:
    // Cutting speed and feed per tooth become the inputs.
    void VcEnter();
    // Spindle speed and feed become the inputs.
    void SEnter();
    void ObliczButtonClick();
    void ZamknijButtonClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyMode(CuttingMode mode);
    QLineEdit* field(CuttingField which) const;

    QLineEdit* m_d;
    QLineEdit* m_os;
    QLineEdit* m_vc;
    QLineEdit* m_fz;
    QLineEdit* m_s;
    QLineEdit* m_f;
    QLabel* m_vcLabels[2];
    QLabel* m_fzLabels[2];
    QLabel* m_sLabels[2];
    QLabel* m_fLabels[2];
    QGroupBox* m_cuttingGroup;
    QGroupBox* m_spindleGroup;
    QWidget* m_calculate;
    QWidget* m_close;
    EditFieldBehaviour* m_fields;
};

} // namespace ordalvex
