// Finding and reading a zone's TZif file: the folders of zoneinfo.TZPATH, then the tzdata package.
#include "zone_file.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "py.hpp"

namespace qcpy {
namespace {

using Bytes = std::optional<std::string>;

// zoneinfo's key rules on POSIX paths: a relative path that normalising leaves as it is (no empty, "." or
// ".." part), so that no key reaches outside the folders searched.
bool is_zone_key(std::string_view key) {
  if (key.empty() || key.front() == '/' || key.find('\0') != std::string_view::npos) return false;
  for (std::size_t from = 0;;) {
    const std::size_t slash = key.find('/', from);
    const std::string_view part = key.substr(from, slash == std::string_view::npos ? slash : slash - from);
    if (part.empty() || part == "." || part == "..") return false;
    if (slash == std::string_view::npos) return true;
    from = slash + 1;
  }
}

// The bytes of a regular file (a folder of that name holds no zone).
Bytes read_file(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in && !in.eof()) return std::nullopt;
  return bytes;
}

Bytes from_tzpath(std::string_view key) {
  const Ref zoneinfo = Ref::steal(PyImport_ImportModule("zoneinfo"));
  const Ref folders = Ref::steal(PyObject_GetAttrString(zoneinfo.get(), "TZPATH"));
  const Ref iter = Ref::steal(PyObject_GetIter(folders.get()));
  while (PyObject* item = PyIter_Next(iter.get())) {
    const Ref folder = Ref::steal(item);
    const Ref encoded = Ref::steal(PyUnicode_EncodeFSDefault(folder.get()));
    std::string path(PyBytes_AS_STRING(encoded.get()), static_cast<std::size_t>(PyBytes_GET_SIZE(encoded.get())));
    path += '/';
    path += key;
    if (Bytes bytes = read_file(path)) return bytes;
  }
  if (PyErr_Occurred() != nullptr) throw_pending();
  return std::nullopt;
}

// Through importlib.resources, so that a zipped install serves too; without tzdata there is no such source.
Bytes read_tzdata(std::string_view key) {
  const Ref resources = Ref::steal(PyImport_ImportModule("importlib.resources"));
  PyObject* root = PyObject_CallMethod(resources.get(), "files", "s", "tzdata");
  if (root == nullptr) {
    if (!PyErr_ExceptionMatches(PyExc_ImportError)) throw_pending();
    PyErr_Clear();
    return std::nullopt;
  }
  const Ref folder = Ref::steal(root);
  Ref node = Ref::steal(PyObject_CallMethod(folder.get(), "joinpath", "s", "zoneinfo"));
  for (std::size_t from = 0; from <= key.size();) {
    const std::size_t slash = std::min(key.find('/', from), key.size());
    node = Ref::steal(PyObject_CallMethod(node.get(), "joinpath", "s#", key.data() + from,
                                          static_cast<Py_ssize_t>(slash - from)));
    from = slash + 1;
  }
  const Ref is_file = Ref::steal(PyObject_CallMethod(node.get(), "is_file", nullptr));
  const int truth = PyObject_IsTrue(is_file.get());
  if (truth < 0) throw_pending();
  if (truth == 0) return std::nullopt;
  const Ref data = Ref::steal(PyObject_CallMethod(node.get(), "read_bytes", nullptr));
  char* buffer = nullptr;
  Py_ssize_t size = 0;
  if (PyBytes_AsStringAndSize(data.get(), &buffer, &size) < 0) throw_pending();
  return std::string(buffer, static_cast<std::size_t>(size));
}

// A name the system cannot look up (too long, a part that is a file, no permission) names no zone.
Bytes from_tzdata(std::string_view key) {
  try {
    return read_tzdata(key);
  } catch (const PyErrorPending&) {
    if (!PyErr_ExceptionMatches(PyExc_OSError)) throw;
    PyErr_Clear();
    return std::nullopt;
  }
}

[[noreturn]] void unknown_zone(std::string_view name) {
  const Ref text = Ref::steal(PyUnicode_FromStringAndSize(name.data(), static_cast<Py_ssize_t>(name.size())));
  PyErr_Format(PyExc_ValueError, "unknown time zone %R", text.get());
  throw PyErrorPending{};
}

}  // namespace

qc::coords::TimeZone load_time_zone(std::string_view name, std::string& tzif) {
  tzif.clear();
  if (name == "UTC") return {};
  if (!is_zone_key(name)) unknown_zone(name);
  Bytes bytes = from_tzpath(name);
  if (!bytes) bytes = from_tzdata(name);
  std::optional<qc::coords::TimeZone> zone = bytes ? qc::coords::TimeZone::parse(*bytes) : std::nullopt;
  if (!zone) unknown_zone(name);
  tzif = std::move(*bytes);
  return std::move(*zone);
}

}  // namespace qcpy
