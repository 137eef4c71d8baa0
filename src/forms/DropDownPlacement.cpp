#include "DropDownPlacement.h"

QRect PlaceDropDown(const QRect &workArea, const QPoint &editPos, int editHeight,
                    const QSize &size)
{
    // Right and bottom are exclusive edges here, as the work area's are.
    const int waLeft = workArea.left();
    const int waTop = workArea.top();
    const int waRight = workArea.left() + workArea.width();
    const int waBottom = workArea.top() + workArea.height();
    int left = editPos.x();
    int top = editPos.y() + editHeight + 1;
    int width = size.width();
    int height = size.height();
    if (waRight - waLeft < width)
        width = waRight - waLeft;
    if (left + width > waRight)
        left = waRight - width;
    if (left < waLeft)
        left = waLeft;
    const bool moreRoomAbove = editPos.y() - waTop > waBottom - editPos.y() - editHeight;
    if (top + height > waBottom && moreRoomAbove)
        top = editPos.y() - height;
    if (top < waTop) {
        height -= waTop - top;
        top = waTop;
    }
    if (top + height > waBottom)
        height = waBottom - top;
    left -= 2;
    return QRect(left, top, width, height);
}
