# The converter program: its event handling and dialog writing are
# platform-free (built in both trees); Chromalversor.exe wires them to the
# toolkit and ships its help file beside it.
set(here ${CMAKE_CURRENT_LIST_DIR})
add_library(chromalversor_events STATIC
  ${here}/converter.cpp
  ${here}/converter_fields.cpp
  ${here}/converter_writer.cpp
  ${here}/dialog_cache.cpp)
target_link_libraries(chromalversor_events PUBLIC chromalversor_logic)

korv_add_test(converter_events_test PORTABLE
  ${here}/tests/converter_fields_test.cpp
  ${here}/tests/dialog_cache_test.cpp
  ${here}/tests/converter_writer_test.cpp
  ${here}/tests/converter_test.cpp
  ${here}/tests/recording_toolkit.cpp)
target_link_libraries(converter_events_test PRIVATE chromalversor_events)
