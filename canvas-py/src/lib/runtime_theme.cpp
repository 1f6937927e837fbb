// Rows of the Python class RuntimeTheme: preset and JSON constructors as static methods, the two JSON
// writers, the preset key list and sixteen read-write text properties.
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>

#include "pickle.hpp"
#include "rows.hpp"
#include "theme.hpp"

namespace qcpy {
namespace {

using namespace param;
using qc::theme::RuntimeTheme;
using C = Call<RuntimeThemeClass>;

PyObject* make(RuntimeTheme theme) { return new_object<RuntimeThemeClass>(std::move(theme)); }

using qc::theme::Preset;
using qc::theme::preset_keys;

constexpr MethodRow<RuntimeThemeClass> kFromPreset[] = {
    {"from_preset", R"(Create from preset name: "dark", "light", "high_contrast", "cyberpunk")",
     {text("name").means("the preset's name")},
     Borrow::none, [](C& c) { return make(RuntimeTheme::from_preset(c.args.text(0))); }, nullptr, "RuntimeTheme"},
};

// dark(), light(), high_contrast() and cyberpunk(): from_preset with the preset's key.
constexpr PresetMethod<Preset> kPresets[] = {
    {"dark", "Create dark theme", {}, Preset::dark},
    {"light", "Create light theme", {}, Preset::light},
    {"high_contrast", "Create high contrast theme", {}, Preset::high_contrast},
    {"cyberpunk", "Create cyberpunk theme", {}, Preset::cyberpunk},
};

PyObject* from_preset_key(C& c) {
  const auto preset = c.data<PresetMethod<Preset>>().preset;
  return make(RuntimeTheme::from_preset(preset_keys[static_cast<std::size_t>(preset)]));
}

constexpr auto kPresetRows = rows_from<RuntimeThemeClass, kPresets>(Borrow::none, from_preset_key, "RuntimeTheme");

constexpr MethodRow<RuntimeThemeClass> kMethods[] = {
    {"from_json", "Deserialize from JSON string", {text("json")}, Borrow::none,
     [](C& c) {
       std::optional<RuntimeTheme> theme = RuntimeTheme::from_json(c.args.text(0));
       return theme ? make(std::move(*theme)) : none();
     },
     nullptr, "RuntimeTheme | None"},
    {"to_json", "Serialize to JSON string", {}, Borrow::shared, [](C& c) { return to_py(c.value().to_json()); },
     nullptr, "str"},
    {"to_json_pretty", "Serialize to pretty JSON string", {}, Borrow::shared,
     [](C& c) { return to_py(c.value().to_json_pretty()); }, nullptr, "str"},
    {"presets", "Get available preset names", {}, Borrow::none,
     [](C&) {
       Ref list = Ref::steal(PyList_New(0));
       for (std::string_view key : preset_keys) {
         Ref item = Ref::steal(to_py(key));
         if (PyList_Append(list.get(), item.get()) < 0) throw PyErrorPending{};
       }
       return list.release();
     },
     nullptr, "list[str]"},
};

constexpr PropertyRow<RuntimeThemeClass> kProperties[] = {
#define QC_THEME_PROPERTY(property, field, argument)                \
  {#property, "str", [](const RuntimeTheme& t) { return to_py(t.field); },  \
   text(argument), [](RuntimeTheme& t, Args& a) { t.field = std::move(a.text(0)); }},
#include "theme_properties.def"
};

}  // namespace

// The JSON document: it holds every field, and reading it back gives the same theme (texts byte for byte,
// numbers in their shortest round-trip form).
std::string RuntimeThemeClass::state(const RuntimeTheme& t) { return t.to_json(); }

RuntimeTheme RuntimeThemeClass::from_state(std::string_view state) {
  std::optional<RuntimeTheme> theme = RuntimeTheme::from_json(state);
  if (!theme) {
    PyErr_SetString(PyExc_ValueError, "a pickled RuntimeTheme carries no theme document");
    throw PyErrorPending{};
  }
  return std::move(*theme);
}

ClassSpec RuntimeThemeClass::spec() {
  ClassSpec s = class_spec<RuntimeThemeClass>();
  s.methods = {method_defs<kFromPreset>(), method_defs<kPresetRows>(), method_defs<kMethods>(),
               pickle_methods<RuntimeThemeClass>()};
  s.properties = property_defs<kProperties>();
  return s;
}

}  // namespace qcpy
