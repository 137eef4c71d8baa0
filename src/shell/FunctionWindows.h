#pragma once

// The windows of the function codes, registered once before the main
// window needs them.

void RegisterFunctionWindows();
