#include "ShellPictures.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace {

const QColor kNavy(0x1f, 0x4e, 0x79);
const QColor kDeep(0x0d, 0x2a, 0x45);
const QColor kGold(0xe6, 0xa2, 0x1e);

// Paints at 48 pixels on a 24-unit grid, so the icons stay sharp on
// high-density screens.
template <class Paint>
QPixmap drawn(int units, Paint paint)
{
    const qreal scale = 2.0;
    QPixmap pm(int(units * scale), int(units * scale));
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    paint(p);
    p.end();
    return pm;
}

QPen pen(const QColor &c, qreal w)
{
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void person(QPainter &p, const QColor &c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QRectF(6, 3, 8, 8));
    QPainterPath body;
    body.moveTo(2, 21);
    body.cubicTo(2, 13, 18, 13, 18, 21);
    body.closeSubpath();
    p.drawPath(body);
}

void padlock(QPainter &p, const QRectF &r, const QColor &body, const QColor &shackle)
{
    const qreal w = r.width();
    p.setPen(pen(shackle, w * 0.12));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(r.left() + w * 0.2, r.top(), w * 0.6, w * 0.7), 0, 180 * 16);
    p.drawLine(QPointF(r.left() + w * 0.2, r.top() + w * 0.35),
               QPointF(r.left() + w * 0.2, r.top() + w * 0.5));
    p.drawLine(QPointF(r.left() + w * 0.8, r.top() + w * 0.35),
               QPointF(r.left() + w * 0.8, r.top() + w * 0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(r.left(), r.top() + w * 0.45, w, w * 0.7), w * 0.1, w * 0.1);
}

void key(QPainter &p, const QColor &c)
{
    p.setPen(pen(c, 2.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(3, 3, 9, 9));
    p.drawLine(QPointF(10.5, 10.5), QPointF(20, 20));
    p.drawLine(QPointF(17, 17), QPointF(19.5, 14.5));
    p.drawLine(QPointF(14.5, 14.5), QPointF(16.5, 12.5));
}

void power(QPainter &p, const QRectF &r, const QColor &c)
{
    const qreal w = r.width();
    p.setPen(pen(c, w * 0.11));
    p.setBrush(Qt::NoBrush);
    p.drawArc(r.adjusted(w * 0.1, w * 0.12, -w * 0.1, -w * 0.08), 120 * 16, 300 * 16);
    p.drawLine(QPointF(r.center().x(), r.top() + w * 0.04), QPointF(r.center().x(), r.center().y()));
}

void book(QPainter &p, const QColor &cover, const QColor &pages)
{
    p.setPen(Qt::NoPen);
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(4, 2, 16, 20), 1.5, 1.5);
    p.setBrush(pages);
    p.drawRect(QRectF(7, 18, 13, 2.5));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawRect(QRectF(8, 6, 9, 2));
    p.drawRect(QRectF(8, 10, 6, 1.5));
}

void circleLetter(QPainter &p, const QColor &c, const QString &letter)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QRectF(2, 2, 20, 20));
    p.setPen(Qt::white);
    QFont f(u"DejaVu Sans"_s);
    f.setBold(true);
    f.setPixelSize(14);
    p.setFont(f);
    p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, letter);
}

QPixmap iconPixmap(TShellIcon which)
{
    return drawn(24, [which](QPainter &p) {
        switch (which) {
        case TShellIcon::Login:
            person(p, kNavy);
            p.setPen(pen(QColor(0x27, 0xae, 0x60), 2.2));
            p.drawLine(QPointF(14, 15), QPointF(22, 15));
            p.drawLine(QPointF(19, 12), QPointF(22, 15));
            p.drawLine(QPointF(19, 18), QPointF(22, 15));
            break;
        case TShellIcon::ModPwd: key(p, kGold); break;
        case TShellIcon::Lock: padlock(p, QRectF(4, 2, 16, 16), QColor(0x28, 0x9d, 0x40), kNavy); break;
        case TShellIcon::Exit: power(p, QRectF(2, 2, 20, 20), QColor(0xc0, 0x39, 0x2b)); break;
        case TShellIcon::Backup:
            p.setPen(Qt::NoPen);
            p.setBrush(kNavy);
            for (int i = 0; i < 3; ++i)
                p.drawEllipse(QRectF(4, 3 + i * 6, 16, 6));
            p.setBrush(kGold);
            p.drawEllipse(QRectF(4, 3, 16, 6));
            break;
        case TShellIcon::Calc:
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x5d, 0x6d, 0x7e));
            p.drawRoundedRect(QRectF(4, 2, 16, 20), 2, 2);
            p.setBrush(QColor(0xd6, 0xea, 0xf8));
            p.drawRect(QRectF(6, 4, 12, 5));
            p.setBrush(Qt::white);
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c)
                    p.drawRect(QRectF(6 + c * 4.2, 11 + r * 3.6, 3, 2.6));
            break;
        case TShellIcon::Note:
            p.setPen(pen(QColor(0x5d, 0x6d, 0x7e), 1.2));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(5, 2, 14, 20));
            for (int i = 0; i < 4; ++i)
                p.drawLine(QPointF(8, 7 + i * 3.5), QPointF(16, 7 + i * 3.5));
            break;
        case TShellIcon::Help: circleLetter(p, QColor(0x29, 0x80, 0xb9), u"?"_s); break;
        case TShellIcon::Guide: book(p, QColor(0x27, 0xae, 0x60), QColor(0xf4, 0xf6, 0xf7)); break;
        case TShellIcon::Web:
            p.setPen(pen(QColor(0x29, 0x80, 0xb9), 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(3, 3, 18, 18));
            p.drawEllipse(QRectF(8, 3, 8, 18));
            p.drawLine(QPointF(3, 12), QPointF(21, 12));
            break;
        case TShellIcon::About: circleLetter(p, kNavy, u"i"_s); break;
        }
    });
}

} // namespace

