# SPDX-License-Identifier: GPL-3.0-or-later
# libFuzzer targets of the settings file store and the hall-of-fame tables.
foreach(name ini hallfame)
  morvik_fuzz_target(fuzz-${name} ${name}_fuzz.cpp $<TARGET_OBJECTS:fuzz-store>)
  target_include_directories(fuzz-${name} PRIVATE ${CMAKE_SOURCE_DIR}/Source/config)
endforeach()
