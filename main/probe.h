// The probe run: read the main screen, build the report, write it, pick the exit status.
#pragma once

#include <cstdio>
#include <string_view>

#include "exit_status.h"
#include "report.h"
#include "screen.h"

namespace screenprobe {

// What is written when the platform has no main screen: a fixed, compact JSON object.
inline constexpr std::string_view kNoScreenLine = "{\"error\":\"sem tela\"}\n";

// Reads `screen` once, in this order: frame, visible frame, scale, the safe-area insets (twice),
// then the two auxiliary areas, and returns the report with its eight or eleven entries.
// Values are used exactly as the platform gives them.
Report measure(Screen& screen);

// The whole run for `screen` (null when there is none): the report or the failure line on
// `out`, a one-line diagnostic on `err` when the run cannot answer. Everything written to `out`
// is flushed before this returns.
ExitStatus run_probe(Screen* screen, std::FILE* out, std::FILE* err);

}  // namespace screenprobe
