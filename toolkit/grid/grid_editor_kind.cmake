# The grid editor's answers to the window layer (content kind 4).
if(KORV_WINDOWS)
  target_sources(korv_grid PRIVATE ${CMAKE_CURRENT_LIST_DIR}/grid_editor_kind.cpp)
endif()
