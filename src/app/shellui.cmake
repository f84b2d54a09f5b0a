# Message dialog, splash/wait/progress/version screens, window placement, wheel handling
# and the program's pictures.
add_library(pikotel_shellui STATIC
  twips.cpp twips.h
  placement.cpp placement.h
  wheel.cpp wheel.h
  pictures.cpp pictures.h
  frmmsg.cpp frmmsg.h
  framescreen.cpp framescreen.h
  frmstart.cpp frmstart.h
  frmwait.cpp frmwait.h
  frmtemp.cpp frmtemp.h
  frmabout.cpp frmabout.h
  ${PROJECT_SOURCE_DIR}/resources/pikotel_pictures.qrc)
target_compile_definitions(pikotel_shellui PRIVATE PIKOTEL_VERSION="${PROJECT_VERSION}")
target_link_libraries(pikotel_shellui PUBLIC pikotel_context Qt6::Widgets Qt6::Svg Qt6::SvgWidgets)

# Test seam: a message presenter that records and answers from a script.
add_library(pikotel_test_messages STATIC scriptedmessages.cpp scriptedmessages.h)
target_link_libraries(pikotel_test_messages PUBLIC pikotel_platform)
