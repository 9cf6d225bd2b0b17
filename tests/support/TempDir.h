// A fresh host folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class TempDir {
public:
    TempDir()
    {
        std::random_device rd;
        auto base = std::filesystem::temp_directory_path();
        for (;;) {
            auto candidate = base / ("vltest-" + std::to_string(rd()));
            if (std::filesystem::create_directory(candidate)) {
                m_path = candidate;
                break;
            }
        }
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string str() const { return m_path.string(); }

    // Writes a host file below the folder (creating folders on the way) and returns its path.
    std::filesystem::path Write(const std::string& relative, const std::string& bytes) const
    {
        auto file = m_path / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    std::string Read(const std::string& relative) const
    {
        std::ifstream in(m_path / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_path;
};
