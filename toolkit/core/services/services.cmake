# What the base asks of the plug-ins: the editor and grid services and the
# table of content kinds, with the answers of a toolkit without them.
set(here ${CMAKE_CURRENT_LIST_DIR})
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/editor.cpp ${here}/content_kinds.cpp
    ${here}/grid.cpp)
endif()
