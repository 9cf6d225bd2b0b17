// The names a resource script may use without including the platform's headers: window, dialog
// and control styles, virtual keys, version-block flags, languages, the standard dialog command
// ids and the class library's standard command ids, with their documented values. A script's
// own #define of the same name wins.
#pragma once

#include <cstdint>
#include <string_view>

namespace rc {

struct PredefinedName {
    std::string_view name;
    std::int64_t value;
};

// The whole table, in no particular order.
const PredefinedName* PredefinedNames(std::size_t& count);

}  // namespace rc
