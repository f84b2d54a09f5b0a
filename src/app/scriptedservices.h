#pragma once

// Scripted stand-ins for the services that need a user: file dialogs answer the next queued
// file name (an empty answer is a cancel), the clipboard is a text in memory, and modal
// screens are handed to an action and answer its result instead of waiting for a user.

#include "platform/services.h"

#include <QList>
#include <QString>

#include <deque>
#include <functional>

namespace pikotel::test {

class ScriptedFileDialogs final : public FileDialogs {
public:
    void setNextFileName(const QString& name) { answers_.push_back(name); }
    QString openFileName(FileDialogRequest& request) override { return answer(request); }
    QString saveFileName(FileDialogRequest& request) override { return answer(request); }
    // Every request shown, in order.
    const QList<FileDialogRequest>& requests() const { return requests_; }

private:
    QString answer(const FileDialogRequest& request);
    std::deque<QString> answers_;
    QList<FileDialogRequest> requests_;
};

class MemoryClipboard final : public Clipboard {
public:
    void setText(const QString& text) override { text_ = text; }
    QString text() const override { return text_; }

private:
    QString text_;
};

class ScriptedModals final : public ModalScreens {
public:
    // The action for the next modal screen; its return value is the screen's result.
    void onNext(std::function<int(QDialog&)> act) { actions_.push_back(std::move(act)); }
    // Without a queued action the screen is rejected (result 0).
    int exec(QDialog& dialog) override;
    int shownCount() const { return shown_; }

private:
    std::deque<std::function<int(QDialog&)>> actions_;
    int shown_ = 0;
};

} // namespace pikotel::test
