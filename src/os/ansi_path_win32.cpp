// Wide paths in the launcher's ANSI form, with 8.3 names where a letter has none.

#include "os/ansi_path_win32.h"

#include "os/version.h"

namespace os {

namespace {

int lengthOf(const WideText& text) { return text.empty() ? 0 : static_cast<int>(text.size() - 1); }

std::string ansiText(const WideText& text) {
  return os::ansiText(text.data(), static_cast<size_t>(lengthOf(text)));
}

}  // namespace

std::string ansiText(const wchar_t* text, size_t length) {
  const int count = static_cast<int>(length);
  if (count == 0) return std::string();
  const int size = WideCharToMultiByte(CP_ACP, 0, text, count, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, count, &result[0], size, nullptr, nullptr);
  return result;
}

WideText wideText(const wchar_t* text, size_t length) {
  WideText result(text, text + length);
  result.push_back(L'\0');
  return result;
}

WideText shortPathOf(const WideText& path) {
  if (path.empty()) return WideText();
  const DWORD needed = GetShortPathNameW(path.data(), nullptr, 0);
  if (needed == 0) return WideText();
  WideText buffer(needed + 1);
  const DWORD length = GetShortPathNameW(path.data(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length >= buffer.size()) return WideText();
  return wideText(buffer.data(), length);
}

bool representableIn(const WideText& text, UINT codePage) {
  // UTF-8 holds every character (and the query below is refused for it).
  const int length = lengthOf(text);
  if (codePage == CP_UTF8 || length == 0) return true;
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                       nullptr, 0, nullptr, &usedDefault);
  return size > 0 && !usedDefault;
}

std::string ansiPathFromWide(const WideText& path) {
  if (!representableIn(path, GetACP())) {
    const WideText shortPath = shortPathOf(path);
    if (!shortPath.empty() && representableIn(shortPath, GetACP())) return ansiText(shortPath);
  }
  return ansiText(path);
}

WideText wideFromAnsi(const std::string& text) {
  if (text.empty()) return WideText();
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), length, nullptr, 0);
  if (size <= 0) return WideText();
  WideText result(static_cast<size_t>(size) + 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), length, result.data(), size);
  return result;
}

bool windows95Family() { return platformId() == VER_PLATFORM_WIN32_WINDOWS; }

}  // namespace os
