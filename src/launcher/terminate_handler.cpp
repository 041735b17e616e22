// What an exception that escapes every handler does: the launcher ends at
// once, as abort() ends it. launcherMain catches everything, so only an
// exception thrown where none may leave (a destructor, a noexcept function)
// gets here. The C++ library's own handler would first print the
// exception's demangled type name, and its demangler alone was a tenth of
// the Windows launcher's size.
#include <cstdlib>

namespace __gnu_cxx {

// Takes the place of libstdc++'s default handler of the same name.
void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
