#include "calculators/ui/tkatyform.h"

#include "calculators/ui/editfieldbehaviour.h"
#include "common/core/numbers.h"
#include "common/ui/limitedfield.h"
#include "common/ui/userinteraction.h"
#include "common/ui/widgethelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace ordalvex {

namespace {

const QColor kGreen(0, 128, 0);
const QColor kNavy(0, 0, 128);

} // namespace

QImage triangleLegend() {
    QImage image(460, 328, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 2));
    const QPoint left(60, 262), corner(400, 262), top(400, 52);
    p.drawPolygon(QPolygon({left, corner, top}));
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRect(corner.x() - 16, corner.y() - 16, 16, 16));

    // Dimension lines with their letters: c under the base, b right of the upright side, a
    // above the hypotenuse.
    p.drawLine(left.x(), 292, corner.x(), 292);
    p.drawLine(left.x(), 268, left.x(), 298);
    p.drawLine(corner.x(), 268, corner.x(), 298);
    p.drawLine(430, top.y(), 430, corner.y());
    p.drawLine(406, top.y(), 436, top.y());
    p.drawLine(406, corner.y(), 436, corner.y());
    const QPointF shift(-18 * 0.526, -18 * 0.851); // normal of the hypotenuse, outwards
    p.drawLine(QPointF(left) + shift, QPointF(top) + shift);

    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(22);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.drawText(QRect(220, 294, 30, 30), Qt::AlignCenter, QStringLiteral("c"));
    p.drawText(QRect(436, 142, 24, 30), Qt::AlignCenter, QStringLiteral("b"));
    p.drawText(QRect(190, 110, 30, 30), Qt::AlignCenter, QStringLiteral("a"));

    // The acute angles: B at the bottom-left corner, C at the top corner.
    p.drawArc(QRect(left.x() - 60, left.y() - 60, 120, 120), 0, 32 * 16);
    p.drawText(QRect(left.x() + 66, left.y() - 40, 30, 30), Qt::AlignCenter, QStringLiteral("B"));
    p.drawArc(QRect(top.x() - 50, top.y() - 50, 100, 100), 212 * 16, 58 * 16);
    p.drawText(QRect(top.x() - 44, top.y() + 52, 30, 30), Qt::AlignCenter, QStringLiteral("C"));
    p.end();
    return image.convertToFormat(QImage::Format_Mono);
}

TKatyForm::TKatyForm(QWidget* parent) : CalculatorDialog(parent, "KatyForm", title()) {

    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("Image"));
    m_image->setPixmap(QPixmap::fromImage(triangleLegend()));
    m_image->setFixedSize(460, 328);

    auto* group = new QGroupBox(QStringLiteral("Podane wymiary"), this);
    group->setObjectName(QStringLiteral("GroupBox"));
    const char* boxNames[] = {"CheckBox_a", "CheckBox_b", "CheckBox_c", "CheckBox_bb", "CheckBox_cc"};
    const char* boxCaptions[] = {"a", "b", "c", "B", "C"};
    for (int i = 0; i < 5; ++i) {
        m_boxes[i] = new QCheckBox(QString::fromLatin1(boxCaptions[i]), group);
        m_boxes[i]->setObjectName(QString::fromLatin1(boxNames[i]));
        connect(m_boxes[i], &QCheckBox::clicked, this, &TKatyForm::CheckBox_aClick);
    }
    auto* groupLayout = new QGridLayout(group);
    groupLayout->addWidget(new QLabel(QStringLiteral("Boki :"), group), 0, 0, 1, 3);
    groupLayout->addWidget(new QLabel(QStringLiteral("Kąty :"), group), 0, 3, 1, 2);
    for (int i = 0; i < 5; ++i)
        groupLayout->addWidget(m_boxes[i], 1, i);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setToolTip(QStringLiteral("Kolor zielony - dane do wprowadzenia,  granatowy - wyniki."));
    const char* editNames[] = {"Edit_a", "Edit_b", "Edit_c", "Edit_bb", "Edit_cc"};
    const char* labelNames[] = {"Label_a", "Label_b", "Label_c", "Label_bb", "Label_cc"};
    const char* labelCaptions[] = {"Bok : a", "Bok : b", "Bok : c", "Kat : B", "Kąt : C"};
    auto* panelLayout = new QGridLayout(panel);
    for (int i = 0; i < 5; ++i) {
        m_edits[i] = makeField(panel, editNames[i], QStringLiteral("1"), i < 3 ? 7 : 6);
        m_labels[i] = makeLabel(panel, labelNames[i], QString::fromUtf8(labelCaptions[i]));
        m_labels[i]->setBuddy(m_edits[i]);
        panelLayout->addWidget(m_labels[i], i, 0);
        panelLayout->addWidget(m_edits[i], i, 1);
    }

    m_calculate = new QPushButton(QStringLiteral("&Oblicz"), this);
    m_calculate->setObjectName(QStringLiteral("Button_Oblicz"));
    m_calculate->setDefault(true);
    m_calculate->setEnabled(false);
    auto* closeButton = makeButton(this, "Button_Zamknij", QStringLiteral("&Zamknij"));

    auto* side = new QVBoxLayout;
    side->addWidget(group);
    side->addWidget(panel);
    side->addStretch();
    side->addWidget(m_calculate);
    side->addWidget(closeButton);
    auto* main = new QHBoxLayout(this);
    main->addWidget(m_image);
    main->addLayout(side);
    main->setSizeConstraint(QLayout::SetFixedSize);

    m_fields = new EditFieldBehaviour(this, QStringLiteral("PopupMenu1"), QStringLiteral("Zaznaczwszystko1"),
                                      [](QLineEdit* field) {
                                          const bool input = !field->isReadOnly();
                                          EditMenuState state;
                                          state.undo = field->isUndoAvailable() && input;
                                          state.copy = field->hasSelectedText();
                                          state.paste = !interaction().clipboardText().isEmpty() && input;
                                          state.remove = input;
                                          return state;
                                      });
    for (QLineEdit* edit : m_edits) {
        m_fields->addField(edit, KeyFilter::Decimal);
        m_fields->setLeaveFallback(edit, QStringLiteral("1"));
    }
    m_fields->followMouse(this);
    m_fields->followMouse(m_image);

    connect(m_calculate, &QPushButton::clicked, this, &TKatyForm::Button_ObliczClick);
    connect(closeButton, &QPushButton::clicked, this, &TKatyForm::Button_ZamknijClick);

    FormCreate();
    for (int i = 0; i < 5; ++i)
        styleField(i, false);
}

