# The hardcopy drivers, one file each, and their tests with the outside
# readers of their formats.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_hardcopy PRIVATE ${here}/file_driver.cpp ${here}/postscript.cpp ${here}/svg.cpp ${here}/dxf.cpp
  ${here}/hpgl_writer.cpp ${here}/hpgl.cpp ${here}/halftone.cpp ${here}/hpgl2.cpp
  ${here}/raster_device.cpp ${here}/raster_image.cpp ${here}/raster_printer.cpp ${here}/cgm.cpp
  ${here}/windows_printer_select.cpp ${here}/windows_metafile_select.cpp)
korv_add_test(hardcopy_drivers_test PORTABLE ${here}/tests/driver_fixture.cpp
  ${here}/tests/postscript_test.cpp ${here}/tests/svg_test.cpp ${here}/tests/dxf_test.cpp
  ${here}/tests/hpgl_test.cpp ${here}/tests/halftone_test.cpp ${here}/tests/hpgl2_test.cpp
  ${here}/tests/raster_test.cpp ${here}/tests/raster_printer_test.cpp ${here}/tests/cgm_test.cpp
  ${here}/tests/scene_test.cpp)
target_compile_definitions(hardcopy_drivers_test PRIVATE KORV_DRIVER_TESTS="${here}/tests")
if(KORV_WINDOWS)
  target_sources(korv_hardcopy PRIVATE ${here}/win_gdi_back_end.cpp ${here}/win_printer.cpp ${here}/win_metafile.cpp)
endif()
korv_add_test(hardcopy_windows_drivers_test WINDOWS ${here}/tests/win_printer_test.cpp
  ${here}/tests/win_metafile_test.cpp)
# The host's readers, after the Windows test that leaves their files.
if(KORV_WINDOWS)
  add_test(NAME hardcopy_windows_readers COMMAND bash ${here}/tests/read_windows_outputs.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(hardcopy_windows_readers PROPERTIES DEPENDS hardcopy_windows_drivers_test)
endif()
# One road per file driver: the picture on a memory bitmap and in the
# file; the host's readers render the files and compare them cell by cell.
if(KORV_WINDOWS)
  korv_add_test(hardcopy_roads_test GUI ${here}/tests/win_roads_test.cpp)
  add_test(NAME hardcopy_roads_readers COMMAND /usr/bin/python3 ${here}/tests/read_roads.py ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(hardcopy_roads_readers PROPERTIES DEPENDS hardcopy_roads_test)
endif()
