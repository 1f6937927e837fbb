// The standard headers most files include, parsed once per target into its precompiled header (the build
// force-includes this file): parsing them was most of a file's compile time. Standard headers alone, so
// that the project's own files can move and change without touching this list.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>
