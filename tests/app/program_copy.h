// Runs the program for real from a folder of a test's choosing: a copy of this test program
// (which holds the whole program) is put in the folder and started in driver mode, so the
// program finds its tables beside its own executable, as it does for the user.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "transcript.h"

struct ProgramRun {
    int exitCode = -1;
    std::string output;                                      // everything written to stdout
    std::vector<std::map<std::string, std::string>> states;  // one per "state" step
    std::map<std::string, std::string> values;               // from "paths" and other lines
    std::vector<DialogSeen> dialogs;                         // in the order shown

    // The value of a key in the last state.
    std::string state(const std::string& key) const;
};

struct ProgramCopy {
    std::string folder;         // where the executable is put
    std::string workingFolder;  // the current folder when started ("" = the folder)
    std::string exeName = "jingleconv";
};

// Copies this test program into copy.folder and runs it with the driver's steps.
ProgramRun runProgram(const ProgramCopy& copy, const std::vector<std::string>& steps);
