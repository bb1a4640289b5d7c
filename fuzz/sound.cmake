# SPDX-License-Identifier: GPL-3.0-or-later
# libFuzzer target of the MP3 tag reader of the sound layer (music files are user-replaceable).
add_executable(fuzz-mp3tag ${CMAKE_CURRENT_SOURCE_DIR}/mp3tag_fuzz.cpp
                           ${CMAKE_SOURCE_DIR}/Source/sound/Mp3Gapless.cpp)
target_include_directories(fuzz-mp3tag PRIVATE ${CMAKE_SOURCE_DIR}/Source)
target_compile_options(fuzz-mp3tag PRIVATE -fsanitize=fuzzer,address,undefined
                                           -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_link_options(fuzz-mp3tag PRIVATE -fsanitize=fuzzer,address,undefined)
