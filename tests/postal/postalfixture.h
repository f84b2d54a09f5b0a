#pragma once

// The postal-code screen over the real dictionary built from the shipped data, opened from
// a main menu in a scratch context, with messages recorded.

#include "app/frmmain.h"
#include "app/scriptedmessages.h"
#include "search/postal/frmzipfind3.h"
#include "search/postal/zipfindscreen.h"
#include "shell/recordingscreens.h"
#include "shell/shellfixture.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPointer>

#include <gtest/gtest.h>

#include <memory>

namespace pikotel::test {

class PostalScreen : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(zipFolder());
        ASSERT_TRUE(QFile::link(QStringLiteral(PIKOTEL_POSTAL_DICT_DIR "/pp00"),
                                zipFolder() + QStringLiteral("/pp00")));
        setEnv(EnvKey::BeforeExec, "0");
        setEnv(EnvKey::ZipHifon, "0");
        setEnv(EnvKey::ZipMark, "0");
        menu = std::make_unique<frmMain>(*f.ctx, screens);
    }
    void TearDown() override { delete screen.data(); }

    QString zipFolder() const { return f.programFolder() + QStringLiteral("/ZIP"); }
    void setEnv(EnvKey key, const char* value) {
        f.ctx->env().setText(key, QString::fromUtf8(value));
    }
    ZipConditions& stored() { return f.ctx->history().zipConditions(); }

    // Opens the screen as the main menu does: start-up mode 5 stores a prefecture first.
    frmZipFind3* open(const QString& prefecture = {}) {
        stored().prefecture = prefecture;
        screen = static_cast<frmZipFind3*>(createZipFindScreen(*f.ctx, *menu));
        menu->hide();
        screen->show();
        return screen;
    }

    template <class T> T* w(const char* name) {
        T* p = screen->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(p, nullptr) << name;
        return p;
    }
    QStringList items(const char* list) {
        QStringList out;
        QListWidget* l = w<QListWidget>(list);
        for (int i = 0; i < l->count(); ++i)
            out.append(l->item(i)->text());
        return out;
    }
    // Picks the first item with the text, as a click on it would.
    void pick(const char* list, const QString& text) {
        QListWidget* l = w<QListWidget>(list);
        const QList<QListWidgetItem*> found = l->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << list << " " << qPrintable(text);
        l->setCurrentItem(found.front());
    }
    void pickTown(const QString& prefecture, const QString& city, const QString& town) {
        pick("lstTodoufuken", prefecture);
        pick("lstSikuchouson", city);
        pick("lstChomei", town);
    }

    ShellFixture f;
    ScriptedMessagePresenter messages;
    RecordingScreens screens;
    std::unique_ptr<frmMain> menu;
    QPointer<frmZipFind3> screen;
};

} // namespace pikotel::test
