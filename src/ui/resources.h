// Files built into the executable (form descriptions and their pictures), found by their
// file name. The build turns them into byte arrays that register themselves at start-up
// (see embed.cmake); an executable may hold several such sets.
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

// Made once per generated set, as a static object: adds the set to those findResource
// searches.
class ResourceSet {
public:
    ResourceSet(const EmbeddedResource* resources, std::size_t count);
};

// The bytes of a built-in file; throws ui::Error when there is none of that name.
std::span<const std::uint8_t> findResource(std::string_view name);

}  // namespace ui
