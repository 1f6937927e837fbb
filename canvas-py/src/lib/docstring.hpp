// Docstrings written from the rows: the summary, the parameters' meanings and, for a study, where it
// draws, its lines and its definition.
#pragma once

#include <string>

#include "params.hpp"

namespace qc::api {
struct IndicatorSpec;
}

namespace qcpy {

// What a row's docstring is written from besides its parameters: its one-line summary and, for a study,
// its catalog row. Rows write a plain text where they have no study.
struct Doc {
  constexpr Doc() = default;
  constexpr Doc(const char* text) : summary(text) {}
  constexpr Doc(const char* text, const qc::api::IndicatorSpec* row) : summary(text), study(row) {}

  const char* summary = nullptr;
  const qc::api::IndicatorSpec* study = nullptr;
};

// "Summary", then a blank line and "Parameters:" with one "    name: meaning" line each, then for a study
// its "Draws: ", "Lines: " and "Definition: " lines. Just the summary for a row without either.
std::string docstring(const Params& params, const Doc& doc);

}  // namespace qcpy
