# SPDX-License-Identifier: GPL-3.0-or-later
# libFuzzer target of the game-record reader and its replay (records come from anywhere). The
# engine, the record, its ranking rule and the store are compiled into it with the fuzzer's
# instrumentation.
add_executable(fuzz-record ${CMAKE_CURRENT_SOURCE_DIR}/record_fuzz.cpp
                           ${CMAKE_SOURCE_DIR}/Source/model/GameRecord.cpp
                           ${CMAKE_SOURCE_DIR}/Source/model/GameRecordPlay.cpp
                           ${CMAKE_SOURCE_DIR}/Source/model/GameResults.cpp
                           ${CMAKE_SOURCE_DIR}/Source/model/ComputerLevels.cpp
                           ${CMAKE_SOURCE_DIR}/Source/engine/UnitCore.cpp
                           ${CMAKE_SOURCE_DIR}/Source/engine/UnitCoreBrain.cpp
                           ${CMAKE_SOURCE_DIR}/Source/engine/UnitCoreCoach.cpp
                           ${CMAKE_SOURCE_DIR}/Source/engine/UnitCoreMachine.cpp
                           ${CMAKE_SOURCE_DIR}/Source/engine/UnitCoreMaster.cpp
                           ${MORVIK_CONFIG_SOURCES})
target_include_directories(fuzz-record PRIVATE ${CMAKE_SOURCE_DIR}/Source)
target_compile_options(fuzz-record PRIVATE -fsanitize=fuzzer,address,undefined
                                           -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_link_options(fuzz-record PRIVATE -fsanitize=fuzzer,address,undefined)
