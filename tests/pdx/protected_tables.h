// Protecting a plain table as Paradox does when it is given a password: the key in the
// header's slot for the file's kind and level, every block encoded by its place in the file.
#pragma once

#include "pdx/format/cipher.h"
#include "pdx/format/db_format.h"
#include "temp_folder.h"

#include <cstdint>
#include <span>
#include <string>

inline void putLe32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

inline std::uint32_t le32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(s[at + i]);
    return v;
}

// A table (.DB) or its primary index (.PX).
inline void protectFile(const std::string& path, std::uint32_t key) {
    namespace format = pdx::format;
    std::string content = readFile(path);
    const bool table = content[format::kFileType] != format::kPrimaryIndex;
    if (table && static_cast<std::uint8_t>(content[format::kLevel]) >= format::kFirstLevelWithDataHeader) {
        putLe32(content, format::kEncryption1, format::kEncryptionMoved);
        putLe32(content, format::kEncryption2, key);
    } else {
        putLe32(content, format::kEncryption1, key);
    }
    const std::size_t headerSize =
        static_cast<std::uint8_t>(content[2]) | static_cast<std::uint8_t>(content[3]) << 8;
    const std::size_t blockSize = static_cast<std::uint8_t>(content[format::kBlockSizeKiB]) * 1024u;
    auto* data = reinterpret_cast<std::uint8_t*>(content.data());
    for (std::size_t at = headerSize, n = 1; at + blockSize <= content.size(); at += blockSize, ++n) {
        pdx::cipher::encodeBlock(std::span(data + at, blockSize), key, static_cast<std::uint32_t>(n));
    }
    writeFile(path, content);
}

inline bool holds(const std::string& file, const std::string& text) {
    return readFile(file).find(text) != std::string::npos;
}
