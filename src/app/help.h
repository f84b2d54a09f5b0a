#pragma once

// The help pages (help/*.html in the program folder), one per screen, with index.html as
// their table of contents. They open in the desktop's browser, or in a help window of the
// program when no browser takes them.

#include <QString>

class QApplication;
class QObject;
class QWidget;

namespace pikotel {

class AppContext;

inline constexpr auto kHelpContents = "index.html";

// The page of a screen or dialog, by its objectName; the table of contents for any other.
QString helpPageOf(const QString& screenName);
// The page of the window a widget belongs to, or of the nearest window under it that has
// one (a message dialog has none of its own).
QString helpPageFor(const QWidget* widget);

// Opens a page of the help, or says the help is missing.
void OpenHelp(AppContext& ctx, const QString& page = QLatin1String(kHelpContents));

// F1 anywhere opens the page of the window it was pressed in. Returns the key's filter,
// owned by app.
QObject* installHelpKey(QApplication& app, AppContext& ctx);

} // namespace pikotel
