#pragma once

// Switching the computer off or restarting it, through the login manager
// (logind) on the system bus. The request is not forced: logind and its
// policy may ask for a password or refuse, and a refusal is shown in the
// program's own words.

#include <QString>
#include <functional>

enum class TPowerAction { PowerOff, Reboot };

// Sends the request; returns the refusal's text, empty when accepted.
using TPowerRequester = std::function<QString(TPowerAction action)>;

// Installs another requester (tests never switch the machine off);
// returns the previous one. Empty = logind.
TPowerRequester SetPowerRequester(TPowerRequester requester);

// Asks for the action; shows an error when it is refused.
void RequestPowerAction(TPowerAction action);

// The error shown for a refusal.
QString PowerRefusalMessage(TPowerAction action, const QString &detail);
