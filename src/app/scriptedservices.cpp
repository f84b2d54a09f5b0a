#include "app/scriptedservices.h"

namespace pikotel::test {

QString ScriptedFileDialogs::answer(const FileDialogRequest& request) {
    requests_.append(request);
    if (answers_.empty())
        return {};
    QString next = answers_.front();
    answers_.pop_front();
    return next;
}

int ScriptedModals::exec(QDialog& dialog) {
    ++shown_;
    if (actions_.empty())
        return 0;
    auto act = std::move(actions_.front());
    actions_.pop_front();
    return act(dialog);
}

} // namespace pikotel::test
