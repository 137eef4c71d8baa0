#pragma once

// The shared 16-pixel images of the windows' actions and menus, by the index
// every window names (0 add, 1 modify, 2 delete, 3 find, 5 calculator and
// column chooser, 6 print, 7 manual, 8 about, 9 web site, 14 close,
// 16 export, 21 notepad, ...). The desktop's icon theme provides them where
// it has them; the widget style's own pictures stand in otherwise.

#include <QIcon>

QIcon ImgList16(int index);
