// Writes compiled resources as a bundle (the layout is described in host/Resources.h), and the
// C++ source that embeds a bundle in its module.
#pragma once

#include "ScriptCompiler.h"

#include <string>
#include <vector>

namespace rc {

Bytes WriteBundle(const std::vector<CompiledResource>& resources);

// A C++ source holding the bundle's bytes and the registration object that hands them to the
// loader when the module loads.
std::string EmbeddingSource(const Bytes& bundle, const std::string& scriptName);

// A make-style dependency file: the output depends on every file the compiler read.
std::string DependencyFile(const std::string& output, const std::vector<std::string>& inputs);

}  // namespace rc
