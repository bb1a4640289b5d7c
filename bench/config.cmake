# SPDX-License-Identifier: GPL-3.0-or-later
add_executable(bench-config ${CMAKE_CURRENT_SOURCE_DIR}/config_bench.cpp)
target_link_libraries(bench-config PRIVATE morvik_config benchmark::benchmark)
