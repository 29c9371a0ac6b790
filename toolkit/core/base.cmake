# Shared text helpers and the program module.
set(here ${CMAKE_CURRENT_LIST_DIR})
target_sources(korv_base PRIVATE ${here}/fixed_text.cpp)
korv_add_test(core_base_test PORTABLE ${here}/tests/fixed_text_test.cpp ${here}/tests/float_precision_test.cpp)
korv_add_test(core_module_test WINDOWS ${here}/tests/win_module_test.cpp)
