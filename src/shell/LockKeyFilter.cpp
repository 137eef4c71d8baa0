#include "LockKeyFilter.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>

TLockKeyFilter::TLockKeyFilter(QAction *lockAction, QObject *parent)
    : QObject(parent), m_lockAction(lockAction)
{
    QCoreApplication::instance()->installEventFilter(this);
}

TLockKeyFilter::~TLockKeyFilter()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool TLockKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F9) {
        // The key is handled whatever the lock decides, so no window sees it.
        m_lockAction->trigger();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
