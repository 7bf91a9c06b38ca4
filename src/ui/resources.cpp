#include "ui/resources.h"

#include <string>

#include "ui/error.h"

namespace ui {

std::span<const std::uint8_t> findResource(std::string_view name) {
    for (std::size_t i = 0; i < embeddedResourceCount; ++i)
        if (name == embeddedResources[i].name)
            return {embeddedResources[i].data, embeddedResources[i].size};
    throw Error("Встроенный файл " + std::string(name) + " не найден");
}

}  // namespace ui
