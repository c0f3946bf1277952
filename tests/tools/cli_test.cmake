# Every subcommand, run as a user would run it; the image subcommand where the Qt drawing
# surface is built.
orvane_add_core_test(orvane_cli_tests ${CMAKE_CURRENT_LIST_DIR}/cli_test.cpp)
target_compile_definitions(orvane_cli_tests PRIVATE ORVANE_CLI_PATH="$<TARGET_FILE:orvane-cli>")
if(TARGET orvane_display_qt)
  target_compile_definitions(orvane_cli_tests PRIVATE ORVANE_IMAGE_COMMAND)
endif()
add_dependencies(orvane_cli_tests orvane-cli)

# What scripts/run does without a display, run on this build.
if(TARGET orvane_display_qt)
  add_test(NAME headless_run_job
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/headless_run_test.sh "${CMAKE_BINARY_DIR}"
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}")
  set_tests_properties(headless_run_job PROPERTIES ENVIRONMENT "DISPLAY=;WAYLAND_DISPLAY=")
endif()
