#pragma once
// An ordered list of strings whose reads past either end give an empty
// string, so that a missing argument or value reads as empty.

#include <string>
#include <vector>

class StringList {
public:
  int count() const { return static_cast<int>(items_.size()); }
  bool empty() const { return items_.empty(); }
  void append(const std::string& text) { items_.push_back(text); }
  void clear() { items_.clear(); }
  void removeAt(int index) {
    if (index >= 0 && index < count()) items_.erase(items_.begin() + index);
  }
  std::string get(int index) const {
    if (index < 0 || index >= count()) return std::string();
    return items_[static_cast<size_t>(index)];
  }
  const std::vector<std::string>& items() const { return items_; }

private:
  std::vector<std::string> items_;
};
