#include "UserNameCombo.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

TUserNameCombo::TUserNameCombo(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setCompleter(nullptr);
    // Typing a name and pressing Enter must not add it to the list.
    setInsertPolicy(QComboBox::NoInsert);
}

void TUserNameCombo::SetSimpleStyle(bool simple)
{
    m_simple = simple;
    setStyleSheet(simple ? u"QComboBox::drop-down { width: 0px; border: none; }"
                           "QComboBox::down-arrow { image: none; }"_s
                         : QString());
}

void TUserNameCombo::showPopup()
{
    if (!m_simple)
        QComboBox::showPopup();
}

void TUserNameCombo::keyPressEvent(QKeyEvent *event)
{
    // Without a list the arrow keys and F4 do not walk through the codes.
    const int key = event->key();
    if (m_simple && (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_F4 ||
                     key == Qt::Key_PageUp || key == Qt::Key_PageDown)) {
        lineEdit()->event(event);
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TUserNameCombo::wheelEvent(QWheelEvent *event)
{
    if (m_simple)
        event->ignore();
    else
        QComboBox::wheelEvent(event);
}
