// What a replay met and did not understand, as "element" or "element@attribute" texts.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qc::raster {

class Notes {
 public:
  void element(std::string_view name) { add(name, {}); }
  void attribute(std::string_view element, std::string_view attribute) { add(element, attribute); }
  // Sorted, each once.
  std::vector<std::string> list() const { return {seen_.begin(), seen_.end()}; }

 private:
  void add(std::string_view element, std::string_view attribute) {
    key_.assign(element);
    if (!attribute.empty()) key_.append("@").append(attribute);
    if (seen_.find(key_) == seen_.end()) seen_.insert(key_);
  }
  std::string key_;
  std::set<std::string, std::less<>> seen_;
};

}  // namespace qc::raster
