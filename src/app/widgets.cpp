#include "app/widgets.h"

#include "app/pictures.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

#include <algorithm>

namespace pikotel {

QLabel* newLabel(QWidget* parent, const QString& objectName, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* newBuddyLabel(QWidget* parent, const QString& objectName, const QString& text,
                      QWidget* buddy) {
    QLabel* label = newLabel(parent, objectName, text);
    label->setBuddy(buddy);
    return label;
}

QComboBox* newTypingCombo(QWidget* parent, const QString& objectName,
                          const QString& accessibleName) {
    auto* box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->setAccessibleName(accessibleName);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    return box;
}

void selectInOrder(QListWidget* list, const QStringList& texts, int walk) {
    list->clearSelection();
    qsizetype next = 0;
    walk = std::min(list->count(), walk);
    for (int i = 0; i < walk && next < texts.size(); ++i) {
        QListWidgetItem* item = list->item(i);
        if (item->text() == texts.at(next)) {
            item->setSelected(true);
            ++next;
        }
    }
}

QGroupBox* newFrame(QWidget* parent, const QString& objectName, const QString& title) {
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(objectName);
    return frame;
}

QWidget* newPanel(QWidget* parent, const QString& objectName) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(objectName);
    return panel;
}

QLineEdit* newField(QWidget* parent, const QString& objectName, const QString& accessibleName) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setAccessibleName(accessibleName);
    return field;
}

QToolButton* newTextButton(QWidget* parent, const QString& objectName, const QString& text) {
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setText(text);
    button->setAccessibleName(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

QToolButton* newPictureButton(QWidget* parent, const QString& objectName,
                              const QString& pictureName, const QString& text,
                              Qt::ToolButtonStyle style) {
    QToolButton* button = newTextButton(parent, objectName, text);
    button->setIcon(pictureIcon(pictureName));
    button->setToolButtonStyle(style);
    button->setAutoRaise(false);
    return button;
}

} // namespace pikotel
