# What the base asks of the plug-ins: the editor, grid and hardcopy service
# tables and the table of content kinds, with the answers of a toolkit
# without them. Only hardcopy's is reached from the platform-free sources.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/hardcopy.cpp)
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/editor.cpp ${here}/content_kinds.cpp
    ${here}/grid.cpp)
endif()
