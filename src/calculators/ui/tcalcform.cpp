#include "calculators/ui/tcalcform.h"

#include "calculators/ui/editfieldbehaviour.h"
#include "common/ui/limitedfield.h"
#include "common/ui/userinteraction.h"
#include "common/ui/widgethelpers.h"

#include <string>

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ordalvex {

namespace {

const QColor kGreen(0, 128, 0);
const QColor kNavy(0, 0, 128);

// An input field: green text on the window background, editable; a result field: navy text
// on the inactive-border grey, read-only.
void styleField(QLineEdit* field, QLabel* const (&labels)[2], bool input) {
    QPalette palette = field->palette();
    const QPalette standard = QApplication::palette(field);
    palette.setColor(QPalette::Text, input ? kGreen : kNavy);
    palette.setColor(QPalette::Base,
                     input ? standard.color(QPalette::Base) : standard.color(QPalette::Window));
    field->setPalette(palette);
    field->setReadOnly(!input);
    for (QLabel* label : labels)
        setColour(label, QPalette::WindowText, input ? kGreen : kNavy);
}

} // namespace

TCalcForm::TCalcForm(QWidget* parent) : CalculatorDialog(parent, "CalcForm", title()) {
    setToolTip(QStringLiteral("Kolor zielony - dane do wprowadzenia,  granatowy - wyniki."));

    m_d = makeField(this, "D", QStringLiteral("10"), 5);
    m_os = makeField(this, "Os", QStringLiteral("1"), 2);
    m_vc = makeField(this, "Vc", QStringLiteral("60"), 3);
    m_fz = makeField(this, "Fz", QStringLiteral("0.3"), 5);
    m_s = makeField(this, "S", QStringLiteral("1"), 5);
    m_f = makeField(this, "F", QStringLiteral("1"), 4);

    const auto makeLabels = [this](const char* name, const char* caption, const char* unit,
                                   QLabel*(&labels)[2]) {
        labels[0] = makeLabel(this, name, QString::fromUtf8(caption));
        labels[1] = makeLabel(this, (std::string(name) + "Unit").c_str(), QString::fromUtf8(unit));
    };
    QLabel* dLabels[2];
    QLabel* osLabels[2];
    makeLabels("DLabel", "Średnica narzędzia :", "Dc (mm)", dLabels);
    makeLabels("OsLabel", "Ilość ostrzy :", "z", osLabels);
    makeLabels("VcLabel", "Prędkość skrawania :", "Vc (m/min)", m_vcLabels);
    makeLabels("FzLabel", "Posuw na ostrze :", "Fz (mm/obr)", m_fzLabels);
    makeLabels("SLabel", "Obroty wrzeciona :", "S (obr/min)", m_sLabels);
    makeLabels("FLabel", "Posuw :", "F (mm/min)", m_fLabels);

    // Two rows of caption, field and unit.
    const auto twoRows = [](QGridLayout* layout, QLabel* const(&first)[2], QLineEdit* firstField,
                            QLabel* const(&second)[2], QLineEdit* secondField) {
        layout->addWidget(first[0], 0, 0);
        layout->addWidget(firstField, 0, 1);
        layout->addWidget(first[1], 0, 2);
        layout->addWidget(second[0], 1, 0);
        layout->addWidget(secondField, 1, 1);
        layout->addWidget(second[1], 1, 2);
    };
    m_cuttingGroup = new QGroupBox(this);
    m_cuttingGroup->setObjectName(QStringLiteral("GroupBox2"));
    twoRows(new QGridLayout(m_cuttingGroup), m_vcLabels, m_vc, m_fzLabels, m_fz);
    m_spindleGroup = new QGroupBox(this);
    m_spindleGroup->setObjectName(QStringLiteral("GroupBox1"));
    twoRows(new QGridLayout(m_spindleGroup), m_sLabels, m_s, m_fLabels, m_f);

    auto* calculate = new QPushButton(QStringLiteral("&Oblicz"), this);
    calculate->setObjectName(QStringLiteral("ObliczButton"));
    calculate->setDefault(true);
    auto* closeButton = makeButton(this, "ZamknijButton", QStringLiteral("&Zamknij"));
    m_calculate = calculate;
    m_close = closeButton;

    auto* common = new QGridLayout;
    twoRows(common, dLabels, m_d, osLabels, m_os);
    auto* groups = new QHBoxLayout;
    groups->addWidget(m_cuttingGroup);
    groups->addWidget(m_spindleGroup);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(calculate);
    buttons->addWidget(closeButton);
    auto* main = new QVBoxLayout(this);
    main->addLayout(common);
    main->addLayout(groups);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);

    for (QLineEdit* field : {m_d, m_os})
        styleField(field, field == m_d ? dLabels : osLabels, true);

    m_fields = new EditFieldBehaviour(this, QStringLiteral("PopupMenu"), QStringLiteral("Zaznaczwszystko1"),
                                      [](QLineEdit* field) {
                                          EditMenuState state;
                                          state.undo = field->isUndoAvailable();
                                          state.copy = field->hasSelectedText();
                                          state.paste = !interaction().clipboardText().isEmpty();
                                          state.remove = field->hasSelectedText() && !field->isReadOnly();
                                          return state;
                                      });
    const std::tuple<QLineEdit*, KeyFilter, const char*> fields[] = {
        {m_vc, KeyFilter::Digits, "60"}, {m_fz, KeyFilter::Decimal, "0.3"},
        {m_s, KeyFilter::Digits, "1"},   {m_f, KeyFilter::Digits, "1"},
        {m_os, KeyFilter::Digits, "1"},  {m_d, KeyFilter::Decimal, "10.0"}};
    for (const auto& [field, filter, fallback] : fields) {
        m_fields->addField(field, filter);
        m_fields->setLeaveFallback(field, QString::fromLatin1(fallback));
    }
    m_fields->followMouse(this);
    for (QObject* watched :
         std::initializer_list<QObject*>{m_vc, m_fz, m_s, m_f, m_cuttingGroup, m_spindleGroup})
        watched->installEventFilter(this);

    connect(calculate, &QPushButton::clicked, this, &TCalcForm::ObliczButtonClick);
    connect(closeButton, &QPushButton::clicked, this, &TCalcForm::ZamknijButtonClick);

    VcEnter();
    m_vc->setFocus();
}

