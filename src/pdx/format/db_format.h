// The table file (.DB): its header, whose common part every Paradox file kind shares, and
// its data blocks. Each offset and constant is named once, here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pdx::format {

// The header part common to tables and index files.
constexpr std::size_t kRecordSize = 0x00;      // u16
constexpr std::size_t kHeaderSize = 0x02;      // u16
constexpr std::size_t kFileType = 0x04;        // u8
constexpr std::size_t kBlockSizeKiB = 0x05;    // u8
constexpr std::size_t kRecordCount = 0x06;     // u32
constexpr std::size_t kUsedBlocks = 0x0A;      // u16
constexpr std::size_t kFileBlocks = 0x0C;      // u16
constexpr std::size_t kFirstBlock = 0x0E;      // u16
constexpr std::size_t kLastBlock = 0x10;       // u16
constexpr std::size_t kUnknown12 = 0x12;       // u16, moves as blocks are added
constexpr std::size_t kFieldCount = 0x21;      // u16
constexpr std::size_t kKeyFieldCount = 0x23;   // u16
constexpr std::size_t kEncryption1 = 0x25;     // u32
constexpr std::size_t kSortOrder = 0x29;       // u8
constexpr std::size_t kChangeCount = 0x2D;     // u8 in tables; indexes keep a copy
constexpr std::size_t kLevel = 0x39;           // u8
constexpr std::size_t kMaxBlocks = 0x3A;       // u16, follows the file's block count
constexpr std::size_t kUnknown3E = 0x3E;       // u16, 0x0F1F in tables
constexpr std::size_t kAutoIncrement = 0x49;   // u32
constexpr std::size_t kRealHeaderSize = 0x51;  // u16
constexpr std::size_t kUnknown56 = 0x56;       // u8, 0x20 in tables
constexpr std::size_t kCommonHeaderEnd = 0x58;

// The part tables of level 5 and later add.
constexpr std::size_t kLevelId1 = 0x58;       // u16, 0x0100 | level
constexpr std::size_t kLevelId2 = 0x5A;       // u16
constexpr std::size_t kEncryption2 = 0x5C;    // u32
constexpr std::size_t kUpdateTime = 0x60;     // u32, Unix time
constexpr std::size_t kHiFieldId = 0x64;      // u16, fields + 1
constexpr std::size_t kHiFieldIdInfo = 0x66;  // u16
constexpr std::size_t kCodePage = 0x6A;       // u16
constexpr std::size_t kUnknown6C = 0x6C;      // u16
constexpr std::size_t kUnknown6E = 0x6E;      // u16
constexpr std::size_t kChangeCount4 = 0x70;   // u16
constexpr std::size_t kDataHeaderEnd = 0x78;

constexpr std::uint8_t kKeyedTable = 0x00;
constexpr std::uint8_t kPrimaryIndex = 0x01;
constexpr std::uint8_t kUnkeyedTable = 0x02;

constexpr std::uint8_t kMinLevel = 0x03;
constexpr std::uint8_t kMaxLevel = 0x0C;
constexpr std::uint8_t kFirstLevelWithDataHeader = 0x05;
constexpr std::uint8_t kFirstLevelWithLongName = 0x0C;
constexpr std::uint8_t kParadox7 = 0x0C;
constexpr std::size_t kShortTableName = 79;
constexpr std::size_t kLongTableName = 261;
constexpr std::size_t kPointerSize = 4;

constexpr std::uint32_t kEncryptionMoved = 0xFF00FF00;  // encryption1 when encryption2 counts
constexpr std::uint16_t kDefaultDosCodePage = 437;      // tables without a data header

// What Paradox 7 writes where the meaning is unknown, and its sort order by default.
constexpr std::uint16_t kUnknown3EValue = 0x0F1F;
constexpr std::uint8_t kUnknown56Value = 0x20;
constexpr std::uint16_t kUnknown6CValue = 0x0101;
constexpr std::uint16_t kFirstChangeCount4 = 1;
constexpr std::size_t kHiFieldIdInfoBase = 0x20;  // + 6 per field + pointer + name + names
constexpr std::size_t kUnknown6EBase = 0x20;      // + 8 per field + pointer + name + names
constexpr const char* kAsciiSortOrder = "ascii";
constexpr std::uint8_t kAsciiSortOrderByte = 0x00;

constexpr std::uint32_t kKiB = 1024;
constexpr std::uint32_t kMaxBlockSizeKiB = 32;
constexpr std::uint32_t kMaxBlockCount = 0xFFFF;  // block numbers are shorts
constexpr std::size_t kNewHeaderUnit = 0x800;     // new headers are whole units of this

// Data block: next block number, previous block number, (records - 1) * record size.
constexpr std::size_t kBlockNext = 0;
constexpr std::size_t kBlockPrev = 2;
constexpr std::size_t kBlockAddDataSize = 4;
constexpr std::size_t kBlockHeader = 6;

}  // namespace pdx::format
