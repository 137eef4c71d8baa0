#pragma once

// The lock screen: a green window over everything of the program that
// closes only when the logged-in user's password is typed. The current user
// stays as they were.

#include <QDialog>

class QLabel;

class TLockScreenForm : public QDialog
{
    Q_OBJECT
public:
    explicit TLockScreenForm(QWidget *parent = nullptr);

    QLabel *ImgMain = nullptr;
    QLabel *LblInfo = nullptr;

    // A click on the picture: asks for the password and closes when right.
    void RequestUnlock();

    // Every way of closing (Esc, Alt+F4, the picture) asks first.
    void done(int result) override;

    // True while a lock screen is on screen.
    static bool IsLocked();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeControls();
    bool m_unlocked = false;
};

// The main window's ToolsLockScreen: does nothing before the first login or
// while the lock screen or its prompt is already up; otherwise locks until
// the password is typed.
void LockScreen();
