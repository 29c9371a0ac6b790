# The grid editor's answers to the window layer, built into each program
# that links korv_win (see the file).
set(here ${CMAKE_CURRENT_LIST_DIR})
if(KORV_WINDOWS)
  target_sources(korv_win INTERFACE ${here}/grid_editor_kind.cpp)
endif()
