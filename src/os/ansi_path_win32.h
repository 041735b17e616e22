#pragma once
// Paths the system gives in UTF-16 turned into the ANSI form the launcher
// works with, and paths made readable by programs of another code page. Only
// the Win32 backend includes this.

#include <windows.h>

#include <string>

namespace os {

// Whether every character of text has a form in the code page (no best-fit
// letter, no default character).
bool representableIn(const std::wstring& text, UINT codePage);

// The path in the process's ANSI code page; where a letter has no form
// there (a Polish user name on a Western system without UTF-8), its short
// 8.3 form, which the volume spells in plain letters. The lossy conversion
// when neither works.
std::string ansiPathFromWide(const std::wstring& path);

// The short 8.3 form of an existing path; empty where the volume keeps none.
std::wstring shortPathOf(const std::wstring& path);

// The UTF-16 form of text in the process's ANSI code page.
std::wstring wideFromAnsi(const std::string& text);

// Whether this is the 95 family, whose wide calls are failing stubs.
bool windows95Family();

}  // namespace os
