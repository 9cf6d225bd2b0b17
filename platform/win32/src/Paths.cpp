// First form of the path mapping: drive C: is the host's root; other letters are not mapped.
// The drive-map area replaces this with the configurable map.
#include <host/Paths.h>

#include <dirent.h>
#include <strings.h>
#include <unistd.h>

#include <vector>

namespace {

std::vector<std::string> SplitComponents(const std::string& path)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!current.empty())
                parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(current);
    return parts;
}

// Finds an entry of a host folder whose name equals `name` without regard to case.
std::optional<std::string> MatchEntry(const std::string& folder, const std::string& name)
{
    DIR* dir = opendir(folder.empty() ? "/" : folder.c_str());
    if (!dir)
        return std::nullopt;
    std::optional<std::string> found;
    while (dirent* entry = readdir(dir)) {
        if (name == entry->d_name) {
            found = name;
            break;
        }
        if (!found && strcasecmp(name.c_str(), entry->d_name) == 0)
            found = std::string(entry->d_name);
    }
    closedir(dir);
    return found;
}

}  // namespace

namespace host {

std::optional<std::string> ToHostPath(const std::string& platformPath)
{
    std::string rest = platformPath;
    std::string root = "";
    if (rest.size() >= 2 && rest[1] == ':') {
        char letter = static_cast<char>(rest[0] & ~0x20);
        if (letter != 'C')
            return std::nullopt;
        rest = rest.substr(2);
    } else if (rest.empty() || (rest[0] != '\\' && rest[0] != '/')) {
        char cwd[4096];
        if (!getcwd(cwd, sizeof cwd))
            return std::nullopt;
        root = cwd;
    }
    std::string result = root;
    std::vector<std::string> resolved;
    for (const std::string& part : SplitComponents(rest)) {
        if (part == ".")
            continue;
        if (part == "..") {
            auto slash = result.rfind('/');
            result = slash == std::string::npos ? std::string() : result.substr(0, slash);
            continue;
        }
        auto match = MatchEntry(result, part);
        result += "/" + (match ? *match : part);
    }
    return result.empty() ? std::string("/") : result;
}

std::optional<std::string> FromHostPath(const std::string& hostPath)
{
    if (hostPath.empty() || hostPath[0] != '/')
        return std::nullopt;
    std::string out = "C:";
    for (char c : hostPath)
        out += (c == '/') ? '\\' : c;
    if (out == "C:")
        out += '\\';
    return out;
}

}  // namespace host
