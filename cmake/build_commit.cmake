# Writes OUTPUT, a header naming the commit the program is built from ("" outside a git checkout).
# Run at every build; the header is rewritten only when the commit changes, so nothing else rebuilds.
# A script run with -P starts with the oldest policies; take the project's, as its build does.
cmake_minimum_required(VERSION 3.22)
execute_process(COMMAND git -C "${SOURCE}" describe --always --dirty --abbrev=12
                OUTPUT_VARIABLE VORN_COMMIT OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
if(failed)
  set(VORN_COMMIT "")
endif()
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT "// Made by cmake/build_commit.cmake at build time.\n#pragma once\ninline constexpr const char* kBuildCommit = \"@VORN_COMMIT@\";\n" @ONLY)
