# Tests of the settings dialog and the multi-user setup, in their own executable.
list(FILTER GUI_TEST_SOURCES EXCLUDE REGEX "/(SettingsTest|MultiUserTest)\\.cpp$")
if(TARGET gui_tests)
  # Included after gui_tests took every test file of this folder: take these back out.
  get_target_property(_gui_test_sources gui_tests SOURCES)
  list(FILTER _gui_test_sources EXCLUDE REGEX "(SettingsTest|MultiUserTest)\\.cpp$")
  set_property(TARGET gui_tests PROPERTY SOURCES ${_gui_test_sources})
endif()

add_executable(gui_settings_tests ${CMAKE_CURRENT_LIST_DIR}/SettingsTest.cpp
                                  ${CMAKE_CURRENT_LIST_DIR}/MultiUserTest.cpp
                                  ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
set_target_properties(gui_settings_tests PROPERTIES AUTOMOC ON)
target_include_directories(gui_settings_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../support)
target_link_libraries(gui_settings_tests PRIVATE morvik_gui Qt6::Test GTest::gtest)
gtest_discover_tests(gui_settings_tests DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 120)
