# Message dialog, splash/wait/progress/version screens, window placement, wheel handling,
# the program's pictures, and what every screen shares: its controls, its keyboard, its base
# and the desktop services behind the seams.
add_library(pikotel_shellui STATIC
  twips.cpp twips.h
  placement.cpp placement.h
  wheel.cpp wheel.h
  pictures.cpp pictures.h
  widgets.cpp widgets.h
  help.cpp help.h
  keyboard.cpp keyboard.h
  desktopservices.cpp desktopservices.h
  screens.h
  searchscreen.cpp searchscreen.h
  frmmsg.cpp frmmsg.h
  framescreen.cpp framescreen.h
  frmstart.cpp frmstart.h
  frmwait.cpp frmwait.h
  frmtemp.cpp frmtemp.h
  frmabout.cpp frmabout.h
  ${PROJECT_SOURCE_DIR}/resources/pikotel_pictures.qrc)
target_compile_definitions(pikotel_shellui PRIVATE PIKOTEL_VERSION="${PROJECT_VERSION}")
target_link_libraries(pikotel_shellui PUBLIC pikotel_startup pikotel_export Qt6::Widgets Qt6::Svg Qt6::SvgWidgets)

# Test seams: a message presenter that records and answers from a script, and scripted file
# dialogs, clipboard and modal screens.
add_library(pikotel_test_messages STATIC
  scriptedmessages.cpp scriptedmessages.h
  scriptedservices.cpp scriptedservices.h)
target_link_libraries(pikotel_test_messages PUBLIC pikotel_core)
