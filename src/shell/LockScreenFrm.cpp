#include "LockScreenFrm.h"

#include "ModalSeam.h"
#include "PwdInputFrm.h"
#include "ShellPictures.h"
#include "data/CurrentUser.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

int &openLockScreens()
{
    static int count = 0;
    return count;
}

// Counts the lock screen as up for as long as it is shown.
struct TLockedScope {
    TLockedScope() { ++openLockScreens(); }
    ~TLockedScope() { --openLockScreens(); }
};

} // namespace

TLockScreenForm::TLockScreenForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"LockScreenForm"_s);
    setWindowTitle(u"锁屏"_s);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(64, 157, 40));
    setPalette(pal);
    setWindowState(Qt::WindowFullScreen);

    ImgMain = new QLabel(this);
    ImgMain->setObjectName(u"ImgMain"_s);
    ImgMain->setPixmap(LockPicture());
    ImgMain->adjustSize();
    ImgMain->setCursor(Qt::PointingHandCursor);
    ImgMain->installEventFilter(this);

    LblInfo = new QLabel(u"点击图标解锁..."_s, this);
    LblInfo->setObjectName(u"LblInfo"_s);
    QFont f = LblInfo->font();
    f.setPointSize(f.pointSize() + 4);
    LblInfo->setFont(f);
    QPalette white = LblInfo->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    LblInfo->setPalette(white);
    LblInfo->adjustSize();

    resize(QApplication::primaryScreen() ? QApplication::primaryScreen()->size() : QSize(1024, 768));
    placeControls();
}

bool TLockScreenForm::IsLocked()
{
    return openLockScreens() > 0;
}

void TLockScreenForm::RequestUnlock()
{
    done(QDialog::Accepted);
}

void TLockScreenForm::done(int result)
{
    if (!m_unlocked) {
        if (!AskPassword(this))
            return;
        m_unlocked = true;
    }
    QDialog::done(result);
}

void TLockScreenForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

void TLockScreenForm::placeControls()
{
    ImgMain->move(width() / 2 - ImgMain->width() / 2, height() / 2 - ImgMain->height() / 2);
    LblInfo->move(width() / 2 - LblInfo->width() / 2,
                  ImgMain->y() + ImgMain->height() + LblInfo->height());
}

bool TLockScreenForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ImgMain && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        RequestUnlock();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void LockScreen()
{
    if (!CurrentUser().LoggedIn() || TLockScreenForm::IsLocked())
        return;
    QWidget *active = QApplication::activeWindow();
    if (qobject_cast<TLockScreenForm *>(active) || qobject_cast<TPwdInputForm *>(active))
        return;
    TLockedScope locked;
    QPointer<QWidget> previous(active);
    {
        TLockScreenForm form(active);
        ExecModal(form);
    }
    // The window that was working gets the keyboard back; window managers
    // do not all return it from a full-screen window.
    if (previous)
        previous->activateWindow();
}
