# The converter's colour logic: models and conversions, the named-colour
# tables, and what a refresh shows. Platform-free, built in both trees.
set(here ${CMAKE_CURRENT_LIST_DIR})
add_library(chromalversor_logic STATIC
  ${here}/colour_models.cpp
  ${here}/colour_tables.cpp
  ${here}/colour_tables_german.cpp
  ${here}/colour_tables_english.cpp
  ${here}/colour_refresh.cpp)
target_include_directories(chromalversor_logic PUBLIC ${CMAKE_SOURCE_DIR}/app)
target_link_libraries(chromalversor_logic PUBLIC korvanthide)

korv_add_test(colour_logic_test PORTABLE
  ${here}/tests/colour_models_test.cpp
  ${here}/tests/colour_tables_test.cpp
  ${here}/tests/colour_refresh_test.cpp)
target_link_libraries(colour_logic_test PRIVATE chromalversor_logic)
