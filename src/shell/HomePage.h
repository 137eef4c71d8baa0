#pragma once

// The home page: a template whose tags "<#Name Param=Value ...>" are replaced
// at each login, and the function code that a followed link ends in.

#include <QMap>
#include <QString>
#include <functional>

using TTagHandler =
    std::function<QString(const QString &tag, const QMap<QString, QString> &params)>;

// Replaces every tag of the template by what the handler returns.
QString ProducePage(const QString &templateText, const TTagHandler &handler);

// The answers of the main window: LoginInfo and funRight; any other tag
// gives nothing.
QString HomePageTag(const QString &tag, const QMap<QString, QString> &params);

// "您好，<user>。今天是：YYYY年M月D日 星期X！"
QString LoginInfoText();
// "有权限" or "无权限" for the logged-in user and a function code.
QString FunRightText(int funKey);

// The two digits a followed link ends in; 0 when they are not a number.
int FunctionCodeFromAddress(const QString &address);

// The template that ships with the program ("Resources/HomePage.html"
// beside the executable) and the page produced from it at each login
// ("Resources/HomePageTemp.html" in the writable application folder).
QString HomePageTemplatePath();
QString HomePageTempPath();

// Produces the home page for the logged-in user from the template and
// writes it; returns the written file. A missing template or an unwritable
// page is a TDbError with the file's name.
QString ProduceHomePageFile();
