# Metafile slots and the in-memory CGM device that records into them.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/metafile_slots.cpp ${here}/cgm_memory_device.cpp)
korv_add_test(graphics_cgm_memory_test PORTABLE ${here}/tests/cgm_memory_device_test.cpp)
if(NOT KORV_WINDOWS)
  # A recorded picture opened by LibreOffice and rendered by pdftoppm.
  add_executable(cgm_sample ${here}/tests/cgm_sample.cpp)
  target_link_libraries(cgm_sample PRIVATE korvanthide)
  add_test(NAME graphics_cgm_outside_reader
    COMMAND /usr/bin/python3 ${here}/tests/cgm_outside_reader.py $<TARGET_FILE:cgm_sample>)
  set_tests_properties(graphics_cgm_outside_reader PROPERTIES TIMEOUT 300 RESOURCE_LOCK libreoffice)
endif()
