add_library(pikotel_shell STATIC
  frmmain.cpp frmmain.h
  singleinstance.cpp singleinstance.h
  termsignals.cpp termsignals.h)
target_link_libraries(pikotel_shell PUBLIC pikotel_shellui pikotel_context Qt6::Widgets Qt6::Network)

add_executable(pikotel main.cpp)
target_compile_definitions(pikotel PRIVATE PIKOTEL_VERSION="${PROJECT_VERSION}")
target_link_libraries(pikotel PRIVATE pikotel_shell pikotel_search_phone pikotel_search_postal)
install(TARGETS pikotel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
