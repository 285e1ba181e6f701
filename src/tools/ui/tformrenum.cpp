#include "tools/ui/tformrenum.h"

#include "common/core/codepage.h"
#include "common/core/filebytes.h"
#include "common/ui/growtotext.h"
#include "common/ui/limitedfield.h"
#include "common/ui/userinteraction.h"
#include "common/ui/widgethelpers.h"
#include "document/core/styledtext.h"
#include "document/ui/loadintoeditor.h"
#include "document/ui/trichedit98.h"
#include "tools/core/jumps.h"
#include "tools/core/previewrtf.h"
#include "tools/core/renumber.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QThreadPool>

namespace ordalvex {

namespace {

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text, const QString& hint, int x, int y,
                    int maxLength) {
    QLineEdit* edit = makeField(parent, name, text, maxLength);
    edit->setToolTip(hint);
    edit->setGeometry(x, y, 49, 21);
    return edit;
}

// Focus that goes to a menu or to another application is no leaving of the field.
bool isExit(const QEvent* event) {
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

std::string encodeOrEmpty(const QString& text, bool& ok) {
    auto encoded = cp1250::encode(text);
    ok = encoded.ok();
    return std::move(encoded.bytes);
}

} // namespace

TFormRenum::TFormRenum(const QString& inputPath, const QString& tempDir, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_inputPath(inputPath), m_tempDir(tempDir) {
    setWindowTitle(QStringLiteral("Przenumeruj"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    createControls();
    setFixedSize(grownSize({574, 470},
                           {m_radioAll, m_radioStep, m_editMin, m_editFirst, m_editStep, m_checkZero,
                            m_buttonStart, m_buttonOk, m_buttonCancel},
                           8));
    FormCreate();
}

void TFormRenum::createControls() {
    m_preview = new TRichEdit98(this);
    m_preview->setObjectName(QStringLiteral("RichEditRenum"));
    m_preview->setGeometry(0, 0, 377, 470);
    m_preview->setReadOnly(true);
    m_preview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_preview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_preview->setLocale(QLocale(QLocale::Polish, QLocale::Poland));
    keepSelectionVisible(m_preview);
    m_preview->setContextMenuPolicy(Qt::CustomContextMenu);
    m_preview->installEventFilter(this);

    m_radioAll = makeRadio(this, "RadioButtonAll", QStringLiteral("Przenumeruj wszystko"));
    placeGrown(m_radioAll, {408, 24, 137, 17});
    m_radioStep = makeRadio(this, "RadioButtonStep", QStringLiteral("Przenumeruj zaznaczone"));
    placeGrown(m_radioStep, {408, 56, 145, 17});

    auto* label1 = makeLabel(this, "Label1", QStringLiteral("Zacznij od : N"), {408, 112});
    auto* label3 = makeLabel(this, "Label3", QStringLiteral("Numeruj od :"), {408, 144});
    auto* label2 = makeLabel(this, "Label2", QStringLiteral("Numeruj co :"), {408, 176});
    // The fields keep one column, right of the widest of their labels.
    const int fieldsLeft = clearOf(480, {label1, label3, label2}, 4);
    m_editMin =
        makeEdit(this, "EditMin", QStringLiteral("0"),
                 QStringLiteral("Zacznij numerowanie od aktualnej lini nr.  (0 - 9000)"), fieldsLeft, 104, 4);
    label1->setBuddy(m_editMin);
    m_editFirst = makeEdit(this, "EditFirst", QStringLiteral("10"),
                           QStringLiteral("Numer pierwszej lini. (0 - 5000)"), fieldsLeft, 136, 4);
    label3->setBuddy(m_editFirst);
    m_editStep = makeEdit(this, "EditStep", QStringLiteral("10"), QStringLiteral("Krok. (1 - 100)"),
                          fieldsLeft, 168, 3);
    label2->setBuddy(m_editStep);
    for (QLineEdit* edit : {m_editMin, m_editFirst, m_editStep})
        edit->installEventFilter(this);

    m_checkZero = new QCheckBox(QStringLiteral("Dopisuj nie znaczące zera"), this);
    m_checkZero->setObjectName(QStringLiteral("CheckBoxZero"));
    m_checkZero->setToolTip(QStringLiteral("Czterocyfrowe numery lini. "));
    placeGrown(m_checkZero, {408, 232, 153, 17});

    m_buttonStart = makeButton(this, "ButtonStart", QStringLiteral("&Start"), {440, 320, 75, 25});
    m_buttonStart->setDefault(true);
    m_buttonOk = makeButton(this, "ButtonOK", QStringLiteral("&Ok"), {392, 408, 75, 25});
    m_buttonCancel = makeButton(this, "ButtonAnuluj", QStringLiteral("&Anuluj"),
                                {clearOf(488, {m_buttonOk}, 8), 408, 75, 25});

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu"));
    m_selectAll = m_popup->addAction(QStringLiteral("Zaznacz wszystko"));
    m_selectAll->setObjectName(QStringLiteral("SelectAll"));
    m_popup->addSeparator();
    m_selToEnd = m_popup->addAction(QStringLiteral("Zaznacz do końca"));
    m_selToEnd->setObjectName(QStringLiteral("SelToEnd"));

    QWidget* order[] = {m_radioAll,  m_radioStep,   m_editMin,  m_editFirst,    m_editStep,
                        m_checkZero, m_buttonStart, m_buttonOk, m_buttonCancel, m_preview};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(m_preview, &TRichEdit98::selectionChange, this, &TFormRenum::RichEditRenumSelectionChange);
    connect(m_preview, &TRichEdit98::mouseDown, this, &TFormRenum::RichEditRenumMouseDown);
    connect(m_preview, &QWidget::customContextMenuRequested, this, &TFormRenum::showContextMenu);
    connect(m_popup, &QMenu::aboutToShow, this, &TFormRenum::PopupMenuPopup);
    connect(m_selectAll, &QAction::triggered, this, &TFormRenum::SelectAllClick);
    connect(m_selToEnd, &QAction::triggered, this, &TFormRenum::SelToEndClick);
    connect(m_radioAll, &QRadioButton::clicked, this, &TFormRenum::RadioButtonAllClick);
    connect(m_buttonStart, &QPushButton::clicked, this, &TFormRenum::ButtonStartClick);
    connect(m_buttonOk, &QPushButton::clicked, this, &TFormRenum::ButtonOKClick);
    connect(m_buttonCancel, &QPushButton::clicked, this, &TFormRenum::ButtonAnulujClick);
}

void TFormRenum::FormCreate() {
    m_step = kStepDefault;
    m_minNumber = kMinNumberDefault;
    m_firstNumber = kFirstNumberDefault;
    m_rangeStart = 0;
    m_rangeLength = 0;
    m_confirmed = false;
    m_radioAll->setChecked(true);
    m_radioStep->setChecked(false);
    showWhole(m_editStep, QStringLiteral("10"));
    m_buttonOk->setEnabled(false);
    m_selToEnd->setEnabled(false);
    // A file that cannot be opened is refused at once; the reading itself, long for a long
    // program, is the worker's.
    if (QFile file(m_inputPath); !file.open(QIODevice::ReadOnly)) {
        showLoadError();
        m_loadFailed = true;
        return;
    }
    ColourPreview(PreviewSource{m_inputPath, {}});
}

QString TFormRenum::tempPath(const QString& name) const {
    return QDir(m_tempDir).filePath(name);
}

bool TFormRenum::Execute() {
    if (m_loadFailed)
        return false;
    exec();
    return m_confirmed;
}

void TFormRenum::showLoadError() {
    showMessage(this, QMessageBox::Critical, QStringLiteral("Błąd"), loadErrorText());
}

void TFormRenum::ColourPreview(PreviewSource source, std::function<void()> then) {
    m_previewLoading = true;
    m_buttonStart->setEnabled(false);
    m_preview->setBusyCursor(true);
    // The text is coloured and put into the engine's document on a worker; the preview takes
    // the document whole.
    auto loaded = std::make_shared<std::unique_ptr<LoadedText>>(std::make_unique<LoadedText>(*m_preview));
    QPointer<TFormRenum> guard(this);
    QThreadPool::globalInstance()->start([source = std::move(source), loaded, guard, then = std::move(then)] {
        const std::optional<QByteArray> bytes =
            source.path.isEmpty() ? std::optional<QByteArray>(source.bytes) : readWholeFile(source.path);
        const bool read = bytes.has_value();
        if (read)
            (*loaded)->fill(colouredProgram(std::string_view(bytes->constData(), std::size_t(bytes->size())),
                                            previewStyleStringFor));
        QMetaObject::invokeMethod(
            qApp,
            [loaded, guard, then, read] {
                if (!guard)
                    return;
                if (!read) {
                    guard->m_loadFailed = true;
                    guard->showLoadError();
                    guard->reject();
                    return;
                }
                guard->m_preview->setPlainRtf(false);
                guard->m_preview->setEditorFont(QString::fromLatin1(kPreviewFontName), kPreviewPointSize);
                guard->m_preview->adoptText(std::move(*loaded), [guard, then] {
                    if (!guard)
                        return;
                    guard->m_preview->setBusyCursor(false);
                    guard->m_previewLoading = false;
                    guard->m_buttonStart->setEnabled(true);
                    if (then)
                        then();
                });
            },
            Qt::QueuedConnection);
    });
}

void TFormRenum::RichEditRenumSelectionChange() {
    const bool selected = m_preview->selLength() > 0;
    m_selToEnd->setEnabled(selected);
    if (selected)
        m_radioStep->setChecked(true);
    else
        m_radioAll->setChecked(true);
}

void TFormRenum::RichEditRenumExit() {
    if (m_preview->selLength() == 0) {
        m_rangeStart = 0;
        m_rangeLength = 0;
        return;
    }
    bool ok = false;
    const std::string text = encodeOrEmpty(m_preview->text(), ok);
    m_preview->beginUpdate();
    const LineRange range =
        widenToWholeLines(text, std::size_t(m_preview->selStart()), std::size_t(m_preview->selLength()));
    m_rangeStart = qsizetype(range.start);
    m_rangeLength = qsizetype(range.length);
    m_preview->setSelection(m_rangeStart, m_rangeLength);
    if (range.wholeText)
        m_radioAll->setChecked(true);
    else
        m_radioStep->setChecked(true);
    m_preview->endUpdate();
}

void TFormRenum::RichEditRenumMouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton)
        m_menuAutoPopup = true;
}

void TFormRenum::PopupMenuPopup() {
    m_menuAutoPopup = false;
}

void TFormRenum::showContextMenu(const QPoint& pos) {
    // Only a right-button press arms the menu; the keyboard's menu key finds it unarmed.
    if (!m_menuAutoPopup)
        return;
    m_popup->popup(m_preview->viewport()->mapToGlobal(pos));
}

void TFormRenum::RadioButtonAllClick() {
    if (m_radioAll->isChecked())
        m_preview->setSelLength(0);
}

void TFormRenum::SelectAllClick() {
    m_preview->setSelection(0, m_preview->textLength());
}

void TFormRenum::SelToEndClick() {
    m_preview->setSelLength(m_preview->textLength());
}

void TFormRenum::takeNumber(QLineEdit* edit, int& variable, int low, int high, int defaultValue) {
    if (edit->text().isEmpty())
        showWhole(edit, QString::number(defaultValue));
    bool ok = false;
    const int value = edit->text().toInt(&ok);
    if (!ok) {
        showMessage(this, QMessageBox::Critical, QStringLiteral("Błąd"),
                    QStringLiteral("'%1' nie jest poprawną liczbą całkowitą.").arg(edit->text()));
        // The field shows the number that will be used, not the text that was refused.
        showWhole(edit, QString::number(variable));
        return;
    }
    variable = value;
    if (value < low || value > high) {
        beep();
        showWhole(edit, QString::number(defaultValue));
        variable = defaultValue;
    }
}

void TFormRenum::EditMinExit() {
    takeNumber(m_editMin, m_minNumber, kMinNumberLow, kMinNumberHigh, kMinNumberDefault);
}

void TFormRenum::EditFirstExit() {
    takeNumber(m_editFirst, m_firstNumber, kFirstNumberLow, kFirstNumberHigh, kFirstNumberDefault);
}

void TFormRenum::EditStepExit() {
    takeNumber(m_editStep, m_step, kStepLow, kStepHigh, kStepDefault);
}

void TFormRenum::EditMinClick(QLineEdit* edit) {
    // After the press has placed the cursor, so the selection is not undone by it.
    QMetaObject::invokeMethod(edit, &QLineEdit::selectAll, Qt::QueuedConnection);
}

bool TFormRenum::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_preview) {
        if (event->type() == QEvent::FocusOut && isExit(event))
            RichEditRenumExit();
        return QDialog::eventFilter(watched, event);
    }
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit || (edit != m_editMin && edit != m_editFirst && edit != m_editStep))
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (typed.size() == 1 && typed[0].isPrint() && !(typed[0] >= u'0' && typed[0] <= u'9'))
            return true;
        break;
    }
    case QEvent::MouseButtonPress:
        EditMinClick(edit);
        break;
    case QEvent::FocusOut:
        if (!isExit(event))
            break;
        if (edit == m_editMin)
            EditMinExit();
        else if (edit == m_editFirst)
            EditFirstExit();
        else
            EditStepExit();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormRenum::ButtonStartClick() {
    if (m_previewLoading)
        return; // nothing to renumber until the preview shows the text
    // Enter presses "&Start" without the focused control being left: take its range or number
    // as leaving it would.
    if (m_preview->hasFocus())
        RichEditRenumExit();
    else if (m_editMin->hasFocus())
        EditMinExit();
    else if (m_editFirst->hasFocus())
        EditFirstExit();
    else if (m_editStep->hasFocus())
        EditStepExit();
    bool ok = false;
    const std::string text = encodeOrEmpty(m_preview->text(), ok);
    if (!ok) {
        showLoadError();
        reject();
        return;
    }
    RenumberOptions options;
    options.firstNumber = m_firstNumber;
    options.step = m_step;
    options.minNumber = m_minNumber;
    options.zeroPadding = m_checkZero->isChecked();
    const bool all = m_radioAll->isChecked();
    if (all) {
        m_rangeLength = 0;
        options.scope = RenumberOptions::Scope::All;
    } else {
        options.scope = RenumberOptions::Scope::Range;
        options.rangeStart = std::size_t(m_preview->selStart());
        options.rangeLength = std::size_t(std::min(m_preview->selLength(), m_rangeLength));
    }
    const RenumberResult result = renumberText(text, options);
    if (!result.changed)
        return;

    const qsizetype rangeStart = qsizetype(result.rangeStart);
    const qsizetype rangeLength = qsizetype(result.rangeLength);
    const std::vector<std::size_t> unfollowed = result.unfollowedJumpLines;
    ColourPreview(PreviewSource{QString(), QByteArray(result.text.data(), qsizetype(result.text.size()))},
                  [this, all, rangeStart, rangeLength, unfollowed] {
                      if (!all) {
                          m_rangeStart = rangeStart;
                          m_rangeLength = rangeLength;
                      }
                      m_preview->setSelection(m_rangeStart, m_rangeLength);
                      m_buttonOk->setEnabled(true);
                      if (!unfollowed.empty())
                          showMessage(this, QMessageBox::Warning, QStringLiteral("Przenumeruj"),
                                      unfollowedJumpsMessage(unfollowed));
                  });
}

void TFormRenum::ButtonOKClick() {
    if (m_previewLoading)
        return;
    bool ok = false;
    const std::string text = encodeOrEmpty(m_preview->text(), ok);
    if (!ok || !writeFileSafely(m_inputPath, text).ok()) {
        showMessage(this, QMessageBox::Critical, QStringLiteral("Błąd"),
                    QStringLiteral("Nie można zapisać pliku %1.").arg(QDir::toNativeSeparators(m_inputPath)));
        return;
    }
    m_confirmed = true;
    accept();
}

void TFormRenum::ButtonAnulujClick() {
    m_confirmed = false;
    reject();
}

} // namespace ordalvex
