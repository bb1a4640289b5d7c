# Tests of the profiles, results, hall-of-fame and About dialogs and of the start-up, in their own
# executable.
set(_profiles_tests GamersTest ResultTest HallFameTest AboutTest StartUpTest SharedStateTest)
list(JOIN _profiles_tests "|" _profiles_regex)
list(FILTER GUI_TEST_SOURCES EXCLUDE REGEX "/(${_profiles_regex})\\.cpp$")
if(TARGET gui_tests)
  # Included after gui_tests took every test file of this folder: take these back out.
  get_target_property(_gui_test_sources gui_tests SOURCES)
  list(FILTER _gui_test_sources EXCLUDE REGEX "/(${_profiles_regex})\\.cpp$")
  set_property(TARGET gui_tests PROPERTY SOURCES ${_gui_test_sources})
endif()

list(TRANSFORM _profiles_tests PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
list(TRANSFORM _profiles_tests APPEND .cpp)
add_executable(gui_profiles_tests ${_profiles_tests} ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
set_target_properties(gui_profiles_tests PROPERTIES AUTOMOC ON)
target_include_directories(gui_profiles_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../support)
target_link_libraries(gui_profiles_tests PRIVATE morvik_gui Qt6::Test GTest::gtest)
gtest_discover_tests(gui_profiles_tests TEST_PREFIX "profiles." DISCOVERY_MODE PRE_TEST
                     PROPERTIES TIMEOUT 120)
# The About dialog's music is checked with the tracks the composer built.
target_compile_definitions(gui_profiles_tests PRIVATE MORVIK_TEST_MUSIC_DIR="${MORVIK_BIN_DIR}/Music")
if(TARGET morvik-music)
  add_dependencies(gui_profiles_tests morvik-music)
endif()
