#pragma once
// For tests only: the launcher never resets its variables, but each test
// needs to start from the state of a fresh process.

// Empties every string variable and sets every numeric variable to 0.
void resetScriptVariables();
