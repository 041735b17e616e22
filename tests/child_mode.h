#pragma once
// The test program re-executed as a child: the environment variable
// QM_TEST_CHILD names what the child does. Returns false when it is unset.
bool runChildModeIfAsked(int* exitCode);
