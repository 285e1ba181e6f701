#include "shell/ui/taboutbox.h"

#include "common/ui/growtotext.h"
#include "common/ui/widgethelpers.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace ordalvex {

namespace {

constexpr int kClientWidth = 367;
constexpr int kClientHeight = 296;
constexpr int kNameTop = 16; // below the panel's top edge
constexpr int kLabelGap = 10;

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("O programie"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panel->setGeometry(8, 8, 353, 209);

    m_programIcon = makeLabel(m_panel, "ProgramIcon", QString());
    m_programIcon->setGeometry(14, 14, 32, 32);
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    m_programIcon->setPixmap(icon.pixmap(32, 32));

    m_productName = makeLabel(m_panel, "ProductName", QString());
    QFont nameFont(QStringLiteral("Courier New"));
    nameFont.setStyleHint(QFont::TypeWriter);
    nameFont.setPixelSize(37);
    nameFont.setBold(true);
    m_productName->setFont(nameFont);
    QPalette namePalette = m_productName->palette();
    namePalette.setColor(QPalette::WindowText, QColor(0, 128, 0));
    m_productName->setPalette(namePalette);

    m_comments = makeLabel(m_panel, "Comments", QStringLiteral("Edytor programów CNC"));
    QFont commentsFont(QStringLiteral("MS Sans Serif"));
    commentsFont.setStyleHint(QFont::SansSerif);
    commentsFont.setPixelSize(15);
    m_comments->setFont(commentsFont);
    m_comments->setWordWrap(true);

    m_version = makeLabel(m_panel, "Version", QString());
    for (QLabel* label : {m_productName, m_comments, m_version})
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    placeGrown(m_okButton, {151, 244, 75, 25});
    m_okButton->setDefault(true);
    // QDialog treats Esc as cancel, so OK is the cancel button as well.
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    m_productName->setText(QStringLiteral("Ordalvex"));
    m_version->setText(QStringLiteral("Wersja : 1.75"));
    layoutLabels();

    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2));
}

int TAboutBox::centredLeft(int panelWidth, int labelWidth) {
    return panelWidth / 2 - labelWidth / 2;
}

void TAboutBox::layoutLabels() {
    const int panelWidth = m_panel->width();
    // A wrapped label keeps to the panel; the others take the width of their text.
    const int widest = panelWidth - 2 * kLabelGap;
    int top = kNameTop;
    for (QLabel* label : {m_productName, m_comments, m_version}) {
        QSize size = label->fontMetrics().size(0, label->text());
        if (label->wordWrap() && size.width() > widest)
            size = QSize(widest, label->heightForWidth(widest));
        label->setGeometry(centredLeft(panelWidth, size.width()), top, size.width(), size.height());
        top += size.height() + kLabelGap;
    }
}

void showAboutBox(QWidget* parent) {
    TAboutBox box(parent);
    box.exec();
}

} // namespace ordalvex
