#pragma once

#include <QDialog>

namespace ordalvex {

// The frame every calculator window shares: a dialog with a title, a system menu and a close
// button only, kept above the main window and deleted when closed. Escape and the close button
// close it rather than hide it.
class CalculatorDialog : public QDialog {
    Q_OBJECT
public:
    CalculatorDialog(QWidget* parent, const char* objectName, const QString& title);

protected:
    void reject() override;
    // Not the dialog's own handler: that one rejects, and rejecting closes here.
    void closeEvent(QCloseEvent* event) override;
};

} // namespace ordalvex
