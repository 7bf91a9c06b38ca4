// Small jingle tables made with our engine, the way the radio program's tables look:
// an id key, the category FKey, a file name, a title, a duration and a memo.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pdx/value.h"

struct JingleRow {
    int id;
    std::optional<int> key;  // blank when absent
    std::string file;
    std::string title;
    int milliseconds;
    std::string notes;  // long enough to live in the blob file
};

// Every key of its targets, keys that reach no target and a blank key.
extern const std::vector<JingleRow> AdvBeatsRows;
extern const std::vector<JingleRow> BeatsRows;

void createJingleTable(const std::string& path, const std::vector<JingleRow>& rows);

// The rows as the engine reads them back.
std::vector<std::vector<pdx::Value>> readTable(const std::string& path);

// The rows a target keeps: DELETE ... WHERE FKey<>K removes only rows whose key is known
// and differs, so rows with a blank key stay (SQL's three-valued logic).
std::vector<std::vector<pdx::Value>> rowsKept(const std::vector<JingleRow>& rows, int key);
