target_sources(orvane_dialogs PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dialog_runners.cpp)
