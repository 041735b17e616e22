#pragma once
// Removal, at the end of a run, of everything the run left in the
// temporary area.

// Removes the recorded temporary directories and files, newest first.
void cleanupAtExit();
