// Files built into the executable (the form descriptions and their pictures), found by
// their file name. The build turns them into byte arrays (see embed.cmake).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace ui {

struct EmbeddedResource {
    const char* name;
    const std::uint8_t* data;
    std::size_t size;
};

// Defined by the file the build generates for the executable.
extern const EmbeddedResource embeddedResources[];
extern const std::size_t embeddedResourceCount;

// The bytes of a built-in file; throws ui::Error when there is none of that name.
std::span<const std::uint8_t> findResource(std::string_view name);

}  // namespace ui
