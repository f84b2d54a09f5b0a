# The sample-listings generator as a library: pikotel-dict's "generate" command and the
# generator tests both include this file.
include_guard(GLOBAL)

add_library(pikotel_generator STATIC
  ${CMAKE_CURRENT_LIST_DIR}/generator.cpp ${CMAKE_CURRENT_LIST_DIR}/generator.h
  ${CMAKE_CURRENT_LIST_DIR}/gen_address.cpp ${CMAKE_CURRENT_LIST_DIR}/gen_address.h
  ${CMAKE_CURRENT_LIST_DIR}/gen_areacodes.cpp ${CMAKE_CURRENT_LIST_DIR}/gen_areacodes.h
  ${CMAKE_CURRENT_LIST_DIR}/gen_business.cpp ${CMAKE_CURRENT_LIST_DIR}/gen_business.h
  ${CMAKE_CURRENT_LIST_DIR}/gen_names.cpp ${CMAKE_CURRENT_LIST_DIR}/gen_names.h
  ${CMAKE_CURRENT_LIST_DIR}/gen_numbers.cpp ${CMAKE_CURRENT_LIST_DIR}/gen_numbers.h
  ${CMAKE_CURRENT_LIST_DIR}/gen_random.h ${CMAKE_CURRENT_LIST_DIR}/gen_text.h)
target_include_directories(pikotel_generator PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(pikotel_generator PUBLIC Qt6::Core PRIVATE pikotel_common pikotel_industry_vocab pikotel_jtext)
