# The About box, the view options sheet and the pictures they show.
qt_add_resources(ORVANE_WINDOW_PICTURES "${PROJECT_SOURCE_DIR}/resources/orvane.qrc")
target_sources(orvane_dialogs PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/about_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/font_conversion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_resources.cpp
  ${ORVANE_WINDOW_PICTURES})
