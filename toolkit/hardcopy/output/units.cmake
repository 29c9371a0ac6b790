# The output units every file driver writes its plot through, and the
# fixed-width number fields of the text formats.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_hardcopy PRIVATE ${here}/number_fields.cpp ${here}/output_units.cpp)
korv_add_test(hardcopy_output_test PORTABLE ${here}/tests/output_units_test.cpp)
