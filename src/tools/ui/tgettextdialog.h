#pragma once

#include <string>

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QPushButton;

namespace ordalvex {

// The decimal-point dialog: asks for the addresses whose whole-number values get a ".", and
// remembers the address lists typed before in the "Dots" section of the settings file, which
// it reads when made and writes whenever it closes (errors while writing are ignored).
// Run it with exec(); afterwards okPressed() and addressSet() give the choice.
class TGetTextDialog : public QDialog {
    Q_OBJECT
public:
    // `settingsPath` names the settings file; the dialog reads its lists from it at once.
    explicit TGetTextDialog(const QString& settingsPath, QWidget* parent = nullptr);

    // True when the dialog was closed with "&Gotowe".
    bool okPressed() const { return m_okPressed; }
    // The upper-case letters and "=" of the chosen list (Windows-1250 bytes); empty unless OK.
    const std::string& addressSet() const { return m_addressSet; }

    QComboBox* comboBox() const { return m_comboBox; }

public Q_SLOTS:
    void OkButtonClick();
    void CancelButtonClick();
    // The drop-down list closed: a typed list that is not among the items becomes one.
    void ComboBoxCloseUp();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormClose();
    void addSorted(const QString& text);
    int selectedIndex() const;

    QString m_settingsPath;
    QLabel* m_label = nullptr;
    QComboBox* m_comboBox = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    bool m_okPressed = false;
    bool m_typedSinceCloseUp = false;
    std::string m_addressSet;
};

} // namespace ordalvex
