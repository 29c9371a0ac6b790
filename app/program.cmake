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

if(KORV_WINDOWS)
  # The program's wiring to the toolkit, shared by the program and the
  # benchmark.
  add_library(chromalversor_win STATIC ${here}/win_converter.cpp)
  target_link_libraries(chromalversor_win PUBLIC chromalversor_events korvanthide)

  add_executable(Chromalversor WIN32 ${here}/win_main.cpp ${here}/resources/chromalversor.rc)
  target_link_libraries(Chromalversor PRIVATE chromalversor_win)
  # The help file goes beside the program, where "Info" finds it by name.
  add_custom_command(TARGET Chromalversor POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${here}/help/Chromalversor3.rtf
            $<TARGET_FILE_DIR:Chromalversor>/Chromalversor3.rtf)

  # End to end: the test starts Chromalversor.exe from its own folder.
  korv_add_test(chromalversor_gui_test GUI
    ${here}/tests/gui/chromalversor_gui_test.cpp
    ${here}/tests/gui/program_driver.cpp)
  add_dependencies(chromalversor_gui_test Chromalversor)
endif()
include(${CMAKE_SOURCE_DIR}/bench/bench.cmake)
