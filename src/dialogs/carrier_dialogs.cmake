# The carrier dialogs, the carrier selection dialog and the frequency entry dialog.
target_sources(orvane_dialogs PRIVATE
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
  ${CMAKE_CURRENT_LIST_DIR}/spectral_carrier_dialog.cpp)
