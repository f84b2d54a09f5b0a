#pragma once

// The environment values: the user's choices held in memory as texts under their stored
// names for the whole run, and the values derived from them.

#include <QHash>
#include <QString>

namespace pikotel {

// Viewer kinds, from HIDEEXE.
enum ViewerKindValue : int { ViewerNotePad = 0, ViewerWordPad = 1, ViewerExcel = 2, ViewerExcel2007 = 3 };

class Environment {
public:
    // Missing values read as empty.
    QString value(const QString& name) const { return values_.value(name); }
    void setValue(const QString& name, const QString& text) { values_.insert(name, text); }
    void clear(const QString& name) { values_.remove(name); }

    // HIDEEXE → ViewerKind; any other text leaves it unchanged.
    void applyHideExe(const QString& text);

    // A switch: "0" and empty are the first choice, anything else the second.
    bool isFirstChoice(const QString& name) const;
    // A number: empty or non-numeric counts as 0.
    int number(const QString& name) const;

    int viewerKind = ViewerNotePad;
    int startUpFormNo = 0;
    bool hddInstalled = false;
    QString initialCdRoot;
    QString lastSaveDir;
    QString lastSaveFile;

private:
    QHash<QString, QString> values_;
};

// ViewerKind of a HIDEEXE text, or -1 for a text that names no viewer.
int viewerKindOf(const QString& hideExe);

} // namespace pikotel
