# The image subcommand, run as a user would run it (it needs the Qt drawing surface).
if(TARGET orvane_display_qt)
  orvane_add_core_test(orvane_image_cli_tests ${CMAKE_CURRENT_LIST_DIR}/image_cli_test.cpp)
  target_compile_definitions(orvane_image_cli_tests PRIVATE
    ORVANE_CLI_PATH="$<TARGET_FILE:orvane-cli>")
  add_dependencies(orvane_image_cli_tests orvane-cli)
endif()
