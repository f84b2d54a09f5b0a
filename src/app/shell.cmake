add_library(pikotel_shell STATIC
  frmmain.cpp frmmain.h
  singleinstance.cpp singleinstance.h
  termsignals.cpp termsignals.h)
target_link_libraries(pikotel_shell PUBLIC pikotel_shellui pikotel_envsave Qt6::Widgets Qt6::Network)

# The catalog of every screen; the program and the screenshot tool use it.
add_library(pikotel_screens STATIC programscreens.cpp programscreens.h)
target_link_libraries(pikotel_screens PUBLIC pikotel_shell pikotel_search_phone pikotel_search_area104_ui
  pikotel_search_industry_ui pikotel_search_postal pikotel_settings_ui)

# The start-up check's probes of the components.
add_library(pikotel_component_probes STATIC componentprobes.cpp componentprobes.h)
target_link_libraries(pikotel_component_probes PUBLIC pikotel_startup
  PRIVATE pikotel_dxs4 pikotel_xchdb pikotel_zipcomp pikotel_seimei)

add_executable(pikotel main.cpp)
target_compile_definitions(pikotel PRIVATE PIKOTEL_VERSION="${PROJECT_VERSION}")
target_link_libraries(pikotel PRIVATE pikotel_screens pikotel_carryover pikotel_component_probes)
install(TARGETS pikotel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