void TKatyForm::FormCreate() {
    findChild<QGroupBox*>(QStringLiteral("GroupBox"))
        ->setToolTip(QStringLiteral("Zaznacz odpowiednie pola w zależności od posiadanych danych.\n"
                                    "Możesz zaznaczyć tylko dwa pola."));
}

void TKatyForm::styleField(int index, bool input) {
    QLineEdit* edit = m_edits[index];
    QPalette palette = edit->palette();
    const QPalette standard = QApplication::palette(edit);
    palette.setColor(QPalette::Text, input ? kGreen : kNavy);
    palette.setColor(QPalette::Base, standard.color(input ? QPalette::Base : QPalette::Button));
    edit->setPalette(palette);
    QFont font = edit->font();
    font.setBold(input);
    edit->setFont(font);
    edit->setReadOnly(!input);
    setColour(m_labels[index], QPalette::WindowText, input ? kGreen : kNavy);
    setColour(m_boxes[index], QPalette::WindowText, input ? kGreen : QColor(0, 0, 0));
    setColour(m_boxes[index], QPalette::ButtonText, input ? kGreen : QColor(0, 0, 0));
}

int TKatyForm::selectionCode() const {
    int code = 0;
    for (int i = 0; i < 5; ++i) {
        if (m_boxes[i]->isChecked())
            code += 1 << i;
    }
    return code;
}

void TKatyForm::CheckBox_aClick() {
    int ticked = 0;
    for (int i = 0; i < 5; ++i) {
        const bool input = m_boxes[i]->isChecked();
        styleField(i, input);
        if (input)
            ++ticked;
        else
            showWhole(m_edits[i], QStringLiteral("1"));
    }
    if (ticked == 2) {
        for (QCheckBox* box : m_boxes)
            box->setEnabled(box->isChecked());
    } else {
        for (int i = 0; i < 3; ++i)
            m_boxes[i]->setEnabled(true);
        m_boxes[3]->setEnabled(!m_boxes[4]->isChecked());
        m_boxes[4]->setEnabled(!m_boxes[3]->isChecked());
    }
    m_calculate->setEnabled(isSolvableSelection(selectionCode()));
}

void TKatyForm::Button_ObliczClick() {
    std::array<double, 5> values{};
    for (int i = 0; i < 5; ++i)
        values[std::size_t(i)] = numbers::readNumber(m_edits[i]->text());
    const TriangleResult result = solveTriangle(selectionCode(), values);
    for (const TriangleWrite& write : result.writes)
        showWhole(m_edits[int(write.quantity)], write.text);
    if (!result.error.isEmpty()) {
        beep();
        showMessage(this, QMessageBox::Warning, QStringLiteral("Błąd"), result.error);
    }
}

void TKatyForm::Button_ZamknijClick() {
    close();
}

} // namespace ordalvex
