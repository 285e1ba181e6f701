#include "calculators/ui/tmcform.h"

#include "calculators/core/boltcircle.h"
#include "calculators/core/lengthconversion.h"
#include "calculators/ui/editfieldbehaviour.h"
#include "common/ui/limitedfield.h"
#include "common/ui/userinteraction.h"
#include "common/ui/widgethelpers.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ordalvex {

TMcForm::TMcForm(QWidget* parent) : CalculatorDialog(parent, "McForm", title()) {

    auto* group = new QGroupBox(QStringLiteral("Przelicz :"), this);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    m_toInches = makeRadio(group, "MilRadioButton", QStringLiteral("Milimetry na cale"));
    m_toMillimetres = makeRadio(group, "RadioButton2", QStringLiteral("Cale na milimetry"));
    m_toMillimetres->setChecked(true);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_toInches);
    groupLayout->addWidget(m_toMillimetres);

    m_input = makeField(this, "DaneLabeledEdit", QStringLiteral("0"), 8);
    m_inputLabel = makeLabel(this, "DaneLabeledEditLabel", QStringLiteral("Dane (cale) :"));
    m_inputLabel->setBuddy(m_input);
    m_result = makeField(this, "WynikLabeledEdit", QStringLiteral("0.00000"));
    m_result->setReadOnly(true);
    m_resultLabel = makeLabel(this, "WynikLabeledEditLabel", QStringLiteral("Wynik (mm) :"));
    m_resultLabel->setBuddy(m_result);

    auto* closeButton = makeButton(this, "ZamknijButton", QStringLiteral("&Zamknij"));

    auto* fields = new QGridLayout;
    fields->addWidget(m_inputLabel, 0, 0);
    fields->addWidget(m_input, 1, 0);
    fields->addWidget(m_resultLabel, 0, 1);
    fields->addWidget(m_result, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* main = new QVBoxLayout(this);
    main->addWidget(group);
    main->addLayout(fields);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);

    // Both fields' menus are enabled by the input's state; the result only copies.
    QLineEdit* input = m_input;
    m_fields = new EditFieldBehaviour(this, QStringLiteral("PopupMenu"), QStringLiteral("Zaznaczwszystko1"),
                                      [input](QLineEdit* field) {
                                          EditMenuState state;
                                          state.copy = input->hasSelectedText();
                                          if (field == input) {
                                              state.undo = input->isUndoAvailable();
                                              state.paste = !interaction().clipboardText().isEmpty();
                                              state.remove = input->hasSelectedText();
                                          }
                                          return state;
                                      });
    m_fields->addField(m_input, KeyFilter::Fraction);
    m_fields->addField(m_result, KeyFilter::Fraction);
    m_fields->followMouse(this);

    connect(m_input, &QLineEdit::textChanged, this, &TMcForm::PrzeliczButtonClick);
    connect(m_toInches, &QRadioButton::clicked, this, &TMcForm::MilRadioButtonClick);
    connect(m_toMillimetres, &QRadioButton::clicked, this, &TMcForm::MilRadioButtonClick);
    connect(closeButton, &QPushButton::clicked, this, &TMcForm::ZamknijButtonClick);

    FormCreate();
    m_input->setFocus();
}

void TMcForm::FormCreate() {
    m_input->setToolTip(inchFractionHint());
}

void TMcForm::PrzeliczButtonClick() {
    showWhole(m_result, convertLength(m_input->text(), m_toInches->isChecked()));
}

void TMcForm::MilRadioButtonClick() {
    const bool toInches = m_toInches->isChecked();
    m_inputLabel->setText(toInches ? QStringLiteral("Dane (mm) :") : QStringLiteral("Dane (cale) :"));
    m_resultLabel->setText(toInches ? QStringLiteral("Wynik (cale) :") : QStringLiteral("Wynik (mm) :"));
    PrzeliczButtonClick();
    m_input->setFocus();
}

void TMcForm::ZamknijButtonClick() {
    close();
}

} // namespace ordalvex
