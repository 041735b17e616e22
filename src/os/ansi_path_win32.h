#pragma once
// Text and paths the system gives in UTF-16 turned into the ANSI form the
// launcher works with, and paths made readable by programs of another code
// page. Only the Win32 backend includes this.

#include <windows.h>

#include <string>
#include <vector>

namespace os {

// UTF-16 text: its characters and a terminating zero (empty: no text).
// Not std::wstring, whose library code was a tenth of the launcher's size.
using WideText = std::vector<wchar_t>;

WideText wideText(const wchar_t* text, size_t length);

// The text in the process's ANSI code page (a letter it lacks is replaced).
std::string ansiText(const wchar_t* text, size_t length);

// Whether every character of text has a form in the code page (no best-fit
// letter, no default character).
bool representableIn(const WideText& text, UINT codePage);

// The path in the process's ANSI code page; where a letter has no form
// there (a Polish user name on a Western system without UTF-8), its short
// 8.3 form, which the volume spells in plain letters. The lossy conversion
// when neither works.
std::string ansiPathFromWide(const WideText& path);

// The short 8.3 form of an existing path; empty where the volume keeps none.
WideText shortPathOf(const WideText& path);

// The UTF-16 form of text in the process's ANSI code page.
WideText wideFromAnsi(const std::string& text);

// Whether this is the 95 family, whose wide calls are failing stubs.
bool windows95Family();

}  // namespace os
