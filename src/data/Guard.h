#pragma once

// The edge of every user action: a silent abort ends it without a word, a
// database error is shown once (the program's words with the driver's
// detail), and the program carries on.

#include <functional>

// Runs the action; true when it ran to its end.
bool RunGuarded(const std::function<void()> &action);
