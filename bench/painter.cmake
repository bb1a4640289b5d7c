# SPDX-License-Identifier: GPL-3.0-or-later
add_executable(bench-painter ${CMAKE_CURRENT_LIST_DIR}/PainterBench.cpp)
target_link_libraries(bench-painter PRIVATE morvik_painter benchmark::benchmark benchmark::benchmark_main)