QIcon ShellIcon(TShellIcon which)
{
    return QIcon(iconPixmap(which));
}

QIcon ApplicationIcon()
{
    return QIcon(drawn(24, [](QPainter &p) { book(p, kNavy, QColor(0xf4, 0xf6, 0xf7)); }));
}

QPixmap LoginBanner(const QString &title)
{
    QPixmap pm(440, 110);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, pm.width(), pm.height());
    bg.setColorAt(0.0, kNavy);
    bg.setColorAt(1.0, kDeep);
    p.fillRect(pm.rect(), bg);
    // Book spines at the right edge.
    const QColor spines[] = {QColor(0xc0, 0x39, 0x2b), kGold, QColor(0x27, 0xae, 0x60),
                             QColor(0x29, 0x80, 0xb9), QColor(0x8e, 0x44, 0xad)};
    int x = pm.width() - 96;
    for (int i = 0; i < 6; ++i) {
        const int w = 9 + (i * 5) % 6;
        const int h = 46 + (i * 11) % 26;
        p.fillRect(QRect(x, pm.height() - 14 - h, w, h), spines[i % 5]);
        x += w + 3;
    }
    p.fillRect(QRect(pm.width() - 102, pm.height() - 14, 92, 4), QColor(0xd5, 0xb8, 0x8f));

    // The title shrinks until it fits beside the shelf.
    const QRect titleRect(22, 20, pm.width() - 132, 38);
    QFont big(u"Noto Sans CJK SC"_s);
    big.setBold(true);
    for (int px = 22; px >= 12; --px) {
        big.setPixelSize(px);
        if (QFontMetrics(big).horizontalAdvance(title) <= titleRect.width())
            break;
    }
    p.setFont(big);
    p.setPen(Qt::white);
    p.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(big).elidedText(title, Qt::ElideRight, titleRect.width()));
    QFont small(u"Noto Sans CJK SC"_s);
    small.setPixelSize(13);
    p.setFont(small);
    p.setPen(QColor(0xd6, 0xea, 0xf8));
    p.drawText(QRect(22, 62, titleRect.width(), 24), Qt::AlignLeft | Qt::AlignVCenter,
               u"请输入用户名称和密码"_s);
    return pm;
}

QPixmap LockPicture()
{
    return drawn(64, [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawEllipse(QRectF(0, 0, 64, 64));
        padlock(p, QRectF(18, 12, 28, 28), Qt::white, Qt::white);
        p.setBrush(QColor(0x28, 0x9d, 0x40));
        p.drawEllipse(QRectF(29.5, 30, 5, 5));
        p.drawRect(QRectF(31, 33, 2, 5));
    });
}

QPixmap ExitPicture()
{
    return drawn(40, [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xfd, 0xed, 0xec));
        p.drawEllipse(QRectF(0, 0, 40, 40));
        power(p, QRectF(8, 8, 24, 24), QColor(0xc0, 0x39, 0x2b));
    });
}

QPixmap GuideBanner(int width)
{
    QPixmap pm(width, 64);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, width, 0);
    bg.setColorAt(0.0, kNavy);
    bg.setColorAt(1.0, QColor(0x29, 0x80, 0xb9));
    p.fillRect(pm.rect(), bg);
    p.setPen(Qt::white);
    QFont f(u"Noto Sans CJK SC"_s);
    f.setPixelSize(22);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(20, 0, width - 40, 64), Qt::AlignLeft | Qt::AlignVCenter, u"快速指南"_s);
    f.setPixelSize(13);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(20, 0, width - 40, 64), Qt::AlignRight | Qt::AlignVCenter,
               u"书刊 · 读者 · 借还，三步上手"_s);
    return pm;
}
