# The Qt windows (every Source/Unit*.cpp except the engine's UnitCore*) and their helpers in
# Source/gui/, as one library that the game and the window tests link; the game executable.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

file(GLOB MORVIK_GUI_UNITS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Unit*.cpp)
list(FILTER MORVIK_GUI_UNITS EXCLUDE REGEX "/UnitCore[^/]*\\.cpp$")
file(GLOB MORVIK_GUI_HEADERS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Unit*.h
     ${CMAKE_CURRENT_SOURCE_DIR}/gui/*.h)
list(FILTER MORVIK_GUI_HEADERS EXCLUDE REGEX "/UnitCore[^/]*\\.h$")
file(GLOB MORVIK_GUI_HELPERS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/gui/*.cpp)

add_library(morvik_gui STATIC ${MORVIK_GUI_UNITS} ${CMAKE_CURRENT_SOURCE_DIR}/GameOptions.cpp ${MORVIK_GUI_HELPERS} ${MORVIK_GUI_HEADERS})
set_target_properties(morvik_gui PROPERTIES AUTOMOC ON AUTORCC ON AUTOUIC OFF)
target_include_directories(morvik_gui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(morvik_gui PUBLIC Qt6::Widgets morvik_core morvik_painter)
foreach(lib morvik_config morvik_sound)
  if(TARGET ${lib})
    target_link_libraries(morvik_gui PUBLIC ${lib})
  endif()
endforeach()

# The game's own icon (Data/icons) is compiled into the executable.
add_executable(morvik ${CMAKE_CURRENT_SOURCE_DIR}/Morvik.cpp ${CMAKE_CURRENT_SOURCE_DIR}/gui/AppIcon.qrc)
set_target_properties(morvik PROPERTIES AUTORCC ON)
target_link_libraries(morvik PRIVATE morvik_gui)
# Debian keeps games in /usr/games; the data under share/morvik is found from there as from bin/.
install(TARGETS morvik RUNTIME DESTINATION games)
