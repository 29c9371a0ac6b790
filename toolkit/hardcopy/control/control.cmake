# Hardcopy control: driver dispatch, the built-in drivers, the
# hardcopy options.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_hardcopy PRIVATE
  ${here}/control.cpp ${here}/control_hardcopy.cpp ${here}/options.cpp
  ${here}/hardcopy_register.cpp ${here}/hardcopy_state.cpp)

korv_add_test(hardcopy_control_test PORTABLE ${here}/tests/dispatch_test.cpp ${here}/tests/options_test.cpp
  ${here}/tests/hardcopy_test.cpp)
target_link_libraries(hardcopy_control_test PRIVATE korv_graphics_testing)
if(KORV_WINDOWS)
  target_sources(korv_hardcopy PRIVATE ${here}/control_win.cpp ${here}/hardcopy_register_win.cpp)
endif()
korv_add_test(hardcopy_print_command_test WINDOWS ${here}/tests/win_hardcopy_test.cpp)
