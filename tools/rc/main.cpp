// vlrc: the resource compiler.
//
//   vlrc [-I dir]... [-D name[=value]]... [-l language] (-o bundle | --embed source.cpp)
//        [--depfile file] script.rc
//
// -o writes the bundle itself (a resource-only library's file); --embed writes a C++ source that
// embeds the bundle in the module it is compiled into. Errors go to the standard error stream as
// "file:line: error: message" and the exit status is 1.
#include "BundleWriter.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

namespace {

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

int Usage()
{
    std::cerr << "usage: vlrc [-I dir]... [-D name[=value]]... [-l language] (-o bundle | --embed source.cpp)\n"
                 "            [--depfile file] script.rc\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    rc::CompileOptions options;
    std::string script, bundlePath, embedPath, depfilePath;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (arg.size() > 2 && arg[0] == '-' && arg[1] != '-') {
                into = arg.substr(2);
                return true;
            }
            if (i + 1 >= argc)
                return false;
            into = argv[++i];
            return true;
        };
        std::string v;
        if (arg.rfind("-I", 0) == 0) {
            if (!value(v)) return Usage();
            options.includeDirs.push_back(v);
        } else if (arg.rfind("-D", 0) == 0) {
            if (!value(v)) return Usage();
            auto eq = v.find('=');
            options.defines.emplace_back(v.substr(0, eq), eq == std::string::npos ? "1" : v.substr(eq + 1));
        } else if (arg.rfind("-l", 0) == 0) {
            if (!value(v)) return Usage();
            options.defaultLanguage = static_cast<std::uint16_t>(std::strtoul(v.c_str(), nullptr, 16));
        } else if (arg == "-o") {
            if (!value(bundlePath)) return Usage();
        } else if (arg == "--embed") {
            if (!value(embedPath)) return Usage();
        } else if (arg == "--depfile") {
            if (!value(depfilePath)) return Usage();
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage();
        } else {
            if (!script.empty()) return Usage();
            script = arg;
        }
    }
    if (script.empty() || (bundlePath.empty() == embedPath.empty()))
        return Usage();

    try {
        rc::CompileResult result = rc::CompileScript(script, options);
        rc::Bytes bundle = rc::WriteBundle(result.resources);
        std::string output = bundlePath.empty() ? embedPath : bundlePath;
        std::string bytes = bundlePath.empty() ? rc::EmbeddingSource(bundle, script.substr(script.find_last_of('/') + 1))
                                               : std::string(bundle.begin(), bundle.end());
        if (!WriteFile(output, bytes)) {
            std::cerr << output << ": error: cannot write the output\n";
            return 1;
        }
        if (!depfilePath.empty() && !WriteFile(depfilePath, rc::DependencyFile(output, result.filesRead))) {
            std::cerr << depfilePath << ": error: cannot write the dependency file\n";
            return 1;
        }
    } catch (const rc::CompileError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
