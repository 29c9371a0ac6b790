# Shared output services: the byte sink writers fill, the commit-last file
# writer and locale-free number text.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/byte_sink.cpp ${here}/number_format.cpp ${here}/file_commit.cpp)
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/file_commit_win.cpp)
else()
  target_sources(korv_base PRIVATE ${here}/file_commit_posix.cpp)
endif()
korv_add_test(core_output_test PORTABLE ${here}/tests/number_format_test.cpp
  ${here}/tests/byte_sink_test.cpp)
