"""The Python theme classes: no constructors, static methods, docs and signatures, the sixteen text
properties of RuntimeTheme and UITheme, the legacy Theme."""
import json

import pytest

import quorvel_canvas as qc

PRESET_KEYS = ["dark", "light", "high_contrast", "cyberpunk"]
DISPLAY_NAMES = ["Dark", "Light", "High Contrast", "Cyberpunk"]
PROPERTIES = ["name", "background", "grid_line", "scale_bg", "scale_text", "crosshair_line", "candle_up_body",
              "candle_down_body", "line_color", "ma_fast", "ma_slow", "toolbar_bg", "text_primary", "accent",
              "success", "danger"]
# Where each property lives in the JSON document.
PATHS = {"name": ("name",), "toolbar_bg": ("colors",), "text_primary": ("colors",), "accent": ("colors",),
         "success": ("colors",), "danger": ("colors",), "background": ("chart",), "grid_line": ("chart",),
         "scale_bg": ("chart",), "scale_text": ("chart",), "crosshair_line": ("chart",)}


def own_members(cls):
    return [name for name in vars(cls) if not name.startswith("__")]


def test_module_lists_all_its_names_in_order():
    assert qc.__all__ == ["version", "save_pdf", "Bar", "Chart", "Figure", "Viewport", "Theme", "UITheme",
                          "RuntimeTheme", "ChartConfig", "InteractiveChart"]


@pytest.mark.parametrize("cls", [qc.Theme, qc.UITheme, qc.RuntimeTheme])
def test_classes_have_no_constructor_and_no_subclasses(cls):
    for args, kwargs in (((), {}), ((1, "x"), {"name": "dark"})):
        with pytest.raises(TypeError) as info:
            cls(*args, **kwargs)
        assert str(info.value) == f"No constructor defined for {cls.__name__}"
    with pytest.raises(TypeError):
        type("Sub", (cls,), {})
    assert cls.__module__ == "quorvel_canvas" and cls.__qualname__ == cls.__name__
    assert cls.__text_signature__ is None


def test_class_docs():
    assert qc.Theme.__doc__ == "Legacy simple theme (for backwards compatibility)"
    assert qc.UITheme.__doc__ == ("Complete UI theme with all styling options (static, compile-time).\n"
                                  "Use RuntimeTheme for modifiable themes.")
    assert qc.RuntimeTheme.__doc__ == ("Runtime-modifiable theme with JSON serialization support.\n"
                                       "All colors are owned strings that can be modified.")


def test_members_in_table_order():
    assert own_members(qc.RuntimeTheme) == ["from_preset", "dark", "light", "high_contrast", "cyberpunk",
                                            "from_json", "to_json", "to_json_pretty", "presets", *PROPERTIES]
    assert own_members(qc.UITheme) == ["dark", "light", "high_contrast", "cyberpunk", *PROPERTIES]
    assert own_members(qc.Theme) == ["dark", "light", "bg_color", "text_color", "grid_color", "candle_up",
                                     "candle_down"]


@pytest.mark.parametrize("cls, method, signature, doc", [
    (qc.RuntimeTheme, "from_preset", "(name)",
     'Create from preset name: "dark", "light", "high_contrast", "cyberpunk"'),
    (qc.RuntimeTheme, "dark", "()", "Create dark theme"),
    (qc.RuntimeTheme, "light", "()", "Create light theme"),
    (qc.RuntimeTheme, "high_contrast", "()", "Create high contrast theme"),
    (qc.RuntimeTheme, "cyberpunk", "()", "Create cyberpunk theme"),
    (qc.RuntimeTheme, "from_json", "(json)", "Deserialize from JSON string"),
    (qc.RuntimeTheme, "to_json", "($self)", "Serialize to JSON string"),
    (qc.RuntimeTheme, "to_json_pretty", "($self)", "Serialize to pretty JSON string"),
    (qc.RuntimeTheme, "presets", "()", "Get available preset names"),
    (qc.UITheme, "dark", "()", "Create dark theme"),
    (qc.UITheme, "light", "()", "Create light theme"),
    (qc.UITheme, "high_contrast", "()", "Create high contrast theme (accessibility)"),
    (qc.UITheme, "cyberpunk", "()", "Create cyberpunk/neon theme"),
    (qc.Theme, "dark", "()", "Create dark theme"),
    (qc.Theme, "light", "()", "Create light theme"),
])
def test_method_signatures_and_docs(cls, method, signature, doc):
    fn = getattr(cls, method)
    assert fn.__text_signature__ == signature
    assert fn.__doc__.split("\n")[0] == doc


def test_from_preset_doc_lists_the_preset_keys():
    assert qc.RuntimeTheme.from_preset.__doc__.split("\n")[0].endswith(", ".join(f'"{k}"' for k in qc.RuntimeTheme.presets()))


def test_presets_returns_a_fresh_list_each_call():
    first = qc.RuntimeTheme.presets()
    assert first == PRESET_KEYS
    first.append("mine")
    assert qc.RuntimeTheme.presets() == PRESET_KEYS
    assert qc.RuntimeTheme.presets() is not qc.RuntimeTheme.presets()


