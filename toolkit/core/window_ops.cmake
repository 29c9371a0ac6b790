# Window operations and queries, status bars, text output; child and split
# windows and the window selection.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_portable PRIVATE ${here}/window_ops_layout.cpp ${here}/child_windows.cpp)
korv_add_test(core_window_ops_layout_test PORTABLE ${here}/tests/window_ops_layout_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_win PRIVATE ${here}/window_ops_win.cpp ${here}/window_query_win.cpp ${here}/child_windows_win.cpp)
  target_link_libraries(korv_win PUBLIC comctl32)
  # The GUI tests link the dialog manager's stand-ins for the neighbouring
  # entry points whose real definitions are not in the tree yet; each drops
  # out by itself once its real definition appears.
  set(window_standins)
  file(GLOB_RECURSE toolkit_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/toolkit/*.cpp)
  list(FILTER toolkit_sources EXCLUDE REGEX "/tests/")
  set(toolkit_text "")
  foreach(source IN LISTS toolkit_sources)
    file(READ ${source} content)
    string(APPEND toolkit_text "${content}")
  endforeach()
  foreach(pair "win_activate\\(HWND[^)]*\\)[ \n]*{;win_activate"
               "PostOutcome win_event_post_dialog\\(const EventPost&[^)]*\\)[ \n]*{;event_post_dialog"
               "GridClassAtoms& grid_class_atoms\\(\\)[ \n]*{;grid_classes")
    list(GET pair 0 pattern)
    list(GET pair 1 name)
    if(NOT toolkit_text MATCHES "${pattern}")
      list(APPEND window_standins ${CMAKE_SOURCE_DIR}/toolkit/dialogs/tests/stand_ins/${name}.cpp)
    endif()
  endforeach()
  korv_add_test(core_window_ops_win_test GUI ${here}/tests/window_ops_win_test.cpp ${window_standins})
  korv_add_test(core_child_windows_test GUI ${here}/tests/child_windows_win_test.cpp ${window_standins})
endif()
