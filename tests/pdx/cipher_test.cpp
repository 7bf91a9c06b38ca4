// The scrambling of protected tables: a real protected table, keys in headers, round trips.
#include "pdx/format/cipher.h"
#include "pdx/format/db_format.h"
#include "table_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace pdx::cipher;
using pdx::format::kEncryption1;
using pdx::format::kEncryption2;
using pdx::format::kEncryptionMoved;

// misc/encrypted.db among the sample tables, written by Paradox's engine: level 0x0B,
// unkeyed, 2 KiB blocks, fields Id (autoincrement) and Text (A30); its key, at 0x5C.
constexpr std::uint32_t kSampleKey = 0x0A25E09A;
constexpr std::size_t kSampleRecordSize = 34;

// The first 256 bytes of that table's only data block, as stored.
constexpr std::array<std::uint8_t, kUnitSize> kSampleFirstUnit = {
    0x48, 0x0D, 0x53, 0x72, 0x2B, 0x89, 0x7C, 0xDA, 0x2B, 0xE2, 0xE7, 0x74, 0x00, 0x2A, 0xF3, 0xF4,
    0x7D, 0x08, 0xA1, 0xD4, 0x5C, 0xD4, 0x17, 0xCE, 0x43, 0x5D, 0x74, 0xC1, 0x68, 0x4F, 0xB0, 0x7F,
    0xAF, 0xB4, 0x46, 0x21, 0xB1, 0x0B, 0xEB, 0xE5, 0xDB, 0x4E, 0x9C, 0x82, 0x2F, 0xF7, 0xEB, 0xBC,
    0xC0, 0x91, 0xD7, 0xF7, 0x54, 0x50, 0x9A, 0x9B, 0xE3, 0x7E, 0x3C, 0xE4, 0xDB, 0x69, 0x16, 0x5E,
    0x83, 0x13, 0x28, 0x21, 0xB8, 0x4F, 0xFF, 0x8D, 0xFB, 0xF5, 0x2F, 0xE6, 0xB5, 0x2D, 0xBE, 0x4D,
    0xCD, 0x06, 0xFE, 0x07, 0x73, 0x3A, 0xD2, 0x50, 0x43, 0x1A, 0x3E, 0x70, 0x09, 0xA6, 0xB5, 0xD4,
    0xFF, 0x24, 0xAF, 0x30, 0x67, 0x8D, 0x68, 0xEE, 0xFC, 0x9C, 0x33, 0x4A, 0x3E, 0xA8, 0x02, 0x82,
    0x8B, 0xFB, 0xB9, 0x4A, 0x49, 0x17, 0xEA, 0x9E, 0xB2, 0xD5, 0x9C, 0xEE, 0x9D, 0x13, 0xA0, 0x94,
    0x14, 0x15, 0x10, 0x50, 0x2E, 0xD1, 0xB5, 0x89, 0x57, 0x99, 0x2D, 0xCE, 0xCB, 0x87, 0xFF, 0xF0,
    0xAE, 0xDF, 0x59, 0xEA, 0x9B, 0x23, 0x3B, 0x50, 0x39, 0x31, 0x39, 0xB1, 0x43, 0x25, 0xA2, 0x62,
    0x60, 0xD0, 0xB7, 0xB2, 0x0B, 0x4D, 0xC6, 0x53, 0x62, 0x3F, 0x52, 0x50, 0xBD, 0x13, 0x81, 0x24,
    0x4F, 0x69, 0xEC, 0x15, 0xBA, 0x64, 0x17, 0x39, 0x99, 0x14, 0xDA, 0xE2, 0x34, 0x14, 0x5C, 0x34,
    0x06, 0x15, 0x8E, 0x7E, 0x77, 0x83, 0x90, 0xF1, 0xFE, 0xBA, 0x66, 0xA1, 0x5C, 0x00, 0xCC, 0xF2,
    0x61, 0x6C, 0xDF, 0xE3, 0xCF, 0xBB, 0x6E, 0xD1, 0x56, 0x95, 0xCF, 0xB0, 0x48, 0x3D, 0xD5, 0x1D,
    0x93, 0x16, 0x60, 0x98, 0xD8, 0x6C, 0xA7, 0xEE, 0x2E, 0x17, 0x52, 0x1A, 0xB8, 0x68, 0x0E, 0x17,
    0x6C, 0x16, 0x1E, 0xC1, 0x22, 0x0E, 0xD5, 0xB2, 0x15, 0x80, 0x81, 0xFD, 0x8A, 0x8B, 0x29, 0xC9,
};

