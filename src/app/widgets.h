#pragma once

// The controls every screen builds alike, named as the screens name them. Buttons take the
// focus from the keyboard and carry their caption as the name a screen reader speaks.

#include <QString>
#include <QStringList>
#include <Qt>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;
class QWidget;

namespace pikotel {

// A label of plain text (never rich text: the texts come from listings and the user).
QLabel* newLabel(QWidget* parent, const QString& objectName, const QString& text);
// A label naming another control: a screen reader speaks the text as that control's name.
QLabel* newBuddyLabel(QWidget* parent, const QString& objectName, const QString& text,
                      QWidget* buddy);
// A list the user may also type into; typed text is checked against the items, never added.
QComboBox* newTypingCombo(QWidget* parent, const QString& objectName,
                          const QString& accessibleName);
// Selects the list's lines equal to the texts, matched in the texts' order (a text out of
// order ends the matching), among the first walk lines; every other line is unselected.
void selectInOrder(QListWidget* list, const QStringList& texts, int walk);
// A titled frame.
QGroupBox* newFrame(QWidget* parent, const QString& objectName, const QString& title);
// A plain container.
QWidget* newPanel(QWidget* parent, const QString& objectName);
// A text box whose accessible name is accessibleName (its label's text).
QLineEdit* newField(QWidget* parent, const QString& objectName, const QString& accessibleName);
// A button showing its caption only.
QToolButton* newTextButton(QWidget* parent, const QString& objectName, const QString& text);
// A picture button: the picture as its icon, the text beside or under it.
QToolButton* newPictureButton(QWidget* parent, const QString& objectName,
                              const QString& pictureName, const QString& text,
                              Qt::ToolButtonStyle style = Qt::ToolButtonTextBesideIcon);

} // namespace pikotel
