#include "SplashFrm.h"

#include "data/AppPaths.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

// Platforms without window opacity (offscreen, minimal) would only complain
// at every step of the fade.
bool canFade()
{
    const QString platform = QGuiApplication::platformName();
    return platform != u"offscreen" && platform != u"minimal";
}

} // namespace

TSplashForm::TSplashForm(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"SplashForm"_s);
    if (QFileInfo::exists(u"Splash.bmp"_s))
        m_picture.load(u"Splash.bmp"_s);
    if (m_picture.isNull())
        m_picture = BuiltInPicture();
    setFixedSize(m_picture.deviceIndependentSize().toSize());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    if (canFade())
        setWindowOpacity(0.0);
}

QPixmap TSplashForm::BuiltInPicture()
{
    QPixmap pm(480, 280);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, pm.height());
    bg.setColorAt(0.0, QColor(0x1f, 0x4e, 0x79));
    bg.setColorAt(1.0, QColor(0x0d, 0x2a, 0x45));
    p.fillRect(pm.rect(), bg);

    // A shelf of book spines along the bottom.
    const QColor spines[] = {QColor(0xc0, 0x39, 0x2b), QColor(0xe6, 0x7e, 0x22),
                             QColor(0xf1, 0xc4, 0x0f), QColor(0x27, 0xae, 0x60),
                             QColor(0x29, 0x80, 0xb9), QColor(0x8e, 0x44, 0xad)};
    int x = 24;
    for (int i = 0; x < pm.width() - 24; ++i) {
        const int w = 14 + (i * 7) % 11;
        const int h = 46 + (i * 13) % 30;
        p.fillRect(QRect(x, pm.height() - 30 - h, w, h), spines[i % 6]);
        x += w + 3;
    }
    p.fillRect(QRect(16, pm.height() - 30, pm.width() - 32, 5), QColor(0xd5, 0xb8, 0x8f));

    p.setPen(Qt::white);
    QFont title(u"Noto Sans CJK SC"_s, 24, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(0, 40, pm.width(), 50), Qt::AlignCenter, GetApplicationTitle());
    QFont sub(u"Noto Sans CJK SC"_s, 11);
    p.setFont(sub);
    p.drawText(QRect(0, 95, pm.width(), 30), Qt::AlignCenter, u"正在启动，请稍候……"_s);
    return pm;
}

void TSplashForm::ShowAndFadeIn()
{
    show();
    if (!canFade()) {
        QApplication::processEvents();
        return;
    }
    raise();
    // About half a second in all, whatever the machine.
    for (int opacity = 1; opacity <= 255; ++opacity) {
        QApplication::processEvents();
        repaint();
        setWindowOpacity(opacity / 255.0);
        QThread::usleep(2000);
    }
    QApplication::processEvents();
}

void TSplashForm::paintEvent(QPaintEvent *)
{
    QPainter(this).drawPixmap(0, 0, m_picture);
}
