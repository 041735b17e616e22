// The message table and system error texts through LoadString and FormatMessage.

#include "os/text_resources.h"

#include <windows.h>

#include "os/ansi_path_win32.h"

namespace os {

std::string loadResourceString(int number) {
  // The buffer grows by 64 bytes until the text leaves two bytes unused, so
  // that a text of any length loads whole.
  std::string buffer;
  int length = 0;
  do {
    buffer.assign(buffer.size() + 64, '\0');
    length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(number), &buffer[0],
                         static_cast<int>(buffer.size()));
  } while (static_cast<int>(buffer.size()) - length < 2);
  buffer.resize(static_cast<size_t>(length > 0 ? length : 0));
  return buffer;
}

bool formatMessageText(const std::string& pattern, const std::vector<std::string>& inserts,
                       std::string* out) {
  // A pattern may name more inserts than the caller gave: the missing ones
  // read as empty rather than as stray pointers.
  std::vector<DWORD_PTR> arguments(inserts.size() + 99, reinterpret_cast<DWORD_PTR>(""));
  for (size_t i = 0; i < inserts.size(); ++i)
    arguments[i] = reinterpret_cast<DWORD_PTR>(inserts[i].c_str());
  char* buffer = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY,
      pattern.c_str(), 0, 0, reinterpret_cast<LPSTR>(&buffer), 0,
      reinterpret_cast<va_list*>(arguments.data()));
  if (length == 0 || !buffer) {
    if (buffer) LocalFree(buffer);
    return false;
  }
  out->assign(buffer, length);
  LocalFree(buffer);
  return true;
}

std::string systemErrorText(unsigned long code) {
  char* buffer = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
      nullptr, static_cast<DWORD>(code), 0x400, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  std::string text;
  if (length && buffer) text.assign(buffer, length);
  if (buffer) LocalFree(buffer);
  return text;
}

std::string ansiFromUtf16(const std::u16string& text) {
  return ansiText(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

}  // namespace os
