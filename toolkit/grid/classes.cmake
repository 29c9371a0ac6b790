# The grid's window classes and cell-change message.
if(KORV_WINDOWS)
  target_sources(korv_win PRIVATE ${CMAKE_CURRENT_LIST_DIR}/grid_classes_win.cpp)
endif()
