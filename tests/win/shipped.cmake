# The programs as they ship: what they import, the resources they carry, and the real
# program run as a user runs it, under Wine in Xvfb.
if(NOT (WIN32 AND CMAKE_CROSSCOMPILING))
  return()
endif()

# They come from a tree of their own (scripts/build-windows: the win32 thread model, which
# GoogleTest cannot use); without one, this tree's own programs are tested.
set(JINGLECONV_SHIPPED_DIR "" CACHE PATH "Folder of the shipped jingleconv.exe and pdxsql.exe")
if(JINGLECONV_SHIPPED_DIR)
  set(shipped_jingleconv ${JINGLECONV_SHIPPED_DIR}/jingleconv.exe)
  set(shipped_pdxsql ${JINGLECONV_SHIPPED_DIR}/pdxsql.exe)
else()
  set(shipped_jingleconv $<TARGET_FILE:jingleconv>)
  set(shipped_pdxsql $<TARGET_FILE:pdxsql>)
endif()

add_test(NAME xp_imports
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/xp_imports.sh ${CMAKE_CXX_COMPILER} ${CMAKE_OBJDUMP} ${CMAKE_NM}
                 ${shipped_jingleconv} ${shipped_pdxsql})
add_test(NAME program_resources
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/resources_test.sh ${PROJECT_VERSION} ${shipped_jingleconv}
                 ${shipped_pdxsql})

# pdxsql.exe's Russian output on a console of its own and redirected to a file. Wine may
# show that console as a window, so the test holds the display.
add_executable(console_test console_test.cpp)
target_link_libraries(console_test PRIVATE jingleconv_os GTest::gtest_main)
target_include_directories(console_test PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(console_test PRIVATE PDXSQL="${shipped_pdxsql}")
gtest_discover_tests(console_test DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                     PROPERTIES RESOURCE_LOCK display TIMEOUT 60)

# Started, clicked, its eight tables checked, with Wine reporting Windows XP, 7 and 10. It
# drives the display with the keyboard and mouse and sets the reported version, so it runs
# alone.
add_test(NAME jingleconv_smoke
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/smoke_test.sh ${shipped_jingleconv} ${shipped_pdxsql}
                 ${CMAKE_BINARY_DIR}/smoke)
set_tests_properties(jingleconv_smoke PROPERTIES RUN_SERIAL TRUE RESOURCE_LOCK display TIMEOUT 900)
