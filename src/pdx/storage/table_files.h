// The files that make up a table: the .DB file and its companions beside it, found whatever
// the case of their names.
#pragma once

#include <string>
#include <vector>

namespace pdx {

// The path of the existing file in `path`'s folder whose name equals `path`'s name
// ignoring ASCII case ("" when there is none). An exact match wins.
std::string findIgnoringCase(const std::string& path);

// The companion of a table with the given extension (".MB", ".PX", ...), found ignoring
// case; "" when it does not exist.
std::string findCompanion(const std::string& tablePath, const std::string& extension);

// Where a new companion goes: the existing file's path if there is one, else the table's
// stem plus the extension in the case of the table's own extension.
std::string companionPath(const std::string& tablePath, const std::string& extension);

// Every companion of a table with the given extension, in any case.
std::vector<std::string> findCompanions(const std::string& tablePath, const std::string& extension);

// The index files of a table: its primary index (.PX) and its secondary indexes (.Xnn,
// .Ynn, .XGn, .YGn), in any case.
std::vector<std::string> findIndexes(const std::string& tablePath);

// A secondary index's two files as paths: its entries (.Xnn, .XGn) and their tree (.Ynn,
// .YGn), either "" when it is missing.
struct SecondaryIndexFiles {
    std::string entries;
    std::string tree;
};

// The secondary indexes of a table, their files found in any case and paired by extension.
std::vector<SecondaryIndexFiles> findSecondaryIndexes(const std::string& tablePath);

// The other file of a secondary index, in the same case: the tree's path for the entries
// file's, and the other way round.
std::string otherIndexFile(const std::string& path);

}  // namespace pdx
