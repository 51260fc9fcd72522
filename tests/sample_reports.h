// Reports shared by the tests that produce them from different layers.
#pragma once

#include <string_view>

namespace screenprobe::testing {

// A 14-inch notched laptop: 1512 x 982 points at scale 2, a visible frame 945 high from the
// bottom edge, a 32-point housing between the areas 662 and 665 points wide.
inline constexpr std::string_view kNotchedLaptopReport =
    "{\n"
    "  \"hasNotch\" : true,\n"
    "  \"menuBarHeight\" : 37,\n"
    "  \"notchLeft\" : 662,\n"
    "  \"notchRight\" : 847,\n"
    "  \"notchWidth\" : 185,\n"
    "  \"safeTop\" : 32,\n"
    "  \"scale\" : 2,\n"
    "  \"screenHeight\" : 982,\n"
    "  \"screenWidth\" : 1512,\n"
    "  \"screenX\" : 0,\n"
    "  \"screenY\" : 0\n"
    "}\n";

}  // namespace screenprobe::testing
