#pragma once
// The test program re-executed as a child: the environment variable
// QM_TEST_CHILD names what the child does. Returns false when it is unset.
//
// Besides "print-arguments", QM_TEST_CHILD may hold steps separated by ';',
// done in order:
//   out:TEXT / err:TEXT        write TEXT to standard output / error
//   outhex:HEX / errhex:HEX    write the bytes spelt in hex (zero bytes too)
//   outfill:N / errfill:N      write childFillPattern(N) in one go
//   sleep:MS                   sleep
//   touch:NAME                 create the file NAME in the current directory
//   args                       write every argument after the program name,
//                              one a line, to the file named by QM_TEST_OUTPUT
//   wait-release               wait until the file named by QM_TEST_RELEASE
//                              exists or its directory has gone (30 s at most)
//   grandchild                 start the test program again with QM_TEST_CHILD
//                              set to QM_TEST_GRANDCHILD, handing it this
//                              child's standard output and error, and go on
//   raise:SIGNAL               raise the signal
//   abort                      end abnormally (POSIX: killed by SIGABRT)
//   exit:CODE                  end with CODE (the exit code is 0 without it)
// Nothing written contains a line feed, which Windows' text mode would alter.
#include <cstddef>
#include <string>

bool runChildModeIfAsked(int* exitCode);

// n bytes of numbered 8-byte records, so that a lost, repeated or misplaced
// chunk shows.
std::string childFillPattern(size_t n);
