#include "calculators/ui/totworyform.h"

#include "calculators/core/boltcircle.h"
#include "calculators/ui/editfieldbehaviour.h"
#include "calculators/ui/tdraw_form.h"
#include "common/core/numbers.h"
#include "common/ui/limitedfield.h"
#include "common/ui/userinteraction.h"
#include "common/ui/widgethelpers.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ordalvex {

namespace {

// Fixed cells of the grid: shown in the button colour, never selected.
QTableWidgetItem* fixedCell(const QString& text, const QColor& background) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(background);
    return item;
}

QTableWidgetItem* valueCell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

TOtworyForm::TOtworyForm(QWidget* parent) : CalculatorDialog(parent, "OtworyForm", title()) {

    m_diameter = makeField(this, "Srednica_Edit", QStringLiteral("10"), 7);
    m_firstAngle = makeField(this, "Kat_Pierwszego_Edit", QStringLiteral("0"), 7);
    m_pitch = makeField(this, "Kat_Pomiedzy_Edit", QStringLiteral("0"), 7);
    m_count = makeField(this, "Liczba_Edit", QStringLiteral("0"), 3);

    auto* inputGroup = new QGroupBox(QStringLiteral("Dane"), this);
    inputGroup->setObjectName(QStringLiteral("GroupBox1"));
    m_millimetresIn = makeRadio(inputGroup, "MilimetryRadioButton_D", QStringLiteral("Milimetry"));
    m_inchesIn = makeRadio(inputGroup, "CaleRadioButton_C", QStringLiteral("Cale"));
    m_millimetresIn->setChecked(true);
    auto* inputLayout = new QVBoxLayout(inputGroup);
    inputLayout->addWidget(m_millimetresIn);
    inputLayout->addWidget(m_inchesIn);

    auto* outputGroup = new QGroupBox(QStringLiteral("Wyniki"), this);
    outputGroup->setObjectName(QStringLiteral("GroupBox2"));
    m_millimetresOut = makeRadio(outputGroup, "MilimetryRadioButton_W", QStringLiteral("Milimetry"));
    m_inchesOut = makeRadio(outputGroup, "CaleRadioButton_W", QStringLiteral("Cale"));
    m_millimetresOut->setChecked(true);
    auto* outputLayout = new QVBoxLayout(outputGroup);
    outputLayout->addWidget(m_millimetresOut);
    outputLayout->addWidget(m_inchesOut);

    m_draw = new QCheckBox(QStringLiteral("Pokaż podgląd"), this);
    m_draw->setObjectName(QStringLiteral("DrawCheckBox"));
    m_draw->setChecked(true);

    auto* calculate = new QPushButton(QStringLiteral("&Oblicz"), this);
    calculate->setObjectName(QStringLiteral("ObliczButton"));
    calculate->setDefault(true);
    auto* closeButton = makeButton(this, "ZamknijButton", QStringLiteral("&Zamknij"));

    m_grid = new QTableWidget(2, 3, this);
    m_grid->setObjectName(QStringLiteral("WyStringGrid"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setDefaultSectionSize(86);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setToolTip(QStringLiteral("Zaznacz komórki. które chcesz skopiować"));
    m_grid->setMinimumWidth(3 * 86 + 24);

    m_gridMenu = new QMenu(this);
    m_gridMenu->setObjectName(QStringLiteral("PopupMenu"));
    m_copy = m_gridMenu->addAction(QStringLiteral("&Kopiuj"));
    m_copy->setObjectName(QStringLiteral("Kopiuj"));
    m_copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    m_gridMenu->addSeparator();
    m_selectAll = m_gridMenu->addAction(QStringLiteral("&Zaznacz wszystko"));
    m_selectAll->setObjectName(QStringLiteral("Zaznaczwszystko1"));
    m_selectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    for (QAction* action : {m_copy, m_selectAll}) {
        action->setEnabled(false);
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
        m_grid->addAction(action);
    }
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { m_gridMenu->popup(m_grid->viewport()->mapToGlobal(position)); });
    connect(m_copy, &QAction::triggered, this, &TOtworyForm::KopiujClick);
    connect(m_selectAll, &QAction::triggered, this, &TOtworyForm::Zaznaczwszystko1Click);

    auto* fieldsLayout = new QGridLayout;
    const std::pair<const char*, QLineEdit*> rows[] = {{"Średnica okręgu :", m_diameter},
                                                       {"Kąt pierwszego otworu :", m_firstAngle},
                                                       {"Kąt pomiędzy otworami :", m_pitch},
                                                       {"Ilość otworów :", m_count}};
    int row = 0;
    for (const auto& [caption, field] : rows) {
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(field);
        fieldsLayout->addWidget(label, row, 0);
        fieldsLayout->addWidget(field, row, 1);
        ++row;
    }
    auto* unitsLayout = new QHBoxLayout;
    unitsLayout->addWidget(inputGroup);
    unitsLayout->addWidget(outputGroup);
    auto* buttonsLayout = new QHBoxLayout;
    buttonsLayout->addWidget(m_draw);
    buttonsLayout->addStretch();
    buttonsLayout->addWidget(calculate);
    buttonsLayout->addWidget(closeButton);
    auto* left = new QVBoxLayout;
    left->addLayout(fieldsLayout);
    left->addLayout(unitsLayout);
    left->addStretch();
    left->addLayout(buttonsLayout);
    auto* main = new QHBoxLayout(this);
    main->addLayout(left);
    main->addWidget(m_grid);
    main->setSizeConstraint(QLayout::SetFixedSize);

    m_fields = new EditFieldBehaviour(this, QStringLiteral("Edit_PopupMenu"),
                                      QStringLiteral("Zaznaczwszystko2"), [](QLineEdit* field) {
                                          EditMenuState state;
                                          state.undo = field->isUndoAvailable();
                                          state.copy = field->hasSelectedText();
                                          state.paste = !interaction().clipboardText().isEmpty();
                                          state.remove = true;
                                          return state;
                                      });
    for (QLineEdit* field : {m_diameter, m_firstAngle, m_pitch, m_count}) {
        m_fields->addField(field, KeyFilter::Decimal);
        m_fields->setDoubleClickText(field, QStringLiteral("0"));
        m_fields->setLeaveFallback(field, QStringLiteral("0"));
    }
    m_fields->setLeaveFallback(m_diameter, QStringLiteral("100"));
    m_fields->followMouse(this);
    m_fields->followMouse(m_grid->viewport());

    connect(calculate, &QPushButton::clicked, this, &TOtworyForm::ObliczButtonClick);
    connect(closeButton, &QPushButton::clicked, this, &TOtworyForm::ZamknijButtonClick);
    connect(m_inchesIn, &QRadioButton::toggled, this, &TOtworyForm::CaleRadioButton_CExit);

    writeHeaderRow();
    m_diameter->setFocus();
}

TDraw_Form* TOtworyForm::preview() const {
    return m_preview;
}

void TOtworyForm::writeHeaderRow() {
    const QColor fixed = palette().color(QPalette::Button);
    m_grid->setItem(0, 0, fixedCell(QStringLiteral(" Otwory"), fixed));
    m_grid->setItem(0, 1, fixedCell(QStringLiteral("          X"), fixed));
    m_grid->setItem(0, 2, fixedCell(QStringLiteral("          Y"), fixed));
    for (int row = 1; row < m_grid->rowCount(); ++row) {
        if (!m_grid->item(row, 0))
            m_grid->setItem(row, 0, fixedCell(QString(), fixed));
    }
}

void TOtworyForm::FormShow() {
    writeHeaderRow();
}

void TOtworyForm::showEvent(QShowEvent* event) {
    CalculatorDialog::showEvent(event);
    FormShow();
}

void TOtworyForm::CaleRadioButton_CExit() {
    if (m_inchesIn->isChecked()) {
        limitTyping(m_diameter, 8);
        m_diameter->setToolTip(inchFractionHint());
        m_fields->setKeyFilter(m_diameter, KeyFilter::Fraction);
    } else {
        limitTyping(m_diameter, 7);
        m_diameter->setToolTip(QString());
        m_fields->setKeyFilter(m_diameter, KeyFilter::Decimal);
    }
}

void TOtworyForm::ObliczButtonClick() {
    BoltCircleInput input{m_diameter->text(), m_firstAngle->text(),    m_pitch->text(),
                          m_count->text(),    m_inchesIn->isChecked(), m_inchesOut->isChecked()};
    const BoltCircleResult result = solveBoltCircle(input);
    if (input.inchInput)
        showWhole(m_diameter, result.diameterText);
    if (!result.ok()) {
        beep();
        showMessage(this, QMessageBox::Warning, QStringLiteral("Błąd"), result.error->message);
        QLineEdit* field = m_diameter;
        switch (result.error->field) {
        case BoltCircleField::Diameter:
            field = m_diameter;
            break;
        case BoltCircleField::FirstAngle:
            field = m_firstAngle;
            break;
        case BoltCircleField::Pitch:
            field = m_pitch;
            break;
        case BoltCircleField::Count:
            field = m_count;
            break;
        }
        field->setFocus();
        return;
    }

    updatePreview(m_diameter->text(), result.pitch, result.count);

    m_grid->clearSelection();
    m_grid->setRowCount(result.count + 1);
    const QColor fixed = palette().color(QPalette::Button);
    int row = 1;
    for (const BoltCircleHole& hole : result.holes) {
        m_grid->setItem(row, 0, fixedCell(hole.caption, fixed));
        if (m_preview)
            m_preview->DrawHole(hole.previewLabel, hole.cosine, hole.sine);
        m_grid->setItem(row, 1, valueCell(hole.x));
        m_grid->setItem(row, 2, valueCell(hole.y));
        ++row;
    }
    m_copy->setEnabled(true);
    m_selectAll->setEnabled(true);
    m_grid->setCurrentCell(1, 1, QItemSelectionModel::ClearAndSelect);
}

void TOtworyForm::updatePreview(const QString& diameterText, double pitch, int count) {
    if (!m_draw->isChecked()) {
        if (m_preview)
            delete m_preview;
        return;
    }
    if (m_preview) {
        m_preview->clear();
    } else {
        m_preview = new TDraw_Form(this);
        const int left = x();
        const int width = int(left - left / 40.0);
        m_preview->resize(width, int(width / 1.15));
        // A fixed border: the picture keeps the size its metrics were taken from.
        m_preview->setFixedSize(m_preview->size());
        m_preview->move(left - m_preview->width(), y());
    }
    m_preview->show();
    m_preview->DrawAxes();
    raise();
    activateWindow();
    const int right = m_preview->width() / 2 + 1;
    m_preview->DrawTextLine(4, 2, QStringLiteral("Średnica: ") + diameterText);
    m_preview->DrawTextLine(4, 1, QStringLiteral("Pierwszy otwór: ") + m_firstAngle->text());
    m_preview->DrawTextLine(right, 2, QStringLiteral("Pomiędzy otworami: ") + numbers::writeNumber(pitch, 2));
    m_preview->DrawTextLine(right, 1, QStringLiteral("Liczba otworów: ") + QString::number(count));
}

void TOtworyForm::KopiujClick() {
    int top = -1, bottom = -1;
    for (const QTableWidgetSelectionRange& range : m_grid->selectedRanges()) {
        top = top < 0 ? range.topRow() : std::min(top, range.topRow());
        bottom = std::max(bottom, range.bottomRow());
    }
    top = std::max(top, 1);
    if (bottom < top)
        return;
    m_grid->clearSelection();
    m_grid->setRangeSelected(QTableWidgetSelectionRange(top, 1, bottom, 2), true);
    std::vector<std::pair<QString, QString>> rows;
    for (int row = top; row <= bottom; ++row) {
        const auto text = [&](int column) {
            const QTableWidgetItem* item = m_grid->item(row, column);
            return item ? item->text() : QString();
        };
        rows.emplace_back(text(1), text(2));
    }
    interaction().setClipboardText(holeCoordinateLines(rows));
}

void TOtworyForm::Zaznaczwszystko1Click() {
    if (m_grid->rowCount() < 2)
        return;
    m_grid->clearSelection();
    m_grid->setRangeSelected(QTableWidgetSelectionRange(1, 1, m_grid->rowCount() - 1, 2), true);
}

void TOtworyForm::ZamknijButtonClick() {
    close();
}

void TOtworyForm::closeEvent(QCloseEvent* event) {
    if (m_preview)
        delete m_preview;
    CalculatorDialog::closeEvent(event);
}

} // namespace ordalvex
