# SPDX-License-Identifier: GPL-3.0-or-later
# libFuzzer target of the game-record reader and its replay (records come from anywhere). The
# engine, the record, its ranking rule and the store are compiled into it with the fuzzer's
# instrumentation.
morvik_fuzz_target(fuzz-record record_fuzz.cpp
                   ${CMAKE_SOURCE_DIR}/Source/model/GameRecord.cpp
                   ${CMAKE_SOURCE_DIR}/Source/model/GameRecordPlay.cpp
                   ${CMAKE_SOURCE_DIR}/Source/model/GameResults.cpp
                   ${CMAKE_SOURCE_DIR}/Source/model/ComputerLevels.cpp
                   ${CMAKE_SOURCE_DIR}/Source/engine/UnitCore.cpp
                   ${CMAKE_SOURCE_DIR}/Source/engine/UnitCoreBrain.cpp
                   ${CMAKE_SOURCE_DIR}/Source/engine/UnitCoreCoach.cpp
                   ${CMAKE_SOURCE_DIR}/Source/engine/UnitCoreMachine.cpp
                   ${CMAKE_SOURCE_DIR}/Source/engine/UnitCoreMaster.cpp
                   $<TARGET_OBJECTS:fuzz-store>)
