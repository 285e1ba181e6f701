#include "tools/ui/tgettextdialog.h"

#include "common/core/inifile.h"
#include "common/ui/growtotext.h"
#include "common/ui/widgethelpers.h"
#include "tools/core/decimalpoints.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ordalvex {

namespace {

const QString kSection = QStringLiteral("Dots");
const QString kItemsKey = QStringLiteral("Dots_Combo_Items");
const QString kItemIndexKey = QStringLiteral("Dots_Combo_ItemIndex");
const QString kItemPrefix = QStringLiteral("Dots_Combo_");

// A damaged settings file must not make the dialog add millions of default lists.
constexpr int kMaxRememberedLists = 1000;

bool isAllowedKey(QChar ch) {
    const char16_t c = ch.unicode();
    return c == 8 || c == 13 || c == ' ' || c == '=' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

TGetTextDialog::TGetTextDialog(const QString& settingsPath, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_settingsPath(settingsPath) {
    setWindowTitle(QStringLiteral("Wstaw kropki"));
    m_label = makeLabel(this, "Label1", QStringLiteral("Wpisz adresy , po których należy wstawić kropki :"));
    placeGrown(m_label, {8, 12, 256, 16});

    m_comboBox = new QComboBox(this);
    m_comboBox->setObjectName(QStringLiteral("ComboBox"));
    m_comboBox->setEditable(true);
    m_comboBox->setInsertPolicy(QComboBox::NoInsert);
    m_comboBox->setToolTip(QStringLiteral("A--Z, ="));
    // As wide as the label above it, as designed.
    m_comboBox->setGeometry(8, clearBelow(40, {m_label}, 4), m_label->width(), 24);
    m_label->setBuddy(m_comboBox);
    // The list of remembered lists comes up by itself while typing and goes after a choice.
    auto* completer = new QCompleter(m_comboBox->model(), m_comboBox);
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_comboBox->setCompleter(completer);
    // Typed keys reach the line edit from the focused combo box, or from the list of the
    // completer while it is up, by direct calls that pass by the edit's own event filters;
    // the filter watches all three.
    QObject* const typedInto[] = {m_comboBox, m_comboBox->lineEdit(), completer->popup()};
    for (QObject* watched : typedInto)
        watched->installEventFilter(this);
    connect(m_comboBox->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        m_typedSinceCloseUp = true;
        const QString upper = text.toUpper();
        if (upper != text) {
            QLineEdit* edit = m_comboBox->lineEdit();
            const int cursor = edit->cursorPosition();
            edit->setText(upper);
            edit->setCursorPosition(cursor);
        }
    });
    connect(completer, qOverload<const QString&>(&QCompleter::activated), this,
            &TGetTextDialog::ComboBoxCloseUp);

    m_okButton = new QPushButton(QStringLiteral("&Gotowe"), this);
    m_okButton->setObjectName(QStringLiteral("OkButton"));
    const int buttonsTop = clearBelow(96, {m_comboBox}, 8);
    placeGrown(m_okButton, {56, buttonsTop, 75, 25});
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &TGetTextDialog::OkButtonClick);

    m_cancelButton = makeButton(this, "CancelButton", QStringLiteral("&Anuluj"),
                                {clearOf(144, {m_okButton}, 8), buttonsTop, 75, 25});
    connect(m_cancelButton, &QPushButton::clicked, this, &TGetTextDialog::CancelButtonClick);

    setFixedSize(grownSize({272, 136}, {m_label, m_comboBox, m_okButton, m_cancelButton}, 8));
    FormCreate();
}

void TGetTextDialog::FormCreate() {
    IniFile settings(m_settingsPath);
    settings.load();
    const int highest = std::min(settings.readInteger(kSection, kItemsKey, 0), kMaxRememberedLists - 1);
    for (int i = 0; i <= highest; ++i)
        addSorted(settings.readString(
            kSection, kItemPrefix + QString::number(i),
            QString::fromLatin1(kDefaultAddressList.data(), qsizetype(kDefaultAddressList.size()))));
    const int index = settings.readInteger(kSection, kItemIndexKey, 0);
    m_comboBox->setCurrentIndex(index >= 0 && index < m_comboBox->count() ? index : -1);
    m_typedSinceCloseUp = false;
}

void TGetTextDialog::addSorted(const QString& text) {
    int at = 0;
    while (at < m_comboBox->count() &&
           QString::compare(m_comboBox->itemText(at), text, Qt::CaseInsensitive) <= 0)
        ++at;
    m_comboBox->insertItem(at, text);
}

int TGetTextDialog::selectedIndex() const {
    const QString text = m_comboBox->currentText();
    const int current = m_comboBox->currentIndex();
    if (current >= 0 && m_comboBox->itemText(current) == text)
        return current;
    return m_comboBox->findText(text, Qt::MatchExactly);
}

void TGetTextDialog::ComboBoxCloseUp() {
    m_typedSinceCloseUp = false;
    const QString text = m_comboBox->currentText();
    // An empty list is no address list worth remembering.
    if (text.trimmed().isEmpty() || m_comboBox->findText(text, Qt::MatchExactly) >= 0)
        return;
    addSorted(text);
    m_comboBox->setCurrentIndex(m_comboBox->findText(text, Qt::MatchExactly));
}

bool TGetTextDialog::eventFilter(QObject* watched, QEvent* event) {
    const bool typedInto = watched == m_comboBox || watched == m_comboBox->lineEdit() ||
                           watched == m_comboBox->completer()->popup();
    if (typedInto && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        // Only typed characters are filtered; editing and navigation keys stay the edit's.
        if (text.size() == 1 && text[0].isPrint() && !isAllowedKey(text[0]))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TGetTextDialog::OkButtonClick() {
    m_okPressed = true;
    accept();
}

void TGetTextDialog::CancelButtonClick() {
    m_okPressed = false;
    reject();
}

void TGetTextDialog::done(int result) {
    if (result != QDialog::Accepted)
        m_okPressed = false;
    // A list typed while the drop-down list was up is taken when the list goes with the
    // dialog.
    if (m_typedSinceCloseUp)
        ComboBoxCloseUp();
    m_addressSet.clear();
    if (m_okPressed) {
        // Only ASCII letters and "=" count, so characters outside the code page need no
        // encoding and must not spoil the rest.
        std::string ascii;
        for (const QChar ch : m_comboBox->currentText())
            if (ch.unicode() < 128)
                ascii += static_cast<char>(ch.unicode());
        m_addressSet = addressSetFromList(ascii);
    }
    FormClose();
    QDialog::done(result);
}

void TGetTextDialog::FormClose() {
    IniFile settings(m_settingsPath);
    settings.load();
    settings.eraseSection(kSection);
    settings.writeInteger(kSection, kItemIndexKey, selectedIndex());
    settings.writeInteger(kSection, kItemsKey, m_comboBox->count() - 1);
    for (int i = 0; i < m_comboBox->count(); ++i)
        settings.writeString(kSection, kItemPrefix + QString::number(i), m_comboBox->itemText(i));
    // Lists that cannot be remembered are not worth troubling the user about.
    (void)settings.save();
}

} // namespace ordalvex
