# The window while computers play: how long the event loop waits between two turns.
if(TARGET morvik_app)
  add_executable(bench-window ${CMAKE_CURRENT_LIST_DIR}/WindowBench.cpp)
  target_include_directories(bench-window PRIVATE ${PROJECT_SOURCE_DIR}/Tests/support)
  target_link_libraries(bench-window PRIVATE morvik_app benchmark::benchmark)
endif()
