# The graphics state, the device-operation interface and its senders, the
# drawing-target selection and the graphics start-up; the recording device
# that tests of every subsystem use. Their tests reach the hardcopy side
# too, so they are in toolkit/tests.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE
  ${here}/graphics_state.cpp ${here}/graphics_state_start.cpp
  ${here}/select.cpp)

add_library(korv_graphics_testing STATIC ${here}/testing/recording_device.cpp)
target_link_libraries(korv_graphics_testing PUBLIC korv_base)

if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/select_win.cpp)
endif()
korv_add_test(graphics_select_win_test WINDOWS ${here}/tests/win_select_test.cpp)
