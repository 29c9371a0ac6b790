# The hardcopy service table and the hardcopy state the base keeps.
target_sources(korv_base PRIVATE ${CMAKE_CURRENT_LIST_DIR}/hardcopy.cpp)