@pytest.mark.parametrize("key, name", [
    *zip(PRESET_KEYS, DISPLAY_NAMES), ("", "Dark"), ("Dark", "Dark"), ("LIGHT", "Dark"), (" light", "Dark"),
    ("light ", "Dark"), ("high-contrast", "Dark"), ("High Contrast", "Dark"), ("cyberpunk\0", "Dark"),
    ("\u00e9", "Dark"),
])
def test_from_preset_selects_by_exact_key(key, name):
    theme = qc.RuntimeTheme.from_preset(key)
    assert theme.name == name
    assert theme.to_json() == qc.RuntimeTheme.from_preset(PRESET_KEYS[DISPLAY_NAMES.index(name)]).to_json()


def test_preset_methods_equal_from_preset_and_uitheme():
    for key in PRESET_KEYS:
        runtime = getattr(qc.RuntimeTheme, key)()
        ui = getattr(qc.UITheme, key)()
        assert runtime.to_json() == qc.RuntimeTheme.from_preset(key).to_json()
        assert runtime.to_json() == qc.RuntimeTheme.from_preset(name=key).to_json()
        assert [getattr(runtime, p) for p in PROPERTIES] == [getattr(ui, p) for p in PROPERTIES]
        # through an object, a static method ignores it
        assert getattr(runtime, key)().to_json() == runtime.to_json()


@pytest.mark.parametrize("call, message", [
    (lambda: qc.RuntimeTheme.from_preset(), "RuntimeTheme.from_preset() missing 1 required positional argument: 'name'"),
    (lambda: qc.RuntimeTheme.from_preset("a", "b"),
     "RuntimeTheme.from_preset() takes 1 positional arguments but 2 were given"),
    (lambda: qc.RuntimeTheme.from_preset("a", name="b"),
     "RuntimeTheme.from_preset() got multiple values for argument 'name'"),
    (lambda: qc.RuntimeTheme.from_preset(key="dark"),
     "RuntimeTheme.from_preset() got an unexpected keyword argument 'key'"),
    (lambda: qc.RuntimeTheme.from_preset(1), "argument 'name': expected a str, got 'int'"),
    (lambda: qc.RuntimeTheme.from_json(), "RuntimeTheme.from_json() missing 1 required positional argument: 'json'"),
    (lambda: qc.RuntimeTheme.from_json(None), "argument 'json': expected a str, got 'NoneType'"),
])
def test_argument_errors(call, message):
    with pytest.raises(TypeError) as info:
        call()
    assert str(info.value) == message


@pytest.mark.parametrize("prop", PROPERTIES)
def test_each_property_writes_its_own_field_only(prop):
    theme = qc.RuntimeTheme.dark()
    before = json.loads(theme.to_json())
    others = {p: getattr(theme, p) for p in PROPERTIES if p != prop}
    setattr(theme, prop, "not a colour \u00e9")
    assert getattr(theme, prop) == "not a colour \u00e9"
    assert {p: getattr(theme, p) for p in PROPERTIES if p != prop} == others
    after = json.loads(theme.to_json())
    path = PATHS.get(prop, ("series",))
    if path == ("name",):
        before["name"] = "not a colour \u00e9"
    else:
        before[path[0]][prop] = "not a colour \u00e9"
    assert after == before
    setattr(theme, prop, "")
    assert getattr(theme, prop) == ""


def test_property_setter_errors_leave_the_field():
    theme = qc.RuntimeTheme.light()
    with pytest.raises(TypeError) as info:
        theme.accent = 5
    assert str(info.value) == "argument 'color': expected a str, got 'int'"
    with pytest.raises(TypeError) as info:
        theme.name = None
    assert str(info.value) == "argument 'name': expected a str, got 'NoneType'"
    with pytest.raises(AttributeError) as info:
        del theme.accent
    assert str(info.value) == "can't delete attribute"
    with pytest.raises(UnicodeEncodeError):
        theme.accent = "\udc80"
    assert theme.accent == "#2962ff" and theme.name == "Light"

    class Colour(str):
        pass

    theme.accent = Colour("#123456")
    assert theme.accent == "#123456" and type(theme.accent) is str


def test_objects_are_independent():
    a, b = qc.RuntimeTheme.dark(), qc.RuntimeTheme.dark()
    a.accent = "#000000"
    assert b.accent == "#2962ff"
    assert qc.RuntimeTheme.dark().accent == "#2962ff"
    assert qc.UITheme.dark().accent == "#2962ff"
    loaded = qc.RuntimeTheme.from_json(a.to_json())
    loaded.accent = "#111111"
    assert a.accent == "#000000"


def test_uitheme_is_read_only():
    theme = qc.UITheme.dark()
    for prop in PROPERTIES:
        with pytest.raises(AttributeError):
            setattr(theme, prop, "x")
        with pytest.raises(AttributeError):
            delattr(theme, prop)
    assert theme.accent == "#2962ff"
    assert theme.background == "#131722" and theme.grid_line == "#2a2e3999"
    assert qc.UITheme.light().background == "#ffffff"
    for name in ("from_preset", "from_json", "to_json", "to_json_pretty", "presets"):
        assert not hasattr(qc.UITheme, name)
    assert qc.UITheme.dark() is not qc.UITheme.dark()


def test_legacy_theme():
    dark, light = qc.Theme.dark(), qc.Theme.light()
    assert (dark.bg_color, dark.text_color, dark.grid_color) == ("#131722", "#b2b5be", "#2a2e3999")
    assert (light.bg_color, light.text_color, light.grid_color) == ("#ffffff", "#434651", "#0000000f")
    assert dark.candle_up == light.candle_up == "#26a69a"
    assert dark.candle_down == light.candle_down == "#ef5350"
    with pytest.raises(AttributeError):
        dark.bg_color = "#000000"
    assert dark.bg_color == "#131722"
