#include "Actions.h"

#include "data/Guard.h"

void OnTriggered(QAction *action, const std::function<void()> &handler)
{
    QObject::connect(action, &QAction::triggered, action, [handler] { RunGuarded(handler); });
}

void OnClicked(QAbstractButton *button, const std::function<void()> &handler)
{
    QObject::connect(button, &QAbstractButton::clicked, button, [handler] { RunGuarded(handler); });
}
