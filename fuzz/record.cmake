# SPDX-License-Identifier: GPL-3.0-or-later
# libFuzzer target of the game-record reader and its replay (records come from anywhere). The
# engine, the record, its ranking rule and the store are compiled into it with the fuzzer's
# instrumentation; the engine's files are taken as the folder holds them, so a new one is never
# left out.
file(GLOB MORVIK_FUZZ_ENGINE CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Source/engine/*.cpp)
morvik_fuzz_target(fuzz-record record_fuzz.cpp
                   ${CMAKE_SOURCE_DIR}/Source/model/GameRecord.cpp
                   ${CMAKE_SOURCE_DIR}/Source/model/GameRecordPlay.cpp
                   ${CMAKE_SOURCE_DIR}/Source/model/GameResults.cpp
                   ${CMAKE_SOURCE_DIR}/Source/model/ComputerLevels.cpp
                   ${MORVIK_FUZZ_ENGINE}
                   $<TARGET_OBJECTS:fuzz-store>)
