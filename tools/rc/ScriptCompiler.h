// The resource compiler proper: reads a script (after the preprocessor) and produces each
// resource's type, name, language and data in the platform's binary layout.
#pragma once

#include "CompileError.h"
#include "Encoders.h"

#include <host/Resources.h>

#include <string>
#include <utility>
#include <vector>

namespace rc {

struct CompiledResource {
    host::ResourceId type;
    host::ResourceId name;
    std::uint16_t language = 0;
    Bytes data;
    SourcePlace place;
};

struct CompileOptions {
    std::vector<std::string> includeDirs;
    std::vector<std::pair<std::string, std::string>> defines;
    std::uint16_t defaultLanguage = 0x0409;  // until a LANGUAGE statement says otherwise
};

struct CompileResult {
    std::vector<CompiledResource> resources;
    std::vector<std::string> filesRead;  // the script, its includes and every data file
};

// Throws CompileError with the file and line of the first fault.
CompileResult CompileScript(const std::string& path, const CompileOptions& options);

}  // namespace rc
