# Menus, toolbars and menu help.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/menus_data.cpp)
korv_add_test(core_menus_test PORTABLE ${here}/tests/menus_data_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/win_menus.cpp ${here}/win_toolbars.cpp)
  set(rc ${here}/tests/menus_test.rc)
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${here}/tests/toolbar600.bmp)
  korv_add_test(core_menus_gui_test GUI ${here}/tests/win_menus_test.cpp
                ${here}/tests/test_frames.cpp ${rc})
  if(TARGET core_menus_gui_test)
    target_include_directories(core_menus_gui_test PRIVATE ${here}/tests)
  endif()
endif()
