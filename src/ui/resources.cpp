#include "ui/resources.h"

#include <string>
#include <vector>

#include "ui/error.h"

namespace ui {

namespace {

std::vector<std::span<const EmbeddedResource>>& sets() {
    static std::vector<std::span<const EmbeddedResource>> all;
    return all;
}

}  // namespace

ResourceSet::ResourceSet(const EmbeddedResource* resources, std::size_t count) {
    sets().emplace_back(resources, count);
}

std::span<const std::uint8_t> findResource(std::string_view name) {
    for (std::span<const EmbeddedResource> set : sets())
        for (const EmbeddedResource& resource : set)
            if (name == resource.name) return {resource.data, resource.size};
    throw Error("Встроенный файл " + std::string(name) + " не найден");
}

}  // namespace ui
