// The benchmark's table protected by a password, as Paradox leaves it.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

constexpr std::uint32_t kProtectionKey = 0x6E25449A;  // what Paradox makes of the password "secret"

// Writes a copy of the table `from` (level 5 or later) at `to`, which must not exist, protected under
// `key`: the key in its header, every block encoded.
void writeProtectedCopy(const std::string& from, const std::string& to, std::uint32_t key);

}  // namespace bench
