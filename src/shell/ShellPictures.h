#pragma once

// The built-in pictures of the shell's windows and the icons of the main
// window's actions, drawn rather than shipped so that they scale and need
// no files.

#include <QIcon>
#include <QPixmap>

enum class TShellIcon { Login, ModPwd, Lock, Exit, Backup, Calc, Note, Help, Guide, Web, About };

QIcon ShellIcon(TShellIcon which);
// The program's own icon: a closed book.
QIcon ApplicationIcon();
// The banner across the top of the login window.
QPixmap LoginBanner(const QString &title);
// The padlock of the lock screen.
QPixmap LockPicture();
// The power sign of the exit dialog.
QPixmap ExitPicture();
// The banner across the top of the quick guide.
QPixmap GuideBanner(int width);
