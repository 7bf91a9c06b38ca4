// The tests' entry; also the driven program when started as "--drive" (program_driver.h).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "program_driver.h"

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (argc > 1 && std::string(argv[1]) == "--drive") return driveProgram(argc - 2, argv + 2);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
