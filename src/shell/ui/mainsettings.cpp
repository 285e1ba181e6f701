// Start and stop of the main window: the settings file, the windows of the last run, the
// command-line files, New and Open, Save and Save as, and the close sequence.
#include "common/core/inifile.h"
#include "common/core/settingslocation.h"
#include "common/ui/userinteraction.h"
#include "document/ui/teditform.h"
#include "serial/core/portsettings.h"
#include "shell/core/shellsettings.h"
#include "shell/ui/tmainform.h"

#include <memory>

#include <QAction>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QToolButton>

namespace ordalvex {

void TMainForm::FormShow() {
    if (m_shown)
        return;
    m_shown = true;
    LoadSettings();
    openCommandLineFiles(m_commandLineFiles);
    UpdateCommandState();
    m_comPort->setToolTip(comPortButtonHint(ComPortSettingsFileName));
}

void TMainForm::LoadSettings() {
    const ShellSettings settings = readIniFile(settingsFilePath(), readShellSettings);
    Settings = settings.format;
    m_highlighting->setChecked(Settings.SyntaxHighlighting);
    m_highlightingOnWriting->setChecked(Settings.SyntaxHighlightingOnWriting);
    LastOpenPath = settings.lastOpenPath;
    ComPortSettingsFileName = settings.comPortSettingsFileName;
    OpenFilterIndex = settings.lastFilterIndex;
    restoreWindows(settings);
}

DocumentPlacement TMainForm::restoredFromMaximized(const DocumentPlacement& placement) const {
    // The client area below the menu bar, as the maximized rule measures it.
    const int menuHeight = menuWidget() ? menuWidget()->sizeHint().height() : 0;
    const int clientWidth = width();
    const int clientHeight = std::max(0, height() - menuHeight);
    return maximizedRestorePlacement(placement, x(), y(), clientWidth, clientHeight);
}

void TMainForm::keepRestoreSizeForLater(TEditForm* document, const DocumentPlacement& placement) {
    // The main window is shown maximised, but the window manager gives it its maximised size
    // only some time after start-up: the size taken when the user restores the document is
    // measured when that happens, once, from the main window as it is then.
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(
        document, &QMdiSubWindow::windowStateChanged, this,
        [this, document, placement, connection](Qt::WindowStates before, Qt::WindowStates now) {
            if (!before.testFlag(Qt::WindowMaximized) || (now & (Qt::WindowMaximized | Qt::WindowMinimized)))
                return;
            disconnect(*connection);
            const DocumentPlacement normal = restoredFromMaximized(placement);
            document->setGeometry(normal.Left, normal.Top, normal.Width, normal.Height);
        });
}

void TMainForm::restoreWindows(const ShellSettings& settings) {
    // From the least recently active window to the active one, which ends up active again.
    for (auto it = settings.windows.crbegin(); it != settings.windows.crend(); ++it) {
        DocumentPlacement placement = it->placement;
        if (it->state == static_cast<int>(WindowState::Maximized))
            placement = restoredFromMaximized(placement);
        if (!QFileInfo(placement.FileName).isFile())
            continue;
        TEditForm* document = createDocument();
        QPointer<TEditForm> guard(document);
        document->RestoreWindow(placement, Settings);
        if (!guard)
            continue;
        if (it->state == static_cast<int>(WindowState::Normal))
            document->showNormal();
        else if (it->state == static_cast<int>(WindowState::Maximized)) {
            document->showMaximized();
            keepRestoreSizeForLater(document, placement);
        }
    }
}

ShellSettings TMainForm::currentSettings() const {
    ShellSettings settings;
    settings.format = Settings;
    settings.lastOpenPath = LastOpenPath;
    settings.comPortSettingsFileName = ComPortSettingsFileName;
    settings.lastFilterIndex = OpenFilterIndex;
    for (TEditForm* document : documents()) {
        LastRunWindow window;
        window.placement = document->GetWindowState();
        // A minimized window comes back as a normal one.
        window.state =
            static_cast<int>(document->isMaximized() ? WindowState::Maximized : WindowState::Normal);
        settings.windows.push_back(window);
    }
    return settings;
}

bool TMainForm::SaveSettings() {
    return rewriteIniFile(settingsFilePath(),
                          [this](IniFile& ini) { writeShellSettings(ini, currentSettings()); });
}

bool TMainForm::askDocumentsToClose() {
    const QList<TEditForm*> windows = documents();
    QList<QPointer<TEditForm>> guarded(windows.cbegin(), windows.cend());
    for (const QPointer<TEditForm>& document : guarded) {
        if (document && !document->FormCloseQuery())
            return false;
    }
    return true;
}

void TMainForm::NewSpeedButtonClick() {
    TEditForm* document = createDocument();
    document->setWindowTitle(QStringLiteral("Bez nazwy_") + QString::number(NewFileCounter));
    document->ApplyFormat(Settings);
    ++NewFileCounter;
}

void TMainForm::OpenSpeedButtonClick() {
    FileDialogRequest request;
    request.caption = QStringLiteral("Otwórz");
    request.folder = LastOpenPath;
    request.filters = openDialogFilters();
    request.filterIndex = OpenFilterIndex;
    const FileDialogResult result = interaction().openFiles(this, request);
    OpenFilterIndex = result.filterIndex;
    if (result.files.isEmpty())
        return;
    LastOpenPath = QFileInfo(result.files.first()).absolutePath();
    for (const QString& file : result.files)
        openInNewWindow(QFileInfo(file).absoluteFilePath());
}

void TMainForm::SaveSpeedButtonClick() {
    if (TEditForm* document = activeDocument())
        document->Save();
}

void TMainForm::SaveAsSpeedButtonClick() {
    TEditForm* document = activeDocument();
    if (!document)
        return;
    QString folder;
    document->SaveAs(&folder);
    LastOpenPath = folder;
}

} // namespace ordalvex
