// Wide paths in the launcher's ANSI form, with 8.3 names where a letter has none.

#include "os/ansi_path_win32.h"

#include <vector>

#include "os/version.h"

namespace os {

namespace {

std::string convert(const std::wstring& text, UINT codePage) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), &result[0], size,
                      nullptr, nullptr);
  return result;
}

}  // namespace

std::wstring shortPathOf(const std::wstring& path) {
  const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return std::wstring();
  std::vector<wchar_t> buffer(needed + 1);
  const DWORD length =
      GetShortPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length >= buffer.size()) return std::wstring();
  return std::wstring(buffer.data(), length);
}

bool representableIn(const std::wstring& text, UINT codePage) {
  // UTF-8 holds every character (and the query below is refused for it).
  if (codePage == CP_UTF8 || text.empty()) return true;
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.c_str(),
                                       static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       &usedDefault);
  return size > 0 && !usedDefault;
}

std::string ansiPathFromWide(const std::wstring& path) {
  if (!representableIn(path, GetACP())) {
    const std::wstring shortPath = shortPathOf(path);
    if (!shortPath.empty() && representableIn(shortPath, GetACP())) return convert(shortPath, CP_ACP);
  }
  return convert(path, CP_ACP);
}

std::wstring wideFromAnsi(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size =
      MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return std::wstring();
  std::wstring result(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &result[0], size);
  return result;
}

bool windows95Family() { return platformId() == VER_PLATFORM_WIN32_WINDOWS; }

}  // namespace os
