#pragma once

// A message presenter for tests: records every message and answers from a script.
// Installed for its lifetime; the presenter it replaced comes back when it goes.

#include "platform/messages.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>

namespace pikotel::test {

struct ShownMessage {
    QString text;
    int style = MsgOk;
    QString caption;
};

class ScriptedMessagePresenter final : public MessagePresenter {
public:
    ScriptedMessagePresenter();
    ~ScriptedMessagePresenter() override;
    ScriptedMessagePresenter(const ScriptedMessagePresenter&) = delete;
    ScriptedMessagePresenter& operator=(const ScriptedMessagePresenter&) = delete;

    // Queues the answers to the next messages, in order.
    void answer(int result) { answers_.push_back(result); }
    void answer(std::initializer_list<int> results) { answers_.insert(answers_.end(), results); }

    // Without a queued answer: OK for style 0, otherwise the first button of the set
    // (OK for OK/Cancel, Yes for Yes/No).
    int present(const QString& text, int style, const QString& caption) override;

    const QList<ShownMessage>& shown() const { return shown_; }
    // The texts shown, in order.
    QStringList texts() const;
    qsizetype pendingAnswers() const { return static_cast<qsizetype>(answers_.size()); }
    void clear() {
        shown_.clear();
        answers_.clear();
    }

private:
    MessagePresenter* previous_;
    QList<ShownMessage> shown_;
    std::deque<int> answers_;
};

} // namespace pikotel::test
