# SPDX-License-Identifier: GPL-3.0-or-later
# libFuzzer target of the MP3 tag reader of the sound layer (music files are user-replaceable).
morvik_fuzz_target(fuzz-mp3tag mp3tag_fuzz.cpp ${CMAKE_SOURCE_DIR}/Source/sound/Mp3Gapless.cpp)
