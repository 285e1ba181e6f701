#pragma once

#include <functional>

#include <QDialog>
#include <QString>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace ordalvex {

class TRichEdit98;

// The renumbering dialog: shows a program read from a plain-text file in a read-only coloured
// preview, renumbers its block numbers ("&Start", as often as wanted, the whole text or whole
// selected lines) and, on "&Ok", writes the preview's text back to the same file.
// The owner frees the dialog (it is not deleted on close); make one per use.
class TFormRenum : public QDialog {
    Q_OBJECT
public:
    // `inputPath`: the plain-text file to show and, after "&Ok", to overwrite ("Renum.tmp").
    // `tempDir`: the folder of the dialog's own temporary files ("Numer.tmp", left there).
    // When the file cannot be shown, an error is reported at once and Execute() returns false.
    TFormRenum(const QString& inputPath, const QString& tempDir, QWidget* parent = nullptr);

    // Runs the dialog modally; true when it was closed with "&Ok" and the file was written.
    bool Execute();

    bool confirmed() const { return m_confirmed; }
    bool loadFailed() const { return m_loadFailed; }
    // True while the preview is being coloured.
    bool previewLoading() const { return m_previewLoading; }
    int step() const { return m_step; }
    int minNumber() const { return m_minNumber; }
    int firstNumber() const { return m_firstNumber; }
    qsizetype rangeStart() const { return m_rangeStart; }
    qsizetype rangeLength() const { return m_rangeLength; }

    // Replaces the preview by the coloured text of a plain-text file; false (after the error
    // message) when the file cannot be read or shown.
    // A program for the preview: the file at `path`, or `bytes` when there is no path.
    struct PreviewSource {
        QString path;
        QByteArray bytes;
    };
    // Shows the program coloured in the preview; reading and colouring run on a worker and
    // `then` runs once the preview shows the text. Start and OK wait meanwhile.
    void ColourPreview(PreviewSource source, std::function<void()> then = {});

public Q_SLOTS:
    void RichEditRenumSelectionChange();
    void RichEditRenumExit();
    void RichEditRenumMouseDown(Qt::MouseButton button);
    void RadioButtonAllClick();
    void SelectAllClick();
    void SelToEndClick();
    void PopupMenuPopup();
    void EditMinExit();
    void EditFirstExit();
    void EditStepExit();
    void EditMinClick(QLineEdit* edit);
    void ButtonStartClick();
    void ButtonOKClick();
    void ButtonAnulujClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void FormCreate();
    void takeNumber(QLineEdit* edit, int& variable, int low, int high, int defaultValue);
    void showLoadError();
    void showContextMenu(const QPoint& pos);
    QString tempPath(const QString& name) const;

    QString m_inputPath;
    QString m_tempDir;
    int m_step = 10;
    int m_minNumber = 0;
    int m_firstNumber = 10;
    qsizetype m_rangeStart = 0;
    qsizetype m_rangeLength = 0;
    bool m_confirmed = false;
    bool m_loadFailed = false;
    bool m_previewLoading = false;
    bool m_menuAutoPopup = false;

    TRichEdit98* m_preview = nullptr;
    QRadioButton* m_radioAll = nullptr;
    QRadioButton* m_radioStep = nullptr;
    QLineEdit* m_editMin = nullptr;
    QLineEdit* m_editFirst = nullptr;
    QLineEdit* m_editStep = nullptr;
    QCheckBox* m_checkZero = nullptr;
    QPushButton* m_buttonStart = nullptr;
    QPushButton* m_buttonOk = nullptr;
    QPushButton* m_buttonCancel = nullptr;
    QMenu* m_popup = nullptr;
    QAction* m_selectAll = nullptr;
    QAction* m_selToEnd = nullptr;
};

} // namespace ordalvex
