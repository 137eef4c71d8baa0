#pragma once

// The silent abort: ends the current handler and any pending post without a
// further message. The action dispatcher catches it and shows nothing.

#include <exception>

class TSilentAbort : public std::exception
{
public:
    const char *what() const noexcept override { return "silent abort"; }
};
