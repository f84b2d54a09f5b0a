#include "app/scriptedservices.h"

#include <QFile>

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

void ScriptedSpreadsheet::failNext(Failure failure, int number, const QString& text) {
    injected_ = failure;
    injectedNumber_ = number;
    injectedText_ = text;
}

bool ScriptedSpreadsheet::fails() {
    if (injected_ == Failure::None)
        return false;
    failure_ = injected_;
    errorNumber_ = injectedNumber_;
    errorText_ = injectedText_;
    injected_ = Failure::None;
    return true;
}

bool ScriptedSpreadsheet::notRunning() {
    failure_ = Failure::NotRunning;
    errorNumber_ = 462;
    errorText_ = QStringLiteral("The remote server machine does not exist or is unavailable");
    return false;
}

bool ScriptedSpreadsheet::createWorkbook(const QString& path, WorkbookFormat format) {
    if (fails())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        failure_ = Failure::Other;
        errorNumber_ = 1004;
        errorText_ = file.errorString();
        return false;
    }
    created.insert(path, format);
    cells_[path];
    return succeed();
}

bool ScriptedSpreadsheet::isWorkbookOpen(const QString& path) {
    if (!running_)
        return notRunning();
    succeed();
    return openBooks_.contains(path);
}

bool ScriptedSpreadsheet::openWorkbook(const QString& path) {
    if (fails())
        return false;
    ++opens;
    running_ = true;
    if (!openBooks_.contains(path))
        openBooks_.append(path);
    attached_ = path;
    return succeed();
}

int ScriptedSpreadsheet::firstFreeRow(int lastRow) {
    if (fails())
        return 0;
    if (!running_ || attached_.isEmpty())
        return notRunning();
    ++rowSearches;
    succeed();
    for (int row = 1; row <= lastRow; ++row) {
        if (cell(attached_, row, 1).isEmpty())
            return row;
    }
    return 0;
}

bool ScriptedSpreadsheet::writeRows(int firstRow, const QList<QStringList>& rows) {
    if (fails())
        return false;
    if (!running_)
        return notRunning();
    if (!openBooks_.contains(attached_)) {
        failure_ = Failure::Other;
        errorNumber_ = 1004;
        errorText_ = QStringLiteral("The workbook is not open");
        return false;
    }
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (qsizetype c = 0; c < rows.at(r).size(); ++c)
            setCell(attached_, firstRow + static_cast<int>(r), static_cast<int>(c) + 1,
                    rows.at(r).at(c));
    }
    return succeed();
}

void ScriptedSpreadsheet::closeOffice() {
    running_ = false;
    openBooks_.clear();
}

QList<QStringList> ScriptedSpreadsheet::rows(const QString& path, int last) const {
    QList<QStringList> out;
    const auto book = cells_.value(path);
    for (int row = 1; row <= last; ++row) {
        QStringList cells;
        for (auto it = book.cbegin(); it != book.cend(); ++it) {
            if (it.key().first != row)
                continue;
            while (cells.size() < it.key().second)
                cells.append(QString());
            cells[it.key().second - 1] = it.value();
        }
        out.append(cells);
    }
    return out;
}

} // namespace pikotel::test
