// The real tables and what an independent reader reports about them (the samples' README).
#pragma once

#include "pdx/value.h"

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace samples {

struct Sample {
    const char* path;
    int level;
    int fileType;
    int blockKiB;
    int records;
    int recordSize;
    const char* fields;  // "name:<letter><size>, ..." with the letters of the samples' README
};

// The README's letters for the field types.
inline char readmeLetter(pdx::FieldType type) {
    switch (type) {
    case pdx::FieldType::Alpha: return 'A';
    case pdx::FieldType::Date: return 'B';
    case pdx::FieldType::Short: return 'C';
    case pdx::FieldType::Long: return 'D';
    case pdx::FieldType::Currency: return 'E';
    case pdx::FieldType::Number: return 'F';
    case pdx::FieldType::Logical: return 'I';
    case pdx::FieldType::Memo: return 'L';
    case pdx::FieldType::FormattedMemo: return 'N';
    case pdx::FieldType::Ole: return 'O';
    case pdx::FieldType::Graphic: return 'P';
    case pdx::FieldType::Time: return 'T';
    case pdx::FieldType::Timestamp: return 'U';
    case pdx::FieldType::AutoInc: return 'V';
    case pdx::FieldType::Bcd: return 'W';
    case pdx::FieldType::Bytes: return 'X';
    case pdx::FieldType::Blob: return 'M';
    }
    return '?';
}

inline std::string describe(const std::vector<pdx::FieldDef>& fields) {
    std::string s;
    for (const auto& f : fields) {
        if (!s.empty()) s += ", ";
        const int size = f.type == pdx::FieldType::Bcd ? 17 : f.size;
        s += f.name + ":" + readmeLetter(f.type) + std::to_string(size);
    }
    return s;
}

inline const Sample kReadable[] = {
    {"fields/bcd.db", 0x0b, 2, 2, 3, 51, "A:W17, B:W17, C:W17"},
    {"fields/bytes.db", 0x0b, 2, 2, 1, 255, "BYTES:X255"},
    {"fields/date35.db", 0x04, 2, 2, 3, 4, "DATE:B4"},
    {"fields/date4.db", 0x09, 2, 2, 3, 4, "DATE:B4"},
    {"fields/date5.db", 0x0b, 2, 2, 3, 8, "DATE:B4, TIME:T4"},
    {"fields/date7.db", 0x0b, 2, 2, 5, 8, "DATE:B4, TIME:T4"},
    {"fields/fmemo.db", 0x0b, 0, 2, 2, 14, "Id:V4, FMEMO:N10"},
    {"fields/graphic.db", 0x0b, 0, 2, 3, 17, "Id:V4, Graphic:P10, Type:A3"},
    {"fields/graphic240.db", 0x0b, 0, 2, 1, 254, "Id:V4, Graph:P250"},
    {"fields/logical.db", 0x0b, 2, 2, 4, 1, "BOOL:I1"},
    {"fields/long.db", 0x0b, 0, 2, 3, 8, "Id:V4, LONG:D4"},
    {"fields/memo.db", 0x0b, 0, 2, 2, 254, "Id:V4, MEMO:L250"},
    {"fields/ole.db", 0x0b, 0, 2, 1, 14, "Id:V4, OLE:O10"},
    {"fields/time.db", 0x0b, 2, 2, 3, 4, "Time:T4"},
    {"fields/timestamp.db", 0x0b, 2, 2, 2, 8, "Timestamp:U8"},
    {"joins/A.db", 0x0b, 0, 2, 3, 4, "A:D4"},
    {"joins/B.db", 0x0b, 0, 2, 3, 4, "B:D4"},
    {"joins/C.DB", 0x0b, 0, 2, 3, 12, "C:D4, A:D4, B:D4"},
    {"joins/case.db", 0x09, 2, 2, 1, 10, "C:A10"},
    {"joins/destination.db", 0x0b, 2, 2, 1, 54, "ID:V4, NAME:A50"},
    {"joins/fk1.db", 0x0b, 0, 2, 0, 8, "ID:V4, FK:D4"},
    {"joins/fk2.db", 0x0b, 0, 2, 0, 8, "ID:V4, FK:D4"},
    {"joins/fk3.db", 0x0b, 0, 2, 0, 12, "ID:V4, FK:D4, FK2:D4"},
    {"joins/fk4.db", 0x0b, 0, 2, 2, 15, "ID:D4, FK1:D4, B1:A3, FK:D4"},
    {"joins/indexed.db", 0x0c, 2, 2, 0, 4, "Indexed:D4"},
    {"joins/joina.db", 0x09, 2, 2, 3, 2, "ID:C2"},
    {"joins/joinb.db", 0x09, 2, 2, 3, 2, "Id:C2"},
    {"joins/multiple.db", 0x0b, 0, 2, 0, 32, "ID:V4, FK:D4, A:A20, FK2:D4"},
    {"joins/origin.db", 0x0b, 2, 2, 1, 8, "ID:V4, FK:D4"},
    {"joins/paradox-ascii.db", 0x09, 2, 2, 0, 20, "A:A20"},
    {"joins/primary.db", 0x0b, 0, 2, 0, 54, "ID:V4, Name:A50"},
    {"joins/to_multiple.db", 0x0b, 0, 2, 0, 8, "ID:V4, FK:D4"},
    {"joins/two.db", 0x0b, 0, 2, 0, 11, "ID1:D4, ID2:D4, Name:A3"},
    {"misc/DECIMAL.DB", 0x0c, 2, 2, 9, 8, "DECIMAL:F8"},
    {"misc/GENERAL.DB", 0x0b, 0, 2, 3, 37, "ID:D4, NAME:A25, MONEYS:E8"},
    {"misc/ORDERS.DB", 0x0c, 0, 2, 224, 71,
     "Order No:F8, Customer No:F8, Sale Date:B4, Ship Date:B4, Ship VIA:A7, Total Invoice:E8, "
     "Amount Paid:E8, Balance Due:E8, Terms:A6, Payment Method:A7, Month:A3"},
    {"misc/ROMAN8.db", 0x09, 2, 2, 1, 20, "A:A20"},
    {"misc/tblAC.DB", 0x0c, 0, 16, 220, 267, "AreaCode:A6, State:A7, Effective:B4, AreasCovered:A250"},
};

// The password-protected ones, read without the password.
inline const Sample kProtected[] = {
    {"encrypt/encrypted35.db", 0x04, 2, 2, 2, 38, "A:F8, B:A30"},
    {"encrypt/encryptedmemo.db", 0x09, 2, 2, 2, 250, "TEXT:L250"},
    {"misc/encrypted.db", 0x0b, 2, 2, 4, 34, "Id:V4, Text:A30"},
};

inline void PrintTo(const Sample& s, std::ostream* os) { *os << s.path; }

inline bool isProtected(const Sample& s) {
    return std::any_of(std::begin(kProtected), std::end(kProtected),
                       [&](const Sample& p) { return std::string(p.path) == s.path; });
}

// A sample's path as a test name.
inline std::string testName(const Sample& s) {
    std::string name = s.path;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

}  // namespace samples
