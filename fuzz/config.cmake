# SPDX-License-Identifier: GPL-3.0-or-later
# libFuzzer targets of the settings file store and the hall-of-fame tables. The store's sources
# are compiled into each target so that they carry the fuzzer's instrumentation.
foreach(name ini hallfame)
  add_executable(fuzz-${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}_fuzz.cpp ${MORVIK_CONFIG_SOURCES})
  target_include_directories(fuzz-${name} PRIVATE ${CMAKE_SOURCE_DIR}/Source/config
                                                  ${CMAKE_SOURCE_DIR}/Source)
  target_compile_options(fuzz-${name} PRIVATE -fsanitize=fuzzer,address,undefined
                                              -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(fuzz-${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endforeach()
