// The C++ library's std::string code, made here rather than taken whole from
// the library: the library's copy of every member was 32 KB of the Windows
// launcher, and made in the launcher's own objects the linker keeps only the
// members that are called. (The library declares them made elsewhere; an
// explicit instantiation here satisfies that, and the linker then has no
// reason to pull the library's copy in.)
#include <string>

template class std::basic_string<char>;
