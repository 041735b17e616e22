// The rule for entry names. Only portable code.
#include "archive/entry_name.h"

#include <cctype>

namespace {

std::string upperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, in any case and with
// any extension: Windows opens the device instead of a file.
bool isDeviceName(const std::string& name) {
  const std::string stem = upperCase(name.substr(0, name.find('.')));
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

std::string entryNameProblem(const std::string& name) {
  if (name.empty()) return "the stored name is empty";
  if (name == "." || name == "..") return "the stored name " + name + " is not a file name";
  if (name.find_first_of("/\\:") != std::string::npos)
    return "the stored name " + name + " holds a path separator or a colon";
  if (isDeviceName(name)) return "the stored name " + name + " is a device name on Windows";
  if (name.back() == '.' || name.back() == ' ')
    return "the stored name " + name + " ends in a dot or a blank, which Windows drops";
  return std::string();
}
