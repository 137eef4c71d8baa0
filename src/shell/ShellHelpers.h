#pragma once

// Small wrappers around the desktop: starting programs and documents, the
// library software's web site, the help window.

#include <QString>

class QWidget;

// Opens a file, document or address with the desktop's default program.
// "calc.exe" and "notepad.exe" start the desktop's calculator and text
// editor (the first one installed). Shows a warning when nothing can start it.
bool RunProgram(const QString &file, const QString &parameters = {});
void OpenWebSite();
// Opens the help window on help/HTML/<keyword>, or on its contents page
// when the keyword is empty or has no topic.
void ShowHelpTopic(const QString &keyword = {});
// Gives a window its own taskbar button.
void SetAppWindowStyle(QWidget *window);
// The folder of the help topics.
QString HelpTopicFolder();
