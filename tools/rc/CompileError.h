// The one kind of failure of the resource compiler: a message tied to a place in a script.
#pragma once

#include <stdexcept>
#include <string>

namespace rc {

struct SourcePlace {
    std::string file;
    int line = 0;
};

class CompileError : public std::runtime_error {
public:
    CompileError(const SourcePlace& place, const std::string& message)
        : std::runtime_error(place.file + ":" + std::to_string(place.line) + ": error: " + message),
          m_place(place), m_message(message)
    {
    }
    const SourcePlace& place() const { return m_place; }
    const std::string& message() const { return m_message; }

private:
    SourcePlace m_place;
    std::string m_message;
};

}  // namespace rc
