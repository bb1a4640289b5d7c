# Tests of the main window's smaller commands (layout number, panels, help, tray mode), in their
# own executable.
list(FILTER GUI_TEST_SOURCES EXCLUDE REGEX "/CommandsTest\\.cpp$")
if(TARGET gui_tests)
  # Included after gui_tests took every test file of this folder: take this one back out.
  get_target_property(_gui_test_sources gui_tests SOURCES)
  list(FILTER _gui_test_sources EXCLUDE REGEX "CommandsTest\\.cpp$")
  set_property(TARGET gui_tests PROPERTY SOURCES ${_gui_test_sources})
endif()

add_executable(gui_commands_tests ${CMAKE_CURRENT_LIST_DIR}/CommandsTest.cpp
                                  ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
set_target_properties(gui_commands_tests PROPERTIES AUTOMOC ON)
target_include_directories(gui_commands_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../support)
target_compile_definitions(gui_commands_tests
                           PRIVATE MORVIK_MANUAL="${PROJECT_SOURCE_DIR}/Help/Morvik.html")
target_link_libraries(gui_commands_tests PRIVATE morvik_gui Qt6::Test GTest::gtest)
gtest_discover_tests(gui_commands_tests TEST_PREFIX "commands." DISCOVERY_MODE PRE_TEST
                     PROPERTIES TIMEOUT 120)
