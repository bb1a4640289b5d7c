# SPDX-License-Identifier: GPL-3.0-or-later
# Opening a large game record and moving about in it.
add_executable(bench-record ${CMAKE_CURRENT_LIST_DIR}/record_bench.cpp)
target_link_libraries(bench-record PRIVATE morvik_model benchmark::benchmark)
