# SPDX-License-Identifier: GPL-3.0-or-later
# Engine speed on the largest boards, and the literal copy-based players for comparison.
add_executable(bench-engine
  ${CMAKE_CURRENT_LIST_DIR}/engine_bench.cpp
  ${PROJECT_SOURCE_DIR}/Tests/engine/ReferencePlayers.cpp)
target_include_directories(bench-engine PRIVATE ${PROJECT_SOURCE_DIR}/Tests/engine)
target_link_libraries(bench-engine PRIVATE morvik_core benchmark::benchmark)
