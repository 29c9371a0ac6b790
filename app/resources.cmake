# The converter's resources: main dialog 101, its extras block, icon, manifest.
set(KORV_APP_RC ${CMAKE_CURRENT_LIST_DIR}/resources/chromalversor.rc)
set_property(SOURCE ${KORV_APP_RC} APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/resources/chromalversor_101.dat
  ${CMAKE_CURRENT_LIST_DIR}/resources/chromalversor.ico
  ${CMAKE_CURRENT_LIST_DIR}/resources/chromalversor.manifest)
korv_add_test(app_resources_test WINDOWS ${CMAKE_CURRENT_LIST_DIR}/tests/resources_test.cpp ${KORV_APP_RC})
if(TARGET app_resources_test)
  target_include_directories(app_resources_test PRIVATE ${CMAKE_CURRENT_LIST_DIR}/resources)
endif()
