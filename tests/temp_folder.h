// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class TempFolder {
public:
    explicit TempFolder(const std::string& name = "t") {
        std::random_device random;
        path_ =
            std::filesystem::temp_directory_path() / ("jingleconv-" + name + "-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // UTF-8 path of an entry, with the folder's separator.
    std::string file(const std::string& name) const {
        return reinterpret_cast<const char*>((path_ / std::filesystem::u8path(name)).u8string().c_str());
    }
    std::string str() const { return reinterpret_cast<const char*>(path_.u8string().c_str()); }

private:
    std::filesystem::path path_;
};

inline void writeFile(const std::string& utf8Path, const std::string& content) {
    std::ofstream(std::filesystem::u8path(utf8Path), std::ios::binary) << content;
}

inline std::string readFile(const std::string& utf8Path) {
    std::ifstream in(std::filesystem::u8path(utf8Path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
