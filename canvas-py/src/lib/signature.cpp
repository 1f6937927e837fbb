// Text signatures and their process-lifetime storage.
#include "signature.hpp"

#include <cstring>
#include <deque>
#include <string_view>

namespace qcpy {

const char* keep(std::string text) {
  // Deliberately never destroyed: descriptors reference these texts until the process ends.
  static auto* texts = new std::deque<std::string>;
  return texts->emplace_back(std::move(text)).c_str();
}

std::string parameter_list(const Params& params, bool instance) {
  std::string s = "(";
  if (instance) s += params.empty() ? "$self" : "$self, ";
  for (std::size_t i = 0; i < params.size(); ++i) {
    if (i != 0) s += ", ";
    if (params[i].keyword_only && (i == 0 || !params[i - 1].keyword_only)) s += "*, ";
    s += params[i].name;
    if (params[i].default_text != nullptr) {
      s += '=';
      s += params[i].default_text;
    }
  }
  s += ')';
  return s;
}

namespace {

std::string with_signature(const char* name, const Params& params, bool instance, const char* doc) {
  std::string s = name;
  s += parameter_list(params, instance);
  s += "\n--\n\n";
  if (doc != nullptr) s += doc;
  return s;
}

}  // namespace

const char* method_doc(const char* name, const Params& params, bool instance, const Doc& doc) {
  return keep(with_signature(name, params, instance, docstring(params, doc).c_str()));
}

const char* doc_body(const char* method_doc) {
  constexpr std::string_view kSeparator = "\n--\n\n";
  const char* at = std::strstr(method_doc, kSeparator.data());
  return at != nullptr ? at + kSeparator.size() : method_doc;
}

const char* class_doc(const char* name, const Params* constructor, const char* doc) {
  if (constructor != nullptr) return keep(with_signature(name, *constructor, false, doc));
  return doc;
}

}  // namespace qcpy
