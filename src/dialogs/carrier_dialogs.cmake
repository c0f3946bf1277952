# The carrier dialogs, the carrier selection dialog, the frequency entry dialog and the
# Arrange Carriers dialog with its worker thread and picture.
target_sources(orvane_dialogs PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/arrange_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/carrier_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/carrier_form_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/carrier_selection_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_runners.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entry_problem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fec_carrier_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fixed_carrier_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frequency_entry_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_key_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/placement_worker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plan_preview.cpp
  ${CMAKE_CURRENT_LIST_DIR}/spectral_carrier_dialog.cpp)
