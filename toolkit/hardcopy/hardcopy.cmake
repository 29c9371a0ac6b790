# The hardcopy plug-in's registration with the base: every program that
# links the toolkit runs it before main.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_portable INTERFACE ${here}/hardcopy_install.cpp)
if(KORV_WINDOWS)
  target_sources(korv_win INTERFACE ${here}/hardcopy_install_win.cpp)
endif()
