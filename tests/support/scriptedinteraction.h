#pragma once

#include "common/ui/userinteraction.h"

#include <deque>

#include <QList>

namespace ordalvex::testing {

// A UserInteraction that never blocks: it records every message and beep and answers
// questions and file dialogs from queues the test fills. An unanswered question gets the
// default button (or Ok); an unanswered file dialog is cancelled.
class ScriptedInteraction : public UserInteraction {
public:
    struct Message {
        QMessageBox::Icon icon;
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons;
    };

    QList<Message> messages;
    int beeps = 0;
    QList<FileDialogRequest> openRequests;
    QList<FileDialogRequest> saveRequests;
    std::deque<QMessageBox::StandardButton> answers;
    std::deque<FileDialogResult> openResults;
    std::deque<FileDialogResult> saveResults;
    // Optional hook run when a save dialog is shown, before it is answered (to pick a type).
    std::function<void(const FileDialogRequest&)> onSaveDialog;
    QString clipboard;

    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon icon, const QString& caption,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override {
        messages.append({icon, caption, text, buttons});
        if (!answers.empty()) {
            auto answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return defaultButton != QMessageBox::NoButton ? defaultButton : QMessageBox::Ok;
    }
    void beep() override { ++beeps; }
    FileDialogResult openFiles(QWidget*, const FileDialogRequest& request) override {
        openRequests.append(request);
        return next(openResults, request);
    }
    FileDialogResult saveFile(QWidget*, const FileDialogRequest& request) override {
        saveRequests.append(request);
        if (onSaveDialog)
            onSaveDialog(request);
        return next(saveResults, request);
    }
    QString clipboardText() override { return clipboard; }
    void setClipboardText(const QString& text) override { clipboard = text; }

private:
    static FileDialogResult next(std::deque<FileDialogResult>& queue, const FileDialogRequest& request) {
        if (queue.empty())
            return {{}, request.filterIndex};
        auto result = queue.front();
        queue.pop_front();
        return result;
    }
};

// Installs a ScriptedInteraction for the lifetime of the object and restores the previous one.
class ScopedInteraction {
public:
    ScopedInteraction() {
        auto scripted = std::make_unique<ScriptedInteraction>();
        m_scripted = scripted.get();
        m_previous = setInteraction(std::move(scripted));
    }
    ~ScopedInteraction() { setInteraction(std::move(m_previous)); }
    ScriptedInteraction* operator->() { return m_scripted; }
    ScriptedInteraction& operator*() { return *m_scripted; }

private:
    ScriptedInteraction* m_scripted = nullptr;
    std::unique_ptr<UserInteraction> m_previous;
};

} // namespace ordalvex::testing