// The block header and records the sample's block holds, as independent readers show them.
Bytes sampleBlockStart() {
    Bytes plain = {0, 0, 0, 0, 3 * kSampleRecordSize, 0};
    const char* texts[] = {"Value 1", "Value 2", "Value 3", "Last one"};
    for (std::uint8_t id = 1; id <= 4; ++id) {
        Bytes record(kSampleRecordSize, 0);
        record[0] = 0x80;  // a long, big-endian with its sign bit flipped
        record[3] = id;
        std::memcpy(&record[4], texts[id - 1], std::strlen(texts[id - 1]));
        plain.insert(plain.end(), record.begin(), record.end());
    }
    return plain;
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes b(size);
    for (auto& byte : b) byte = static_cast<std::uint8_t>(rng());
    return b;
}

TEST(CipherSample, FirstUnitOfTheProtectedBlockHoldsTheFourRecords) {
    Bytes unit(kSampleFirstUnit.begin(), kSampleFirstUnit.end());
    decodeBlock(unit, kSampleKey, 1);
    Bytes expected = sampleBlockStart();
    expected.resize(kUnitSize, 0);
    EXPECT_EQ(unit, expected);

    encodeBlock(unit, kSampleKey, 1);
    EXPECT_TRUE(std::equal(unit.begin(), unit.end(), kSampleFirstUnit.begin()));
}

TEST(CipherSample, WholeProtectedTableDecodesAndEncodesBackExactly) {
    const Bytes file = readFile(kSamples + "/misc/encrypted.db");
    constexpr std::size_t headerSize = 0x800, blockSize = 0x800;
    ASSERT_EQ(file.size(), headerSize + blockSize);
    EXPECT_EQ(keyOf(std::span(file).first(headerSize)), kSampleKey);

    Bytes block(file.begin() + headerSize, file.end());
    decodeBlock(block, kSampleKey, 1);
    Bytes expected = sampleBlockStart();
    expected.resize(blockSize, 0);  // the units after the records decode to zeros
    EXPECT_EQ(block, expected);

    encodeBlock(block, kSampleKey, 1);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), file.begin() + headerSize));
}

struct KeyCase {
    const char* what;
    std::uint8_t fileType;
    std::uint8_t level;
    std::uint32_t at25;
    std::uint32_t at5C;
    std::uint32_t key;
};

Bytes headerWith(const KeyCase& c, std::size_t size = 0x78) {
    Bytes h(size, 0);
    h[0x04] = c.fileType;
    h[0x39] = c.level;
    for (int i = 0; i < 4; ++i) {
        h[kEncryption1 + i] = static_cast<std::uint8_t>(c.at25 >> (8 * i));
        if (size >= kEncryption2 + 4) h[kEncryption2 + i] = static_cast<std::uint8_t>(c.at5C >> (8 * i));
    }
    return h;
}

