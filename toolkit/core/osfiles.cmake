# Operating-system services, byte-level files, compression and e-mail.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/os_helpers.cpp ${here}/mail_tables.cpp ${here}/compression.cpp)
# zlib's one-call functions: Debian's zlib natively, the cross toolchain's
# zlib in the Windows tree.
target_link_libraries(korv_base PUBLIC z)
korv_add_test(core_osfiles_test PORTABLE ${here}/tests/os_helpers_test.cpp
              ${here}/tests/mail_tables_test.cpp)
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/win_files.cpp ${here}/win_process.cpp
                 ${here}/win_system.cpp ${here}/win_mail.cpp ${here}/record_sizes_win.cpp)
  # A program for the process tests to start: it sleeps or exits with a code.
  add_executable(core_osfiles_child ${here}/tests/osfiles_child.cpp)
  korv_add_test(core_osfiles_win_test WINDOWS ${here}/tests/win_osfiles_fixture.cpp
                ${here}/tests/win_files_test.cpp
                ${here}/tests/win_process_test.cpp ${here}/tests/win_system_test.cpp
                ${here}/tests/compression_test.cpp)
  add_dependencies(core_osfiles_win_test core_osfiles_child)
endif()
