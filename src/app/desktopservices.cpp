#include "app/desktopservices.h"

#include "core/context.h"
#include "platform/calcgateway.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFileDialog>

namespace pikotel {

namespace {

class DialogModals final : public ModalScreens {
public:
    int exec(QDialog& dialog) override { return dialog.exec(); }
};

class SystemFileDialogs final : public FileDialogs {
public:
    QString openFileName(FileDialogRequest& r) override {
        return QFileDialog::getOpenFileName(r.parent, r.caption, startPath(r), r.filter,
                                            &r.selectedFilter, QFileDialog::ReadOnly);
    }
    // Output files are appended to and workbooks written into, never replaced: choosing an
    // existing one asks nothing.
    QString saveFileName(FileDialogRequest& r) override {
        // Output files are appended to, never replaced: choosing one asks nothing.
        return QFileDialog::getSaveFileName(r.parent, r.caption, startPath(r), r.filter,
                                            &r.selectedFilter, QFileDialog::DontConfirmOverwrite);
    }

private:
    static QString startPath(const FileDialogRequest& r) {
        if (r.proposedName.isEmpty())
            return r.folder;
        return r.folder.isEmpty() ? r.proposedName : QDir(r.folder).filePath(r.proposedName);
    }
};

class SystemClipboard final : public Clipboard {
public:
    void setText(const QString& text) override { QApplication::clipboard()->setText(text); }
    QString text() const override { return QApplication::clipboard()->text(); }
};

} // namespace

void installDesktopServices(AppContext& ctx) {
    ctx.setModals(std::make_unique<DialogModals>());
    ctx.setFileDialogs(std::make_unique<SystemFileDialogs>());
    ctx.setClipboard(std::make_unique<SystemClipboard>());
    ctx.setSpreadsheet(loadSpreadsheetGateway(calcModuleFile(), calcOptionsFromEnvironment()));
}

} // namespace pikotel