CuttingMode TCalcForm::mode() const {
    return m_vc->palette().color(QPalette::Text) == kGreen ? CuttingMode::CuttingSpeed
                                                           : CuttingMode::SpindleSpeed;
}

void TCalcForm::VcEnter() {
    applyMode(CuttingMode::CuttingSpeed);
}

void TCalcForm::SEnter() {
    applyMode(CuttingMode::SpindleSpeed);
}

void TCalcForm::applyMode(CuttingMode mode) {
    const bool cutting = mode == CuttingMode::CuttingSpeed;
    styleField(m_vc, m_vcLabels, cutting);
    styleField(m_fz, m_fzLabels, cutting);
    styleField(m_s, m_sLabels, !cutting);
    styleField(m_f, m_fLabels, !cutting);
    QWidget* const left[] = {m_vc, m_fz};
    QWidget* const right[] = {m_s, m_f};
    QWidget* const* inputs = cutting ? left : right;
    QWidget* const* results = cutting ? right : left;
    QWidget* const chain[] = {inputs[0], inputs[1], m_d, m_os, m_calculate, m_close, results[0], results[1]};
    for (std::size_t i = 0; i + 1 < std::size(chain); ++i)
        setTabOrder(chain[i], chain[i + 1]);
}

QLineEdit* TCalcForm::field(CuttingField which) const {
    switch (which) {
    case CuttingField::Diameter:
        return m_d;
    case CuttingField::Edges:
        return m_os;
    case CuttingField::CuttingSpeed:
        return m_vc;
    case CuttingField::FeedPerTooth:
        return m_fz;
    case CuttingField::SpindleSpeed:
        return m_s;
    case CuttingField::Feed:
        return m_f;
    }
    return m_d;
}

void TCalcForm::ObliczButtonClick() {
    CuttingFields texts{m_d->text(), m_os->text(), m_vc->text(), m_fz->text(), m_s->text(), m_f->text()};
    const CuttingResult result = calculateCutting(mode(), texts);
    const std::pair<QLineEdit*, QString> written[] = {
        {m_d, result.fields.diameter},      {m_os, result.fields.edges},
        {m_vc, result.fields.cuttingSpeed}, {m_fz, result.fields.feedPerTooth},
        {m_s, result.fields.spindleSpeed},  {m_f, result.fields.feed}};
    // Only changed texts are set, so that an untouched field keeps its undo.
    for (const auto& [edit, text] : written) {
        if (edit->text() != text)
            showWhole(edit, text);
    }
    for (CuttingField reset : result.resets) {
        beep();
        field(reset)->setFocus();
    }
}

void TCalcForm::ZamknijButtonClick() {
    close();
}

bool TCalcForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_vc || watched == m_fz || watched == m_cuttingGroup)
            VcEnter();
        else if (watched == m_s || watched == m_f || watched == m_spindleGroup)
            SEnter();
    }
    return CalculatorDialog::eventFilter(watched, event);
}

} // namespace ordalvex
