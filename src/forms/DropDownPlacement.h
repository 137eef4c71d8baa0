#pragma once

// Where the drop-down lookup opens: under its edit box like a combo box's
// list, kept inside the desktop's work area, and above the box when the
// screen ends below it and there is more room above.

#include <QPoint>
#include <QRect>
#include <QSize>

// `workArea` is the desktop without the task bar, `editPos` the screen
// position of the edit box's top-left corner, `editHeight` its height and
// `size` the drop-down's wanted size. Returns the drop-down's geometry.
QRect PlaceDropDown(const QRect &workArea, const QPoint &editPos, int editHeight,
                    const QSize &size);