TEST(CipherKey, LivesWhereTheFileKindAndLevelPutIt) {
    constexpr std::uint32_t k = 0x6E25449A;
    // Other data at 0x5C stands where that offset is no key slot (values seen in samples).
    const KeyCase cases[] = {
        {"level 7 table", 0x00, 0x0C, kEncryptionMoved, k, k},
        {"unprotected level 7 table", 0x02, 0x0C, kEncryptionMoved, 0, 0},
        {"level 7 table with the key left at 0x25", 0x02, 0x0C, k, 0, k},
        {"level 5 table", 0x02, 0x0B, kEncryptionMoved, k, k},
        {"level 4.x table", 0x02, 0x09, kEncryptionMoved, k, k},
        {"level 4.0 table", 0x02, 0x05, kEncryptionMoved, k, k},
        {"level 3.5 table", 0x02, 0x04, k, 0xDF6B6BDA, k},
        {"unprotected level 3.5 table", 0x02, 0x04, 0, 0xDF6B6BDA, 0},
        {"level 3.0 keyed table", 0x00, 0x03, k, 0, k},
        {".PX", 0x01, 0x0C, k, 0xE06B7265, k},
        {"unprotected .PX", 0x01, 0x0B, 0, 0xDF6B6765, 0},
        {".Ynn", 0x04, 0x0B, k, 0x5AE0E46B, k},
        {"unprotected .YGn", 0x07, 0x0B, 0, 0x04048CA8, 0},
        {".Xnn", 0x05, 0x0B, kEncryptionMoved, k, k},
        {"non-incrementing .Xnn", 0x03, 0x09, kEncryptionMoved, k, k},
        {".XGn", 0x08, 0x0B, kEncryptionMoved, k, k},
        {"level 3.5 table whose key is the marker's value", 0x02, 0x04, kEncryptionMoved, 0,
         kEncryptionMoved},
        {".PX whose key is the marker's value", 0x01, 0x0C, kEncryptionMoved, 0xE06B7265, kEncryptionMoved},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(keyOf(headerWith(c)), c.key) << c.what;
    }
}

TEST(CipherKey, HeaderTooShortToTellHasNone) {
    const KeyCase moved{"level 7 table", 0x02, 0x0C, kEncryptionMoved, 0x6E25449A, 0};
    EXPECT_EQ(keyOf(headerWith(moved, kEncryption2 + 3)), 0u);
    const KeyCase old{"level 3.5 table", 0x02, 0x04, 0x6E25449A, 0, 0};
    EXPECT_EQ(keyOf(headerWith(old, 0x39)), 0u);
    EXPECT_EQ(keyOf({}), 0u);
}

struct RoundTrip {
    std::size_t size;
    std::uint32_t key;
    std::uint32_t blockNumber;
};

TEST(CipherRoundTrip, BlocksAndBlobBytesComeBackExactly) {
    const RoundTrip cases[] = {
        {kUnitSize, kSampleKey, 1}, {1024, 0x6E25449A, 2},    {2048, 0, 1},
        {4096, 0xFFFFFFFF, 255},    {16384, 0x00000001, 256}, {32768, 0x8000FFFF, 0xFFFF},
    };
    unsigned seed = 1;
    for (const RoundTrip& c : cases) {
        const Bytes plain = randomBytes(c.size, seed++);
        Bytes b = plain;
        encodeBlock(b, c.key, c.blockNumber);
        EXPECT_NE(b, plain) << c.size << " bytes, block " << c.blockNumber;
        decodeBlock(b, c.key, c.blockNumber);
        EXPECT_EQ(b, plain) << c.size << " bytes, block " << c.blockNumber;
        decodeBlock(b, c.key, c.blockNumber);
        encodeBlock(b, c.key, c.blockNumber);
        EXPECT_EQ(b, plain) << c.size << " bytes, block " << c.blockNumber << ", decoded first";

        Bytes m = plain;
        encodeBlobBytes(m, c.key);
        EXPECT_NE(m, plain) << c.size << " blob bytes";
        decodeBlobBytes(m, c.key);
        EXPECT_EQ(m, plain) << c.size << " blob bytes";
        decodeBlobBytes(m, c.key);
        encodeBlobBytes(m, c.key);
        EXPECT_EQ(m, plain) << c.size << " blob bytes, decoded first";
    }
}

std::uint64_t fnv1a(const Bytes& b) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    for (std::uint8_t c : b) h = (h ^ c) * 0x100000001B3ull;
    return h;
}

