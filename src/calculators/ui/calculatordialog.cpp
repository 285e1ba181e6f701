#include "calculators/ui/calculatordialog.h"

namespace ordalvex {

CalculatorDialog::CalculatorDialog(QWidget* parent, const char* objectName, const QString& title)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QLatin1String(objectName));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
}

void CalculatorDialog::reject() {
    close();
}

void CalculatorDialog::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
}

} // namespace ordalvex
