#pragma once

// Wiring of actions and buttons to handlers that run guarded: a handler may
// throw the silent abort or a database error and the event loop never sees it.

#include <QAbstractButton>
#include <QAction>
#include <functional>

void OnTriggered(QAction *action, const std::function<void()> &handler);
void OnClicked(QAbstractButton *button, const std::function<void()> &handler);
