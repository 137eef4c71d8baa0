#pragma once

// Shows the program's message boxes as real dialogs (installed at start-up).

void InstallMessageBoxes();
