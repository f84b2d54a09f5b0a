#pragma once

// Scripted stand-ins for the services that need a user: file dialogs answer the next queued
// file name (an empty answer is a cancel), the clipboard is a text in memory, and modal
// screens are handed to an action and answer its result instead of waiting for a user.

#include "platform/services.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

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

// A spreadsheet in memory. A created workbook is an empty file on disk (so the program sees
// it exist) with its cells kept here; cells survive the office being closed, as if saved.
// The office can be closed as a user closes it: asking it anything then fails as "not
// running" until a workbook is opened again, which starts it anew.
class ScriptedSpreadsheet final : public SpreadsheetGateway {
public:
    bool installed() const override { return true; }
    bool createWorkbook(const QString& path, WorkbookFormat format) override;
    bool isWorkbookOpen(const QString& path) override;
    bool openWorkbook(const QString& path) override;
    int firstFreeRow(int lastRow) override;
    bool writeRows(int firstRow, const QList<QStringList>& rows) override;
    void release() override { attached_.clear(); }
    Failure lastFailure() const override { return failure_; }
    int lastErrorNumber() const override { return errorNumber_; }
    QString lastErrorText() const override { return errorText_; }

    // The user closes the office, or only one workbook.
    void closeOffice();
    void closeWorkbook(const QString& path) { openBooks_.removeAll(path); }
    // The next call that reaches the office fails this way.
    void failNext(Failure failure, int number, const QString& text);

    QString cell(const QString& path, int row, int column) const {
        return cells_.value(path).value({row, column});
    }
    void setCell(const QString& path, int row, int column, const QString& text) {
        cells_[path][{row, column}] = text;
    }
    // Rows 1..last of the workbook, columns A up to the last filled one.
    QList<QStringList> rows(const QString& path, int last) const;

    QMap<QString, WorkbookFormat> created;
    int opens = 0;
    int rowSearches = 0;

private:
    bool fails();
    bool succeed() {
        failure_ = Failure::None;
        return true;
    }
    bool notRunning();

    bool running_ = false;
    QStringList openBooks_;
    QString attached_;
    QMap<QString, QMap<QPair<int, int>, QString>> cells_;
    Failure failure_ = Failure::None;
    int errorNumber_ = 0;
    QString errorText_;
    Failure injected_ = Failure::None;
    int injectedNumber_ = 0;
    QString injectedText_;
};

} // namespace pikotel::test
