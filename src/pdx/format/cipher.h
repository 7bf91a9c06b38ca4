// The scrambling of password-protected Paradox files. The key is kept in the file's header,
// so a protected table is read and written back under its own key without the password.
//
// Protected data goes in units of 256 bytes. A data block (of a .DB table, a .PX primary
// index, a .Xnn/.Ynn secondary index) is scrambled whole, its 6-byte link header included;
// its units depend on the key, on their place in the block and on the block's place in the
// file. The headers of these files stay plain. A .MB blob file is scrambled in units that
// depend on the key only. Only the lower 16 bits of the key take part.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pdx::cipher {

constexpr std::size_t kUnitSize = 256;

// The key recorded in a file's header (its first bytes, at least 0x60 of them for a table of
// level 5 or later); 0 for an unprotected file or a header too short to tell. Tables of
// levels 3 and 4 (Paradox 3.x), .PX and .Ynn files keep it at format::kEncryption1; tables of
// level 5 (Paradox 4) and later and their .Xnn files keep format::kEncryptionMoved there and
// the key at format::kEncryption2.
std::uint32_t keyOf(std::span<const std::uint8_t> header);

// Decodes or encodes one block of a .DB, .PX, .Xnn or .Ynn file in place. `blockNumber` is
// where the block stands in its file: 1 for the block right after the header, whatever the
// block links say. The block's size must be a multiple of kUnitSize (else
// std::invalid_argument).
void decodeBlock(std::span<std::uint8_t> block, std::uint32_t key, std::uint32_t blockNumber);
void encodeBlock(std::span<std::uint8_t> block, std::uint32_t key, std::uint32_t blockNumber);

// Decodes or encodes bytes of a .MB file in place; they must start at a multiple of
// kUnitSize in the file and span whole units (else std::invalid_argument).
void decodeBlobBytes(std::span<std::uint8_t> bytes, std::uint32_t key);
void encodeBlobBytes(std::span<std::uint8_t> bytes, std::uint32_t key);

}  // namespace pdx::cipher
