#pragma once

// F9 from anywhere in the program, modal windows included: an event filter
// on the application that turns every F9 key-down into the lock action.

#include <QObject>

class QAction;

class TLockKeyFilter : public QObject
{
    Q_OBJECT
public:
    // Installs itself on the application; `lockAction` is triggered.
    TLockKeyFilter(QAction *lockAction, QObject *parent = nullptr);
    ~TLockKeyFilter() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *m_lockAction;
};
