# Image files held in memory: recognition, the BMP, PCX, PNG, icon and
# cursor readers with the PNG helpers, and the BMP, PCX and PNG writers.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/png_support.cpp ${here}/png_reader.cpp ${here}/bmp_reader.cpp
  ${here}/pcx_reader.cpp ${here}/image_info.cpp ${here}/image_info_text.cpp ${here}/image_write.cpp
  ${here}/image_load.cpp ${here}/cgm_elements.cpp ${here}/byte_source.cpp)
# The file calls the readers read through, and the memory pictures are
# made in: the toolkit's file routines and the heap on Windows, POSIX files
# and huge-page memory in the platform-free tree.
if(KORV_WINDOWS)
  target_sources(korv_base PRIVATE ${here}/file_read_win.cpp ${here}/image_memory_win.cpp)
else()
  target_sources(korv_base PRIVATE ${here}/file_read_posix.cpp ${here}/image_memory_posix.cpp)
endif()
# zlib inflates PNG image data: Debian's zlib natively, the cross
# toolchain's in the Windows tree.
target_link_libraries(korv_base PUBLIC z)
korv_add_test(graphics_image_readers_test PORTABLE ${here}/tests/image_readers_test.cpp)
target_compile_definitions(graphics_image_readers_test PRIVATE
  KORV_IMAGE_DATA="${here}/tests/data")
if(NOT KORV_WINDOWS)
  # Every corpus image decoded here and by readers nobody here wrote.
  add_executable(image_dump ${here}/tests/image_dump.cpp)
  target_link_libraries(image_dump PRIVATE korvanthide)
  add_test(NAME graphics_image_corpora
    COMMAND /usr/bin/python3 ${here}/tests/compare_corpora.py $<TARGET_FILE:image_dump> ${here}/tests/data)
  set_tests_properties(graphics_image_corpora PROPERTIES TIMEOUT 300)
endif()
if(NOT KORV_WINDOWS)
  # bench/image_bench.sh builds it in an optimised tree without sanitizers.
  add_executable(image_bench EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/image_bench.cpp)
  target_link_libraries(image_bench PRIVATE korvanthide)
endif()
