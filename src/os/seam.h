// The seam every change the file layer makes on disk passes through: creating a file,
// writing to it, flushing it, renaming, removing, flushing a folder. Tests install one to make
// any of these fail, to freeze the disk at any point as a crash would, or to record the order
// of the changes.
#pragma once

#include <string>

namespace os {

enum class Change { Create, Write, Flush, Rename, Remove, FlushFolder };

class Seam {
public:
    virtual ~Seam() = default;
    // Before the change (`to` is the new name of a rename); throwing os::Error makes it fail.
    virtual void before(Change change, const std::string& path, const std::string& to) = 0;
    // After the change was made.
    virtual void after(Change change, const std::string& path, const std::string& to) = 0;
};

// Installs `seam` for every later change (nullptr: none); returns the one it replaces.
Seam* installSeam(Seam* seam);

// What the file layer calls around each change.
void beforeChange(Change change, const std::string& path, const std::string& to = {});
void afterChange(Change change, const std::string& path, const std::string& to = {});

}  // namespace os
