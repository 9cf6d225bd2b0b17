// Uses the standard library's host file system.
#include <filesystem>

bool Exists()
{
    return std::filesystem::exists("x");
}
