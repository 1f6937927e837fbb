// A chart's time zone by name: its TZif file found as zoneinfo finds it, read and handed to the core.
#pragma once

#include <string>
#include <string_view>

#include "coords/time_zone.hpp"

namespace qcpy {

// "UTC" is built in. Any other name is a zoneinfo key: the file of that name in the first folder of
// zoneinfo.TZPATH that holds one, else in the tzdata package when it is installed. Raises ValueError
// ("unknown time zone 'name'") for a key zoneinfo refuses, one no source holds and a file that does not
// read as a zone.
// `tzif` receives the bytes the zone was read from (none for "UTC").
qc::coords::TimeZone load_time_zone(std::string_view name, std::string& tzif);

}  // namespace qcpy
