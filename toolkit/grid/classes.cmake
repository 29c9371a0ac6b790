# The grid's window classes and cell-change message, and what the dialog
# manager and the window layer ask of the grid.
if(KORV_WINDOWS)
  target_sources(korv_grid PRIVATE ${CMAKE_CURRENT_LIST_DIR}/grid_classes_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grid_field_hooks_win.cpp)
endif()