struct KnownAnswer {
    bool blob;
    std::size_t size;
    std::uint32_t key;
    std::uint32_t blockNumber;
    std::uint64_t storedHash;  // FNV-1a of what pxlib's px_encrypt_db_block/px_encrypt_mb_block store
};

TEST(CipherKnownAnswers, EncodeAsPxlibDoes) {
    const KnownAnswer cases[] = {
        {false, 1024, 0x6E25449A, 3, 0x6AA3ADD37D3487C1ull},
        {false, 4096, 0x0A25E09A, 258, 0x289E88812EB63D99ull},
        {false, 32768, 0xFFFFFFFF, 65535, 0x3E0639E7E191B935ull},
        {true, 512, 0x6E25449A, 0, 0x3ED1FFCCAA555AE5ull},
        {true, 4096, 0x0000FFFF, 0, 0x3F2E73DB7D821665ull},
    };
    for (const KnownAnswer& c : cases) {
        Bytes b(c.size);
        for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 7 + i / kUnitSize);
        if (c.blob) {
            encodeBlobBytes(b, c.key);
        } else {
            encodeBlock(b, c.key, c.blockNumber);
        }
        EXPECT_EQ(fnv1a(b), c.storedHash) << (c.blob ? "blob bytes, " : "block, ") << c.size;
    }
}

Bytes encodedBlock(const Bytes& plain, std::uint32_t key, std::uint32_t blockNumber) {
    Bytes b = plain;
    encodeBlock(b, key, blockNumber);
    return b;
}

TEST(CipherBlock, DependsOnTheLowByteOfTheBlocksPlaceInTheFile) {
    const Bytes plain = randomBytes(2048, 7);
    EXPECT_NE(encodedBlock(plain, kSampleKey, 1), encodedBlock(plain, kSampleKey, 2));
    EXPECT_EQ(encodedBlock(plain, kSampleKey, 1), encodedBlock(plain, kSampleKey, 257));
}

TEST(CipherBlock, EachUnitDependsOnItsPlaceInTheBlock) {
    Bytes plain = randomBytes(kUnitSize, 8);
    plain.insert(plain.end(), plain.begin(), plain.end());
    const Bytes stored = encodedBlock(plain, kSampleKey, 1);
    EXPECT_FALSE(std::equal(stored.begin(), stored.begin() + kUnitSize, stored.begin() + kUnitSize));
}

TEST(CipherBlob, UnitsDependOnTheKeyOnly) {
    Bytes plain = randomBytes(kUnitSize, 9);
    plain.insert(plain.end(), plain.begin(), plain.end());
    Bytes stored = plain;
    encodeBlobBytes(stored, kSampleKey);
    EXPECT_TRUE(std::equal(stored.begin(), stored.begin() + kUnitSize, stored.begin() + kUnitSize));
    Bytes otherKey = plain;
    encodeBlobBytes(otherKey, kSampleKey ^ 0x0100);
    EXPECT_NE(otherKey, stored);
}

TEST(CipherKey, OnlyItsLowerHalfScrambles) {
    const Bytes plain = randomBytes(1024, 10);
    const Bytes stored = encodedBlock(plain, kSampleKey, 3);
    EXPECT_EQ(encodedBlock(plain, kSampleKey ^ 0xFFFF0000, 3), stored);
    EXPECT_NE(encodedBlock(plain, kSampleKey ^ 0x00000001, 3), stored);
    EXPECT_NE(encodedBlock(plain, kSampleKey ^ 0x00000100, 3), stored);
}

TEST(CipherSize, PartialUnitsAreRefused) {
    Bytes b(kUnitSize + 1);
    EXPECT_THROW(decodeBlock(b, kSampleKey, 1), std::invalid_argument);
    EXPECT_THROW(encodeBlock(b, kSampleKey, 1), std::invalid_argument);
    EXPECT_THROW(decodeBlobBytes(b, kSampleKey), std::invalid_argument);
    EXPECT_THROW(encodeBlobBytes(b, kSampleKey), std::invalid_argument);
}

}  // namespace
