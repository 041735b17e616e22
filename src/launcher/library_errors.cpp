// What the C++ library throws when the launcher's own code breaks one of its
// rules (a position past the end of a text, a size beyond what fits): a
// LauncherException that names it, reported as any failure of the run is.
// These take the place of the library's functions of the same names, which
// build the standard exception classes on the library's older string type:
// that type and its classes were a tenth of the Windows launcher's size,
// for failures that a correct launcher never meets.
#include <exception>
#include <new>
#include <string>
#include <typeinfo>

#include "base/exceptions.h"

namespace {

[[noreturn]] void fail(const char* text) {
  throw LauncherException(std::string("Internal error: ") + (text ? text : ""));
}

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_bad_exception() { throw bad_exception(); }
void __throw_logic_error(const char* text) { fail(text); }
void __throw_domain_error(const char* text) { fail(text); }
void __throw_invalid_argument(const char* text) { fail(text); }
void __throw_length_error(const char* text) { fail(text); }
void __throw_out_of_range(const char* text) { fail(text); }
void __throw_runtime_error(const char* text) { fail(text); }
void __throw_range_error(const char* text) { fail(text); }
void __throw_overflow_error(const char* text) { fail(text); }
void __throw_underflow_error(const char* text) { fail(text); }

// The positions are left out of the text (the format names them), as the
// C library's printf would bring 25 KB.
void __throw_out_of_range_fmt(const char* format, ...) { fail(format); }

}  // namespace std
